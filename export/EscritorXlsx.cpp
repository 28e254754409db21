#include "EscritorXlsx.h"

#include "ArchivoEntero.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <xlsxwriter.h>

namespace EscritorXlsx {
namespace {

constexpr double kAnchoMaximo = 60;
// Rows measured for the column widths; enough to be representative, few enough to be quick.
constexpr int kFilasMedidas = 500;

// Sheet names are at most 31 characters and cannot hold []:*?/\ .
QString NombreHoja(const QString& nombre) {
    QString n = nombre;
    for (const QChar c : QStringLiteral("[]:*?/\\"))
        n.replace(c, QLatin1Char(' '));
    n = n.trimmed().left(31);
    return n.isEmpty() ? QStringLiteral("Hoja1") : n;
}

struct Formatos {
    lxw_format* encabezado;
    lxw_format* fecha;
    lxw_format* fechaHora;
};

lxw_error Celda(lxw_worksheet* hoja, lxw_row_t f, lxw_col_t c, const QVariant& v,
                const Formatos& formatos) {
    if (!v.isValid() || v.isNull())
        return LXW_NO_ERROR;
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return worksheet_write_number(hoja, f, c, v.toDouble(), nullptr);
    case QMetaType::Bool:
        return worksheet_write_boolean(hoja, f, c, v.toBool(), nullptr);
    case QMetaType::QDateTime:
    case QMetaType::QDate: {
        const QDateTime m =
            v.typeId() == QMetaType::QDate ? v.toDate().startOfDay() : v.toDateTime();
        if (!m.isValid())
            return LXW_NO_ERROR;
        lxw_datetime d{m.date().year(),   m.date().month(),
                       m.date().day(),    m.time().hour(),
                       m.time().minute(), m.time().second() + m.time().msec() / 1000.0};
        const bool medianoche = m.time() == QTime(0, 0);
        return worksheet_write_datetime(hoja, f, c, &d,
                                        medianoche ? formatos.fecha : formatos.fechaHora);
    }
    default:
        break;
    }
    const QString s = v.toString();
    if (s.isEmpty())
        return LXW_NO_ERROR;
    return worksheet_write_string(hoja, f, c, s.toUtf8().constData(), nullptr);
}

// Wide enough for the header and the longest value of the first rows, in characters.
void AnchoColumnas(lxw_worksheet* hoja, const Tabla& tabla) {
    for (int c = 0; c < tabla.encabezados.size(); ++c) {
        qsizetype ancho = tabla.encabezados[c].size() + 4; // the filter button
        for (int f = 0; f < qMin<qsizetype>(tabla.filas.size(), kFilasMedidas); ++f) {
            const QVariant& v = tabla.filas[f].value(c);
            const int tipo = v.typeId();
            ancho = qMax(ancho, tipo == QMetaType::QDateTime || tipo == QMetaType::QDate
                                    ? qsizetype(17)
                                    : v.toString().size() + 2);
        }
        worksheet_set_column(hoja, c, c, qMin<double>(ancho, kAnchoMaximo), nullptr);
    }
}

QString Error(lxw_error e) {
    return QString::fromUtf8(lxw_strerror(e));
}

// Writes the workbook to `ruta`, a temporary file the caller discards on failure.
ResultadoEscritura Libro(const QString& ruta, const Tabla& tabla, const AvanceEscritura& avance) {
    ResultadoEscritura r;
    lxw_workbook* libro = workbook_new(QFile::encodeName(ruta).constData());
    if (!libro) {
        r.error = QStringLiteral("no se pudo crear el libro");
        return r;
    }
    lxw_worksheet* hoja =
        workbook_add_worksheet(libro, NombreHoja(tabla.nombre).toUtf8().constData());
    if (!hoja)
        hoja = workbook_add_worksheet(libro, nullptr);
    Formatos formatos{workbook_add_format(libro), workbook_add_format(libro),
                      workbook_add_format(libro)};
    format_set_bold(formatos.encabezado);
    format_set_num_format(formatos.fecha, "dd/mm/yyyy");
    format_set_num_format(formatos.fechaHora, "dd/mm/yyyy hh:mm:ss");

    lxw_error e = LXW_NO_ERROR;
    const int columnas = static_cast<int>(tabla.encabezados.size());
    for (int c = 0; c < columnas && e == LXW_NO_ERROR; ++c)
        e = worksheet_write_string(hoja, 0, c, tabla.encabezados[c].toUtf8().constData(),
                                   formatos.encabezado);
    for (int f = 0; f < tabla.filas.size() && e == LXW_NO_ERROR; ++f) {
        const QVector<QVariant>& fila = tabla.filas[f];
        for (int c = 0; c < columnas && c < fila.size() && e == LXW_NO_ERROR; ++c)
            e = Celda(hoja, f + 1, c, fila[c], formatos);
        if (e == LXW_NO_ERROR && avance && !avance(f + 1)) {
            r.cancelado = true;
            break;
        }
    }
    if (e == LXW_NO_ERROR && columnas > 0) {
        AnchoColumnas(hoja, tabla);
        worksheet_freeze_panes(hoja, 1, 0);
        worksheet_autofilter(hoja, 0, 0, tabla.filas.size(), columnas - 1);
    }
    // Closing also frees the workbook, so it is closed whatever happened above.
    const lxw_error alCerrar = workbook_close(libro);
    if (e == LXW_NO_ERROR)
        e = alCerrar;
    if (e != LXW_NO_ERROR)
        r.error = Error(e);
    r.escrito = e == LXW_NO_ERROR && !r.cancelado;
    return r;
}

} // namespace

ResultadoEscritura Escribir(const QString& ruta, const Tabla& tabla,
                            const AvanceEscritura& avance) {
    // The library writes to a file name of its own choosing; the workbook is assembled in a
    // temporary folder and only then put in place in one step, replacing any earlier file.
    QTemporaryDir temporal;
    if (!temporal.isValid())
        return {false, false, temporal.errorString()};
    const QString borrador = temporal.filePath(QStringLiteral("libro.xlsx"));
    ResultadoEscritura r = Libro(borrador, tabla, avance);
    if (!r.escrito)
        return r;
    QFile leido(borrador);
    if (!leido.open(QIODevice::ReadOnly)) {
        r.escrito = false;
        r.error = leido.errorString();
        return r;
    }
    ArchivoEntero destino(ruta);
    if (!destino.Abrir() || !destino.Escribir(leido.readAll()) || !destino.Confirmar()) {
        r.escrito = false;
        r.error = destino.Error();
    }
    return r;
}

} // namespace EscritorXlsx
