#include "PanelGrafico.h"

#include "ArchivoEntero.h"
#include "ErrorSistema.h"
#include "Mensajes.h"
#include "ModuloGraficos.h"
#include "Modulos.h"
#include "Pantalla.h"

#include <QDir>
#include <QFileInfo>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace {

const QString kFiltroPng = QStringLiteral("Imagen PNG (*.png)");
const QString kFiltroPdf = QStringLiteral("Documento PDF (*.pdf)");
// A picture sharper than the screen, for documents and slides.
constexpr qreal kEscalaImagen = 2;

} // namespace

PanelGrafico::PanelGrafico(QWidget* padre) : QWidget(padre) {
    auto* vertical = new QVBoxLayout(this);
    vertical->setContentsMargins(0, 0, 0, 0);
    graficos_ = ModuloDeGraficos();
    if (graficos_) {
        vista_ = graficos_->CrearVista(this);
        vista_->setMinimumSize(Pantalla::Twips(5000, this), Pantalla::Twips(3600, this));
        vertical->addWidget(vista_, 1);
    } else {
        vertical->addStretch(1);
    }
    auto* fila = new QHBoxLayout;
    fila->addStretch(1);
    cmdExportar_ = new QPushButton(QStringLiteral("Exportar gráfico..."), this);
    cmdExportar_->setAutoDefault(false);
    cmdExportar_->setEnabled(vista_ != nullptr);
    connect(cmdExportar_, &QPushButton::clicked, this, &PanelGrafico::Exportar);
    fila->addWidget(cmdExportar_);
    vertical->addLayout(fila);
}

PanelGrafico::PanelGrafico(const QString& nombre, QWidget* padre) : PanelGrafico(padre) {
    PonerNombre(nombre);
}

void PanelGrafico::PonerNombre(const QString& nombre) {
    nombre_ = nombre;
    if (vista_)
        vista_->setAccessibleName(nombre);
    cmdExportar_->setToolTip(QStringLiteral("Guardar \"") + nombre +
                             QStringLiteral("\" como imagen PNG o documento PDF"));
    cmdExportar_->setAccessibleName(QStringLiteral("Exportar gráfico ") + nombre);
}

void PanelGrafico::ComprasPorMes(const ResumenCompras::ComprasPorMes& datos) {
    if (vista_)
        graficos_->ComprasPorMes(vista_, datos);
}

void PanelGrafico::Totales(const QString& titulo, const QList<ResumenCompras::Total>& totales,
                           const QString& moneda) {
    if (vista_)
        graficos_->Totales(vista_, titulo, totales, moneda);
}

void PanelGrafico::OrdenesPorEstado(const QList<ResumenCompras::Cantidad>& estados) {
    if (vista_)
        graficos_->OrdenesPorEstado(vista_, estados);
}

void PanelGrafico::PendientesVencidas(const QList<ResumenCompras::Cantidad>& sectores,
                                      int avisoDias) {
    if (vista_)
        graficos_->PendientesVencidas(vista_, sectores, avisoDias);
}

bool PanelGrafico::Escribir(const QString& ruta, bool pdf, QString* error) const {
    ArchivoEntero archivo(ruta);
    const auto fallo = [&] {
        if (error)
            *error = archivo.Error().isEmpty() ? QStringLiteral("No se pudo dibujar el gráfico.")
                                               : ErrorDeArchivo(archivo.Error());
        archivo.Descartar();
        return false;
    };
    if (!vista_ || !archivo.Abrir())
        return fallo();
    const QRect origen = vista_->viewport()->rect();
    if (pdf) {
        QPdfWriter escritor(&archivo);
        escritor.setPageSize(QPageSize(QPageSize::A4));
        escritor.setPageOrientation(QPageLayout::Landscape);
        escritor.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        escritor.setTitle(nombre_);
        escritor.setCreator(QStringLiteral("Quimbel"));
        QPainter p;
        if (!p.begin(&escritor))
            return fallo();
        vista_->render(&p, QRectF(), origen, Qt::KeepAspectRatio);
        if (!p.end())
            return fallo();
    } else {
        QImage imagen(origen.size() * kEscalaImagen, QImage::Format_ARGB32_Premultiplied);
        imagen.setDevicePixelRatio(kEscalaImagen);
        imagen.fill(Qt::white);
        QPainter p(&imagen);
        p.setRenderHint(QPainter::Antialiasing);
        // An empty target would be the image's size in pixels, which the painter scales by the
        // pixel ratio once more: the picture would hold only the chart's top-left quarter.
        vista_->render(&p, QRectF(QPointF(0, 0), origen.size()), origen);
        p.end();
        if (!imagen.save(&archivo, "PNG"))
            return fallo();
    }
    return archivo.Confirmar() || fallo();
}

void PanelGrafico::Exportar() {
    QString filtro;
    const QString carpeta = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    QString ruta = Mensajes::GuardarArchivo(
        this, QStringLiteral("Exportar gráfico"), kFiltroPng + QStringLiteral(";;") + kFiltroPdf,
        QDir(carpeta).filePath(nombre_ + QStringLiteral(".png")), &filtro);
    if (ruta.isEmpty())
        return;
    const QString sufijo = QFileInfo(ruta).suffix().toLower();
    bool pdf = sufijo == QLatin1String("pdf");
    if (!pdf && sufijo != QLatin1String("png")) {
        pdf = filtro == kFiltroPdf;
        ruta += pdf ? QStringLiteral(".pdf") : QStringLiteral(".png");
    }
    bool escrito = false;
    QString error;
    {
        CursorOcupado ocupado;
        escrito = Escribir(ruta, pdf, &error);
    }
    if (!escrito)
        Mensajes::MsgBox(QStringLiteral("No se pudo escribir el archivo ") +
                             QDir::toNativeSeparators(ruta) + QStringLiteral(":\r\n") + error,
                         Mensajes::Botones::OK, Mensajes::Icono::Exclamacion,
                         QStringLiteral("Atención"));
}
