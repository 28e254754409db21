#include "VistaPrevia.h"

#include "Conexiones.h"
#include "Disenos.h"
#include "Mensajes.h"
#include "Ordenes.h"
#include "Pantalla.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <memory>

namespace {

QList<InformeMostrado>& Mostrados() {
    static QList<InformeMostrado> lista;
    return lista;
}

// A non-modal preview per layout: printing the same list again replaces it with fresh records.
QHash<QString, QPointer<QPrintPreviewDialog>>& Abiertas() {
    static QHash<QString, QPointer<QPrintPreviewDialog>> abiertas;
    return abiertas;
}

class VistaPreviaInforme : public QPrintPreviewDialog {
public:
    VistaPreviaInforme(std::unique_ptr<QPrinter> printer, const DisenoInforme& diseno,
                       const Recordset& rs, QWidget* parent)
        : QPrintPreviewDialog(printer.get(), parent), printer_(std::move(printer)), diseno_(diseno),
          rs_(rs) {
        setWindowTitle(diseno_.caption);
        connect(this, &QPrintPreviewDialog::paintRequested, this,
                [this](QPrinter* p) { ImprimirEn(diseno_, rs_, p); });

        auto* exportar = new QAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                     QStringLiteral("Exportar a PDF"), this);
        exportar->setObjectName(QStringLiteral("actExportarPdf"));
        exportar->setToolTip(QStringLiteral("Exportar a PDF"));
        connect(exportar, &QAction::triggered, this, &VistaPreviaInforme::Exportar);
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
    void Exportar() {
        QString archivo = Mensajes::GuardarArchivo(this, QStringLiteral("Exportar a PDF"),
                                                   QStringLiteral("Documentos PDF (*.pdf)"),
                                                   diseno_.caption + QStringLiteral(".pdf"));
        if (archivo.isEmpty())
            return;
        if (QFileInfo(archivo).suffix().isEmpty())
            archivo += QStringLiteral(".pdf");
        bool escrito = false;
        QString error;
        {
            CursorOcupado ocupado;
            escrito = ExportarPdf(diseno_, rs_, archivo, printer_->pageLayout(), &error);
        }
        if (!escrito)
            Mensajes::MsgBox(QStringLiteral("No se pudo escribir el archivo ") +
                                 QDir::toNativeSeparators(archivo) + QStringLiteral("\n\n") + error,
                             Mensajes::Botones::OK, Mensajes::Icono::Exclamacion,
                             QStringLiteral("Atención"));
    }

    std::unique_ptr<QPrinter> printer_;
    DisenoInforme diseno_;
    Recordset rs_;
};

void Registrar(const DisenoInforme& diseno, const Recordset& rs, bool modal) {
    if (!Mensajes::EnModoPrueba())
        return;
    InformeMostrado m;
    m.nombre = diseno.nombre;
    m.caption = diseno.caption;
    m.sql = rs.Source();
    m.registros = rs.RecordCount();
    m.modal = modal;
    InformeMaquetado informe(
        diseno, rs,
        PapelEnTwips(QPageLayout(QPageSize(QPageSize::A4), diseno.orientacion, QMarginsF())));
    m.textosPrimeraPagina = informe.Textos(0);
    Mostrados().append(m);
}

} // namespace

QPrintPreviewDialog* CrearVistaPrevia(const DisenoInforme& diseno, const Recordset& rs,
                                      QWidget* parent) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setFullPage(true);
    printer->setPageOrientation(diseno.orientacion);
    printer->setDocName(diseno.caption);
    return new VistaPreviaInforme(std::move(printer), diseno, rs, parent);
}

bool MostrarInforme(const DisenoInforme& diseno, const Recordset& rs, bool modal, QWidget* parent) {
    Registrar(diseno, rs, modal);
    if (modal) {
        std::unique_ptr<QPrintPreviewDialog> vista(CrearVistaPrevia(diseno, rs, parent));
        if (Mensajes::EnModoPrueba())
            QTimer::singleShot(0, vista.get(), &QDialog::reject);
        vista->exec();
        return true;
    }
    if (auto anterior = Abiertas().value(diseno.nombre))
        anterior->close();
    QPrintPreviewDialog* vista = CrearVistaPrevia(diseno, rs, parent);
    vista->setAttribute(Qt::WA_DeleteOnClose);
    Abiertas().insert(diseno.nombre, vista);
    vista->show();
    Pantalla::TraerAlFrente(vista);
    return true;
}

bool MostrarInforme(const DisenoInforme& diseno, const std::function<bool(Recordset&)>& abrir,
                    bool modal, QWidget* parent) {
    Recordset rs;
    bool abierto = false;
    {
        CursorOcupado ocupado;
        abierto = abrir(rs);
    }
    if (!abierto || !rs.Abierto())
        return false;
    MostrarInforme(diseno, rs, modal, parent);
    CerrarRecordset(rs, true);
    return true;
}

void ImprimirOrden(int ordId, QWidget* parent) {
    MostrarInforme(
        dtrOrden(), [ordId](Recordset& rs) { return Ordenes::AbrirParaImprimir(ordId, rs); }, true,
        parent);
}

QList<InformeMostrado> InformesMostrados() {
    return Mostrados();
}

void LimpiarInformesMostrados() {
    Mostrados().clear();
}
