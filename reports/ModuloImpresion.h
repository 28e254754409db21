#pragma once

#include <QPageLayout>
#include <QString>
#include <QtPlugin>
#include <functional>

class QDialog;
class QPagedPaintDevice;
class QWidget;

// What a print preview shows, and what its "Exportar a PDF" does.
struct PedidoVistaPrevia {
    QString titulo; // the window's title and the printed document's name
    QPageLayout::Orientation orientacion = QPageLayout::Portrait;
    // Paints pages desde..hasta (from 0; -1 for the last) on the device, whose origin is the
    // paper's corner, calling its newPage() between pages.
    std::function<void(QPagedPaintDevice& dispositivo, int desde, int hasta)> pintar;
    // Called from the preview with the page layout the person has chosen there.
    std::function<void(QWidget* vista, const QPageLayout& pagina)> exportarPdf;
};

// Previewing and printing, with Qt Print Support, in the module "quimbel-impresion".
class ModuloImpresion {
public:
    virtual ~ModuloImpresion() = default;

    // A preview window on a printer of its own, the action "actExportarPdf" beside the printing
    // ones, sized to most of the screen. Not shown yet; the caller owns it.
    virtual QDialog* CrearVistaPrevia(const PedidoVistaPrevia& pedido, QWidget* padre) const = 0;
};

#define ModuloImpresion_iid "com.tolvanex.Quimbel.ModuloImpresion/1"
Q_DECLARE_INTERFACE(ModuloImpresion, ModuloImpresion_iid)
