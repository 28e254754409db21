#include "Fechas.h"

#include <QLocale>
#include <algorithm>
#include <iterator>
#include <unordered_map>

namespace Fechas {
namespace {

// The form Texto writes ("yyyy-MM-dd HH:mm:ss", or the date alone), read without the general
// parser: a long list reads one date per row, and the parser costs most of the query. False
// unless `v` holds a valid date and time.
template <typename Caracter> bool PartesGuardadas(const Caracter* s, qsizetype n, int (&v)[6]) {
    if (n != 10 && n != 19)
        return false;
    std::fill(std::begin(v), std::end(v), 0);
    const int inicio[6] = {0, 5, 8, 11, 14, 17};
    const int largo[6] = {4, 2, 2, 2, 2, 2};
    const char separador[6] = {'-', '-', ' ', ':', ':', 0};
    const int partes = n == 10 ? 3 : 6;
    for (int p = 0; p < partes; ++p) {
        for (int k = 0; k < largo[p]; ++k) {
            const auto c = s[inicio[p] + k];
            if (c < '0' || c > '9')
                return false;
            v[p] = v[p] * 10 + (c - '0');
        }
        const int despues = inicio[p] + largo[p];
        if (despues < n && s[despues] != separador[p])
            return false;
    }
    return QDate::isValid(v[0], v[1], v[2]) && QTime::isValid(v[3], v[4], v[5]);
}

template <typename Caracter> QDateTime LeerGuardada(const Caracter* s, qsizetype n) {
    int v[6];
    if (!PartesGuardadas(s, n, v))
        return {};
    return QDateTime(QDate(v[0], v[1], v[2]), QTime(v[3], v[4], v[5]));
}

// Whether the local clock keeps one offset from UTC from the day before to the day after `dia`,
// so that every time of that day exists and means what it says. Asked once per day seen: the
// days of a list repeat.
bool SinCambioDeHora(const QDate& dia) {
    thread_local std::unordered_map<qint64, bool> vistos;
    const auto [it, nuevo] = vistos.try_emplace(dia.toJulianDay(), false);
    if (nuevo) {
        const QTime mediodia(12, 0);
        it->second = QDateTime(dia.addDays(-1), mediodia).offsetFromUtc() ==
                     QDateTime(dia.addDays(1), mediodia).offsetFromUtc();
    }
    return it->second;
}

} // namespace

QString Texto(const QDateTime& m) {
    if (!m.isValid())
        return {};
    const QTime t = m.time();
    int anio = 0, mes = 0, dia = 0;
    m.date().getDate(&anio, &mes, &dia); // one calendar conversion for the three
    if (anio < 1 || anio > 9999)
        return m.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    // Written digit by digit: QDateTime::toString goes through the locale and the calendar, and
    // a save binds a date for every quote it writes.
    QString r(19, Qt::Uninitialized);
    QChar* p = r.data();
    const auto cifras = [&p](int valor, int cuantas, char despues) {
        for (int k = cuantas - 1; k >= 0; --k, valor /= 10)
            p[k] = QLatin1Char(static_cast<char>('0' + valor % 10));
        p += cuantas;
        if (despues)
            *p++ = QLatin1Char(despues);
    };
    cifras(anio, 4, '-');
    cifras(mes, 2, '-');
    cifras(dia, 2, ' ');
    cifras(t.hour(), 2, ':');
    cifras(t.minute(), 2, ':');
    cifras(t.second(), 2, 0);
    return r;
}

QDateTime Leer(const QString& s) {
    const QDateTime rapida = LeerGuardada(s.utf16(), s.size());
    if (rapida.isValid())
        return rapida;
    for (const char* f : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        QDateTime m = QDateTime::fromString(s, QLatin1String(f));
        if (m.isValid())
            return m;
    }
    QDateTime m = QDateTime::fromString(s, Qt::ISODate);
    if (m.isValid())
        return m;
    const QDate d = QLocale().toDate(s, QLocale::ShortFormat);
    return d.isValid() ? d.startOfDay() : QDateTime();
}

QDateTime Leer(const char* utf8, qsizetype largo) {
    const QDateTime rapida = LeerGuardada(utf8, largo);
    return rapida.isValid() ? rapida : Leer(QString::fromUtf8(utf8, largo));
}

bool AgregarLeida(std::string_view texto, FilasCompactas& filas, int columna) {
    const auto n = static_cast<qsizetype>(texto.size());
    int v[6];
    // Kept as its parts; made a QDateTime when shown, as Leer would have made it now. On a day
    // the clock changes, a time may not exist, and Leer decides what it is.
    if (PartesGuardadas(texto.data(), n, v) && SinCambioDeHora(QDate(v[0], v[1], v[2]))) {
        filas.AgregarFecha(columna, v[0], v[1], v[2], v[3], v[4], v[5]);
        return true;
    }
    const QDateTime m = Leer(texto.data(), n);
    if (!m.isValid())
        return false;
    filas.AgregarValor(columna, m);
    return true;
}

} // namespace Fechas
