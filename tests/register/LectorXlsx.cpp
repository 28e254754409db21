#include "LectorXlsx.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cmath>
#include <zlib.h>

namespace LectorXlsx {
namespace {

quint32 Leer(const QByteArray& d, qsizetype pos, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(d.at(pos + i));
    return v;
}

QByteArray Inflar(const QByteArray& comprimido, quint32 largo) {
    QByteArray salida(largo, Qt::Uninitialized);
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return {};
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(comprimido.data()));
    z.avail_in = static_cast<uInt>(comprimido.size());
    z.next_out = reinterpret_cast<Bytef*>(salida.data());
    z.avail_out = largo;
    const int r = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return r == Z_STREAM_END ? salida : QByteArray();
}

// Column index of a cell reference such as "C12".
int Columna(QStringView ref) {
    int c = 0;
    for (QChar ch : ref) {
        if (!ch.isLetter())
            break;
        c = c * 26 + (ch.toUpper().unicode() - 'A' + 1);
    }
    return c - 1;
}

// A control character in a text is written as _xHHHH_, its code in hexadecimal.
QString SinEscapes(const QString& texto) {
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString s = texto;
    QRegularExpressionMatch m;
    for (qsizetype desde = 0; (m = escape.match(s, desde)).hasMatch();) {
        s.replace(m.capturedStart(), m.capturedLength(),
                  QChar(m.captured(1).toUShort(nullptr, 16)));
        desde = m.capturedStart() + 1;
    }
    return s;
}

QStringList Compartidos(const QByteArray& xml) {
    QStringList textos;
    QXmlStreamReader x(xml);
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("si"))
            textos << QString();
        else if (x.isStartElement() && x.name() == QLatin1String("t") && !textos.isEmpty())
            textos.last() += SinEscapes(x.readElementText());
    }
    return textos;
}

// For each cell style, whether its number format shows a date.
QVector<bool> EstilosDeFecha(const QByteArray& xml) {
    QHash<int, bool> formatos;
    QVector<bool> estilos;
    bool enCeldas = false;
    QXmlStreamReader x(xml);
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("numFmt"))
            formatos[x.attributes().value(QLatin1String("numFmtId")).toInt()] =
                x.attributes().value(QLatin1String("formatCode")).contains(QLatin1String("yy"));
        else if (x.isStartElement() && x.name() == QLatin1String("cellXfs"))
            enCeldas = true;
        else if (x.isEndElement() && x.name() == QLatin1String("cellXfs"))
            enCeldas = false;
        else if (enCeldas && x.isStartElement() && x.name() == QLatin1String("xf")) {
            const int id = x.attributes().value(QLatin1String("numFmtId")).toInt();
            estilos << (formatos.value(id) || (id >= 14 && id <= 22));
        }
    }
    return estilos;
}

QVariant Fecha(double serie) {
    const qint64 segundos = std::llround(serie * 86400);
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0)).addSecs(segundos);
}

} // namespace

QByteArray Entrada(const QString& archivo, const QString& nombre) {
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray d = f.readAll();
    const qsizetype fin = d.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (fin < 0 || fin + 22 > d.size())
        return {};
    const int entradas = Leer(d, fin + 10, 2);
    qsizetype pos = Leer(d, fin + 16, 4);
    for (int i = 0; i < entradas && pos + 46 <= d.size(); ++i) {
        const int metodo = Leer(d, pos + 10, 2);
        const quint32 comprimido = Leer(d, pos + 20, 4);
        const quint32 largo = Leer(d, pos + 24, 4);
        const int n = Leer(d, pos + 28, 2);
        const int extra = Leer(d, pos + 30, 2);
        const int comentario = Leer(d, pos + 32, 2);
        const quint32 local = Leer(d, pos + 42, 4);
        if (QString::fromUtf8(d.mid(pos + 46, n)) == nombre) {
            const qsizetype datos = local + 30 + Leer(d, local + 26, 2) + Leer(d, local + 28, 2);
            const QByteArray cuerpo = d.mid(datos, comprimido);
            return metodo == 0 ? cuerpo : metodo == 8 ? Inflar(cuerpo, largo) : QByteArray();
        }
        pos += 46 + n + extra + comentario;
    }
    return {};
}

QVector<QVector<QVariant>> Hoja(const QString& archivo) {
    const QStringList compartidos =
        Compartidos(Entrada(archivo, QStringLiteral("xl/sharedStrings.xml")));
    const QVector<bool> fechas = EstilosDeFecha(Entrada(archivo, QStringLiteral("xl/styles.xml")));
    QVector<QVector<QVariant>> filas;
    QXmlStreamReader x(Entrada(archivo, QStringLiteral("xl/worksheets/sheet1.xml")));
    QString tipo;
    int columna = 0;
    int estilo = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        if (x.name() == QLatin1String("row")) {
            const int n = x.attributes().value(QLatin1String("r")).toInt();
            filas.resize(n);
        } else if (x.name() == QLatin1String("c")) {
            tipo = x.attributes().value(QLatin1String("t")).toString();
            columna = Columna(x.attributes().value(QLatin1String("r")));
            estilo = x.attributes().value(QLatin1String("s")).toInt();
        } else if ((x.name() == QLatin1String("v") || x.name() == QLatin1String("t")) &&
                   !filas.isEmpty()) {
            const QString texto = x.readElementText();
            QVariant v;
            if (tipo == QLatin1String("s"))
                v = compartidos.value(texto.toInt());
            else if (tipo == QLatin1String("b"))
                v = texto == QLatin1String("1");
            else if (tipo == QLatin1String("str") || tipo == QLatin1String("inlineStr"))
                v = texto;
            else if (fechas.value(estilo))
                v = Fecha(texto.toDouble());
            else
                v = texto.toDouble();
            QVector<QVariant>& fila = filas.last();
            if (fila.size() <= columna)
                fila.resize(columna + 1);
            fila[columna] = v;
        }
    }
    return filas;
}

} // namespace LectorXlsx
