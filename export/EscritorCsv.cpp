#include "EscritorCsv.h"

#include "ArchivoEntero.h"

#include <QDateTime>

namespace EscritorCsv {
namespace {

QString Numero(double v) {
    QString s = QString::number(v, 'g', 15);
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

// As precise as the lists show it: a date alone at midnight, otherwise down to the second.
QString Fecha(const QDateTime& m) {
    if (m.time() == QTime(0, 0))
        return m.toString(QStringLiteral("dd/MM/yyyy"));
    return m.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

// A spreadsheet opening the file runs a text beginning with one of these as a formula (a
// "=HYPERLINK(…)" becomes a live link); a leading apostrophe keeps it a text.
bool PareceFormula(const QString& s) {
    return !s.isEmpty() && QStringLiteral("=+-@\t\r").contains(s.front());
}

QString Campo(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return Numero(v.toDouble());
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return v.toString();
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("VERDADERO") : QStringLiteral("FALSO");
    case QMetaType::QDateTime:
        return Fecha(v.toDateTime());
    case QMetaType::QDate:
        return Fecha(v.toDate().startOfDay());
    default:
        break;
    }
    QString s = v.toString();
    if (PareceFormula(s))
        s.prepend(QLatin1Char('\''));
    if (s.contains(QLatin1Char(';')) || s.contains(QLatin1Char('"')) ||
        s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'))) {
        s.replace(QLatin1Char('"'), QLatin1String("\"\""));
        s = QLatin1Char('"') + s + QLatin1Char('"');
    }
    return s;
}

QByteArray Linea(const QVector<QVariant>& valores) {
    QStringList campos;
    campos.reserve(valores.size());
    for (const QVariant& v : valores)
        campos << Campo(v);
    return campos.join(QLatin1Char(';')).toUtf8() + "\r\n";
}

QByteArray Encabezado(const Tabla& tabla) {
    QVector<QVariant> titulos;
    for (const QString& t : tabla.encabezados)
        titulos << t;
    return QByteArray("\xEF\xBB\xBF") + Linea(titulos);
}

} // namespace

QByteArray Texto(const Tabla& tabla) {
    QByteArray texto = Encabezado(tabla);
    for (const QVector<QVariant>& fila : tabla.filas)
        texto += Linea(fila);
    return texto;
}

ResultadoEscritura Escribir(const QString& ruta, const Tabla& tabla,
                            const AvanceEscritura& avance) {
    ResultadoEscritura r;
    ArchivoEntero archivo(ruta);
    bool ok = archivo.Abrir() && archivo.Escribir(Encabezado(tabla));
    for (int i = 0; ok && i < tabla.filas.size(); ++i) {
        ok = archivo.Escribir(Linea(tabla.filas[i]));
        if (ok && avance && !avance(i + 1)) {
            r.cancelado = true;
            return r;
        }
    }
    if (!ok || !archivo.Confirmar()) {
        r.error = archivo.Error();
        return r;
    }
    r.escrito = true;
    return r;
}

} // namespace EscritorCsv
