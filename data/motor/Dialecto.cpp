#include "Dialecto.h"

#include "Fechas.h"
#include "Reloj.h"

#include <QString>
#include <sqlite3.h>

namespace Dialecto {
namespace {

bool Ascii(const char* s, int n) {
    for (int i = 0; i < n; ++i)
        if (static_cast<unsigned char>(s[i]) >= 0x80)
            return false;
    return true;
}

QString Plegar(const char* s, int n) {
    return QString::fromUtf8(s, n).toCaseFolded();
}

// Letters without their accents, so that "Ávila" sorts beside "Avila" rather than after "Z";
// ñ stays a letter of its own, after n.
QString SinAcentos(const QString& s) {
    QString t = s;
    t.replace(QChar(0x00F1), QStringLiteral("n") + QChar(0xFFFF));
    const QString d = t.normalized(QString::NormalizationForm_D);
    QString r;
    r.reserve(d.size());
    for (QChar c : d)
        if (c.category() != QChar::Mark_NonSpacing)
            r.append(c);
    return r;
}

int CompararCollation(void*, int na, const void* a, int nb, const void* b) {
    return Comparar(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}

QString TextoArg(sqlite3_value* v) {
    const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return t ? QString::fromUtf8(t, sqlite3_value_bytes(v)) : QString();
}

// LIKE with % and _ (and an optional escape character), case-folded for all letters.
bool Coincide(const QString& patron, int ip, const QString& texto, int it, QChar escape) {
    while (ip < patron.size()) {
        QChar p = patron[ip];
        if (!escape.isNull() && p == escape && ip + 1 < patron.size()) {
            if (it >= texto.size() || texto[it] != patron[ip + 1])
                return false;
            ip += 2;
            ++it;
            continue;
        }
        if (p == QLatin1Char('%')) {
            while (ip < patron.size() && patron[ip] == QLatin1Char('%'))
                ++ip;
            if (ip == patron.size())
                return true;
            for (int k = it; k <= texto.size(); ++k)
                if (Coincide(patron, ip, texto, k, escape))
                    return true;
            return false;
        }
        if (it >= texto.size())
            return false;
        if (p != QLatin1Char('_') && p != texto[it])
            return false;
        ++ip;
        ++it;
    }
    return it == texto.size();
}

void FuncionLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // like(X, Y) means "Y LIKE X".
    const QString patron = TextoArg(argv[0]).toCaseFolded();
    const QString texto = TextoArg(argv[1]).toCaseFolded();
    QChar escape;
    if (argc == 3) {
        const QString e = TextoArg(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e[0];
    }
    sqlite3_result_int(ctx, Coincide(patron, 0, texto, 0, escape) ? 1 : 0);
}

void FuncionInstr(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString donde = TextoArg(argv[0]).toCaseFolded();
    const QString que = TextoArg(argv[1]).toCaseFolded();
    sqlite3_result_int(ctx, static_cast<int>(donde.indexOf(que)) + 1);
}

// The program's clock, so that what a change records as its moment can be fixed by tests. A
// change asks for it once per line, and the local time costs a conversion: its text is made
// again only when the second or the fixed moment changes.
void FuncionAhora(sqlite3_context* ctx, int, sqlite3_value**) {
    struct Ultimo {
        qint64 segundo = -1;
        QDateTime fijado;
        QByteArray texto;
    };
    thread_local Ultimo u;
    const qint64 segundo = QDateTime::currentSecsSinceEpoch();
    const QDateTime fijado = Reloj::Fijado();
    if (segundo != u.segundo || fijado != u.fijado)
        u = {segundo, fijado, Fechas::Texto(Reloj::Ahora()).toUtf8()};
    sqlite3_result_text(ctx, u.texto.constData(), static_cast<int>(u.texto.size()),
                        SQLITE_TRANSIENT);
}

} // namespace

int Comparar(const char* a, int na, const char* b, int nb) {
    if (Ascii(a, na) && Ascii(b, nb)) {
        const int n = na < nb ? na : nb;
        const int r = sqlite3_strnicmp(a, b, n);
        if (r != 0)
            return r;
        return na - nb;
    }
    const QString fa = Plegar(a, na);
    const QString fb = Plegar(b, nb);
    if (fa == fb)
        return 0;
    const int base = SinAcentos(fa).compare(SinAcentos(fb));
    if (base != 0)
        return base;
    return fa.compare(fb);
}

bool Registrar(sqlite3* db) {
    const int enc = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    return sqlite3_create_collation(db, kCollation, SQLITE_UTF8, nullptr, CompararCollation) ==
               SQLITE_OK &&
           sqlite3_create_function(db, "like", 2, enc, nullptr, FuncionLike, nullptr, nullptr) ==
               SQLITE_OK &&
           sqlite3_create_function(db, "like", 3, enc, nullptr, FuncionLike, nullptr, nullptr) ==
               SQLITE_OK &&
           sqlite3_create_function(db, "instr", 2, enc, nullptr, FuncionInstr, nullptr, nullptr) ==
               SQLITE_OK &&
           sqlite3_create_function(db, "ahora", 0, SQLITE_UTF8, nullptr, FuncionAhora, nullptr,
                                   nullptr) == SQLITE_OK;
}

} // namespace Dialecto
