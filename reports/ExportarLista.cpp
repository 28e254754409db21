#include "ExportarLista.h"

#include "ErrorSistema.h"
#include "EscritorCsv.h"
#include "EscritorXlsx.h"
#include "Mensajes.h"
#include "Pantalla.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>
#include <memory>

namespace {

const QString kFiltroXlsx = QStringLiteral("Libro de Excel (*.xlsx)");
const QString kFiltroCsv = QStringLiteral("Texto CSV separado por punto y coma (*.csv)");
// Below this many rows an export is too quick for a progress bar; above it the bar shows only
// when the export turns out to take a while.
constexpr int kFilasConBarra = 500;

QString& UltimaCarpeta() {
    static QString carpeta;
    return carpeta;
}

QString Sugerencia(const QString& nombre) {
    QString base = nombre;
    for (const QChar c : QStringLiteral("/\\:*?\"<>|"))
        base.replace(c, QLatin1Char(' '));
    if (UltimaCarpeta().isEmpty())
        UltimaCarpeta() = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(UltimaCarpeta()).filePath(base.simplified() + QStringLiteral(".xlsx"));
}

} // namespace

bool ExportarTabla(const Tabla& tabla, const QString& nombreSugerido, QWidget* padre) {
    QString filtro;
    QString ruta = Mensajes::GuardarArchivo(padre, QStringLiteral("Exportar"),
                                            kFiltroXlsx + QStringLiteral(";;") + kFiltroCsv,
                                            Sugerencia(nombreSugerido), &filtro);
    if (ruta.isEmpty())
        return false;
    const QString sufijo = QFileInfo(ruta).suffix().toLower();
    bool csv = sufijo == QLatin1String("csv");
    if (sufijo != QLatin1String("csv") && sufijo != QLatin1String("xlsx")) {
        csv = filtro == kFiltroCsv;
        ruta += csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    }
    UltimaCarpeta() = QFileInfo(ruta).absolutePath();

    ResultadoEscritura r;
    {
        CursorOcupado ocupado;
        std::unique_ptr<QProgressDialog> barra;
        if (tabla.filas.size() >= kFilasConBarra) {
            barra = std::make_unique<QProgressDialog>(
                QStringLiteral("Exportando ") + QFileInfo(ruta).fileName(),
                QStringLiteral("Cancelar"), 0, static_cast<int>(tabla.filas.size()), padre);
            barra->setWindowTitle(QStringLiteral("Exportar"));
            barra->setWindowModality(Qt::WindowModal);
            barra->setMinimumDuration(400);
            barra->setAutoReset(false);
            barra->setValue(0);
        }
        QElapsedTimer desdeAvance;
        desdeAvance.start();
        const AvanceEscritura avance = [&](int filas) {
            if (!barra)
                return true;
            if (desdeAvance.elapsed() >= 100 || filas == tabla.filas.size()) {
                barra->setValue(filas); // also lets "Cancelar" be pressed
                desdeAvance.restart();
            }
            return !barra->wasCanceled();
        };
        r = csv ? EscritorCsv::Escribir(ruta, tabla, avance)
                : EscritorXlsx::Escribir(ruta, tabla, avance);
    }
    if (!r.escrito && !r.cancelado)
        Mensajes::MsgBox(
            QStringLiteral("No se pudo escribir el archivo ") + QDir::toNativeSeparators(ruta) +
                QStringLiteral(":\r\n") + ErrorDeArchivo(r.error),
            Mensajes::Botones::OK, Mensajes::Icono::Exclamacion, QStringLiteral("Atención"));
    return r.escrito;
}

QAction* AgregarExportarLista(QAbstractItemView* lista, const QString& nombre) {
    auto* accion = new QAction(QStringLiteral("&Exportar..."), lista);
    accion->setObjectName(QStringLiteral("mnuExportar"));
    QObject::connect(accion, &QAction::triggered, lista, [lista, nombre] {
        if (lista->model())
            ExportarTabla(TablaDeModelo(*lista->model(), nombre), nombre, lista->window());
    });
    lista->addAction(accion);
    lista->setContextMenuPolicy(Qt::ActionsContextMenu);
    return accion;
}
