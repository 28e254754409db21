#include "ModuloImpresion.h"

#include <QAction>
#include <QObject>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <memory>

namespace {

class VistaPrevia : public QPrintPreviewDialog {
public:
    VistaPrevia(std::unique_ptr<QPrinter> printer, const PedidoVistaPrevia& pedido, QWidget* padre)
        : QPrintPreviewDialog(printer.get(), padre), printer_(std::move(printer)), pedido_(pedido) {
        setWindowTitle(pedido_.titulo);
        connect(this, &QPrintPreviewDialog::paintRequested, this, &VistaPrevia::Pintar);

        auto* exportar = new QAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                     QStringLiteral("Exportar a PDF"), this);
        exportar->setObjectName(QStringLiteral("actExportarPdf"));
        exportar->setToolTip(QStringLiteral("Exportar a PDF"));
        connect(exportar, &QAction::triggered, this,
                [this] { pedido_.exportarPdf(this, printer_->pageLayout()); });
        if (auto* barra = findChild<QToolBar*>()) {
            barra->addSeparator();
            barra->addAction(exportar);
        } else {
            addAction(exportar);
        }

        if (const QScreen* pantalla = screen()) {
            const QRect disponible = pantalla->availableGeometry();
            resize(disponible.width() * 4 / 5, disponible.height() * 9 / 10);
        }
    }

private:
    // The pages the print dialog asked for, or all of them.
    void Pintar(QPrinter* printer) {
        printer->setFullPage(true);
        int desde = 0;
        int hasta = -1;
        if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
            desde = printer->fromPage() - 1;
            hasta = printer->toPage() > 0 ? printer->toPage() - 1 : -1;
        }
        pedido_.pintar(*printer, desde, hasta);
    }

    std::unique_ptr<QPrinter> printer_;
    PedidoVistaPrevia pedido_;
};

class Impresion : public QObject, public ModuloImpresion {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ModuloImpresion_iid)
    Q_INTERFACES(ModuloImpresion)
public:
    QDialog* CrearVistaPrevia(const PedidoVistaPrevia& pedido, QWidget* padre) const override {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setFullPage(true);
        printer->setPageOrientation(pedido.orientacion);
        printer->setDocName(pedido.titulo);
        return new VistaPrevia(std::move(printer), pedido, padre);
    }
};

} // namespace

#include "Impresion.moc"
