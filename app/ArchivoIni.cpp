#include "ArchivoIni.h"

#include "ArchivoEntero.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace ArchivoIni {
namespace {

struct Lineas {
    QStringList lineas;
    bool leido = false;
};

Lineas LeerLineas(const QString& archivo) {
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QString texto = QString::fromUtf8(f.readAll());
    if (texto.startsWith(QChar(0xFEFF)))
        texto.remove(0, 1);
    QStringList lineas = texto.split(QLatin1Char('\n'));
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    return {lineas, true};
}

bool EsSeccion(const QString& linea) {
    return linea.startsWith(QLatin1Char('[')) && linea.endsWith(QLatin1Char(']'));
}

// Values live before any section or in [General], where the settings of one program go.
bool EsSeccionGeneral(const QString& linea) {
    return linea.mid(1, linea.size() - 2)
               .trimmed()
               .compare(QLatin1String("General"), Qt::CaseInsensitive) == 0;
}

bool EsComentario(const QString& linea) {
    return linea.startsWith(QLatin1Char(';')) || linea.startsWith(QLatin1Char('#'));
}

QString Desentrecomillar(const QString& v) {
    if (v.size() < 2 || !v.startsWith(QLatin1Char('"')) || !v.endsWith(QLatin1Char('"')))
        return v;
    QString r;
    for (qsizetype i = 1; i < v.size() - 1; ++i) {
        QChar c = v[i];
        if (c == QLatin1Char('\\') && i + 1 < v.size() - 1) {
            const QChar s = v[++i];
            c = s == QLatin1Char('n')   ? QChar(QLatin1Char('\n'))
                : s == QLatin1Char('r') ? QChar(QLatin1Char('\r'))
                                        : s;
        }
        r += c;
    }
    return r;
}

QString Entrecomillar(const QString& v) {
    const bool simple = v == v.trimmed() && !v.startsWith(QLatin1Char('"')) &&
                        !v.contains(QLatin1Char('\n')) && !v.contains(QLatin1Char('\r'));
    if (simple)
        return v;
    QString r = v;
    r.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    r.replace(QLatin1Char('"'), QLatin1String("\\\""));
    r.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    r.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    return QLatin1Char('"') + r + QLatin1Char('"');
}

// The line that holds the value (or -1) and where a new value goes: after the last line of
// the general part.
struct Ubicacion {
    qsizetype linea = -1;
    qsizetype insertar = 0;
};

Ubicacion Buscar(const QStringList& lineas, const QString& nombre) {
    Ubicacion u;
    bool general = true;
    for (qsizetype i = 0; i < lineas.size(); ++i) {
        const QString l = lineas[i].trimmed();
        if (EsSeccion(l)) {
            general = EsSeccionGeneral(l);
            if (general)
                u.insertar = i + 1;
            continue;
        }
        if (!general || l.isEmpty())
            continue;
        u.insertar = i + 1;
        if (EsComentario(l) || u.linea >= 0)
            continue;
        const qsizetype igual = l.indexOf(QLatin1Char('='));
        if (igual > 0 && l.left(igual).trimmed() == nombre)
            u.linea = i;
    }
    return u;
}

} // namespace

std::optional<QString> Leer(const QString& archivo, const QString& nombre) {
    const Lineas l = LeerLineas(archivo);
    const Ubicacion u = Buscar(l.lineas, nombre);
    if (u.linea < 0)
        return std::nullopt;
    const QString linea = l.lineas[u.linea];
    return Desentrecomillar(linea.mid(linea.indexOf(QLatin1Char('=')) + 1).trimmed());
}

bool Escribir(const QString& archivo, const QString& nombre, const QString& valor, bool crear) {
    const bool existe = QFileInfo::exists(archivo);
    if (!existe && !crear)
        return false;
    Lineas l = LeerLineas(archivo);
    if (existe && !l.leido)
        return false;
    const QString linea = nombre + QLatin1Char('=') + Entrecomillar(valor);
    const Ubicacion u = Buscar(l.lineas, nombre);
    // Every start writes the settings it found empty; a line that already says so is not
    // written again, which would replace and flush the whole file to disk for nothing.
    if (u.linea >= 0 && l.lineas[u.linea] == linea)
        return true;
    if (u.linea >= 0)
        l.lineas[u.linea] = linea;
    else
        l.lineas.insert(u.insertar, linea);

    if (!existe && !QDir().mkpath(QFileInfo(archivo).absolutePath()))
        return false;
    // On the disk before it replaces the old file: a power cut leaves one or the other whole.
    ArchivoEntero f(archivo);
    return f.Abrir() &&
           f.Escribir((l.lineas.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) &&
           f.Confirmar();
}

} // namespace ArchivoIni
