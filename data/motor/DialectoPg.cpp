#include "DialectoPg.h"

#include <algorithm>

namespace DialectoPg {
namespace {

// A piece of the text: a word, a number, a quoted literal or name, a parameter, one sign.
struct Pieza {
    enum Tipo { Palabra, Numero, Cita, Parametro, Signo, Blanco } tipo;
    QString texto;
};

bool EsPalabra(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// The end of the dollar-quoted text that starts at i, or i when there is none.
qsizetype CierreDolar(const QString& s, qsizetype i) {
    qsizetype k = i + 1;
    while (k < s.size() && EsPalabra(s[k]) && !s[k].isDigit())
        ++k;
    if (k >= s.size() || s[k] != QLatin1Char('$'))
        return i;
    const QString marca = s.mid(i, k - i + 1);
    const qsizetype fin = s.indexOf(marca, k + 1);
    return fin < 0 ? i : fin + marca.size();
}

QList<Pieza> Piezas(const QString& s) {
    QList<Pieza> r;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s[i];
        qsizetype j = i + 1;
        Pieza::Tipo tipo = Pieza::Signo;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A doubled quote stays inside the literal.
            while (j < n && (s[j] != c || (j + 1 < n && s[j + 1] == c && ++j)))
                ++j;
            j = qMin(j + 1, n);
            tipo = Pieza::Cita;
        } else if (c == QLatin1Char('$') && CierreDolar(s, i) > i) {
            j = CierreDolar(s, i); // a function body: $$ … $$ or $tag$ … $tag$
            tipo = Pieza::Cita;
        } else if (c == QLatin1Char('-') && i + 1 < n && s[i + 1] == QLatin1Char('-')) {
            while (j < n && s[j] != QLatin1Char('\n'))
                ++j;
            tipo = Pieza::Blanco;
        } else if (c.isSpace()) {
            while (j < n && s[j].isSpace())
                ++j;
            tipo = Pieza::Blanco;
        } else if (c == QLatin1Char('?')) {
            while (j < n && s[j].isDigit())
                ++j;
            tipo = Pieza::Parametro;
        } else if (c.isDigit()) {
            while (j < n && (s[j].isDigit() || s[j] == QLatin1Char('.')))
                ++j;
            tipo = Pieza::Numero;
        } else if (EsPalabra(c)) {
            while (j < n && EsPalabra(s[j]))
                ++j;
            tipo = Pieza::Palabra;
        }
        r.append({tipo, s.mid(i, j - i)});
        i = j;
    }
    return r;
}

bool Es(const Pieza& p, const char* palabra) {
    return p.tipo == Pieza::Palabra &&
           p.texto.compare(QLatin1String(palabra), Qt::CaseInsensitive) == 0;
}

// The nearest piece that is not blank, before or after i; nullptr at either end.
const Pieza* Vecina(const QList<Pieza>& p, qsizetype i, int paso) {
    for (i += paso; i >= 0 && i < p.size(); i += paso)
        if (p[i].tipo != Pieza::Blanco)
            return &p[i];
    return nullptr;
}

// Where a condition may start: after WHERE, AND, OR, NOT, ON, WHEN or HAVING (not after "(",
// which may open a list of values).
bool AbreCondicion(const Pieza* antes) {
    if (!antes)
        return false;
    for (const char* k : {"WHERE", "AND", "OR", "NOT", "ON", "WHEN", "HAVING"})
        if (Es(*antes, k))
            return true;
    return false;
}

// Where a condition ends: AND, OR, ORDER, GROUP, LIMIT, THEN, ")", ";" or the end.
bool CierraCondicion(const Pieza* despues) {
    if (!despues)
        return true;
    if (despues->tipo == Pieza::Signo)
        return despues->texto == QLatin1String(")") || despues->texto == QLatin1String(";");
    for (const char* k : {"AND", "OR", "ORDER", "GROUP", "LIMIT", "THEN", "HAVING", "UNION"})
        if (Es(*despues, k))
            return true;
    return false;
}

// The index of the ")" that closes the "(" at i, or -1.
qsizetype Cierre(const QList<Pieza>& p, qsizetype i) {
    int nivel = 0;
    for (; i < p.size(); ++i) {
        if (p[i].tipo != Pieza::Signo)
            continue;
        if (p[i].texto == QLatin1String("("))
            ++nivel;
        else if (p[i].texto == QLatin1String(")") && --nivel == 0)
            return i;
    }
    return -1;
}

Sentencia Escribir(QList<Pieza> p) {
    Sentencia s;
    if (std::all_of(p.cbegin(), p.cend(), [](const Pieza& x) { return x.tipo == Pieza::Blanco; }))
        return s; // only blanks or a comment
    int sueltos = 0;
    for (qsizetype i = 0; i < p.size(); ++i) {
        Pieza& x = p[i];
        if (x.tipo == Pieza::Parametro) {
            const int n = x.texto.size() > 1 ? x.texto.mid(1).toInt() : ++sueltos;
            s.parametros = qMax(s.parametros, n);
            x.texto = QLatin1Char('$') + QString::number(n);
        } else if (x.tipo == Pieza::Numero &&
                   (x.texto == QLatin1String("1") || x.texto == QLatin1String("0")) &&
                   AbreCondicion(Vecina(p, i, -1)) && CierraCondicion(Vecina(p, i, 1))) {
            x.texto =
                x.texto == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        } else if (Es(x, "INSTR") && AbreCondicion(Vecina(p, i, -1))) {
            qsizetype abre = i + 1;
            while (abre < p.size() && p[abre].tipo == Pieza::Blanco)
                ++abre;
            const qsizetype cierra =
                abre < p.size() && p[abre].texto == QLatin1String("(") ? Cierre(p, abre) : -1;
            if (cierra > 0 && CierraCondicion(Vecina(p, cierra, 1))) {
                x.texto.prepend(QLatin1Char('('));
                p[cierra].texto = QStringLiteral(") > 0)");
            }
        }
    }
    for (const Pieza& x : p)
        s.texto += x.texto;
    s.texto = s.texto.trimmed();
    return s;
}

} // namespace

QList<Sentencia> Traducir(const QString& sql) {
    QList<Sentencia> r;
    QList<Pieza> actual;
    const QList<Pieza> todas = Piezas(sql);
    for (const Pieza& x : todas) {
        if (x.tipo == Pieza::Signo && x.texto == QLatin1String(";")) {
            Sentencia s = Escribir(actual);
            if (!s.texto.isEmpty())
                r.append(s);
            actual.clear();
        } else {
            actual.append(x);
        }
    }
    Sentencia s = Escribir(actual);
    if (!s.texto.isEmpty())
        r.append(s);
    return r;
}

} // namespace DialectoPg
