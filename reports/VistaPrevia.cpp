#include "VistaPrevia.h"

#include "Conexiones.h"
#include "Disenos.h"
#include "Mensajes.h"
#include "ModuloImpresion.h"
#include "Modulos.h"
#include "Ordenes.h"
#include "Pantalla.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

QList<InformeMostrado>& Mostrados() {
    static QList<InformeMostrado> lista;
    return lista;
}

// A non-modal preview per layout: printing the same list again replaces it with fresh records.
QHash<QString, QPointer<QDialog>>& Abiertas() {
    static QHash<QString, QPointer<QDialog>> abiertas;
    return abiertas;
}

void ExportarDesdeVistaPrevia(QWidget* vista, const DisenoInforme& diseno, const Recordset& rs,
                              const QPageLayout& pagina) {
    QString archivo = Mensajes::GuardarArchivo(vista, QStringLiteral("Exportar a PDF"),
                                               QStringLiteral("Documentos PDF (*.pdf)"),
                                               diseno.caption + QStringLiteral(".pdf"));
    if (archivo.isEmpty())
        return;
    if (QFileInfo(archivo).suffix().isEmpty())
        archivo += QStringLiteral(".pdf");
    bool escrito = false;
    QString error;
    {
        CursorOcupado ocupado;
        escrito = ExportarPdf(diseno, rs, archivo, pagina, &error);
    }
    if (!escrito)
        Mensajes::MsgBox(QStringLiteral("No se pudo escribir el archivo ") +
                             QDir::toNativeSeparators(archivo) + QStringLiteral("\n\n") + error,
                         Mensajes::Botones::OK, Mensajes::Icono::Exclamacion,
                         QStringLiteral("Atención"));
}

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

QDialog* CrearVistaPrevia(const DisenoInforme& diseno, const Recordset& rs, QWidget* parent) {
    const ModuloImpresion* impresion = ModuloDeImpresion();
    if (!impresion)
        return nullptr;
    PedidoVistaPrevia pedido;
    pedido.titulo = diseno.caption;
    pedido.orientacion = diseno.orientacion;
    // The preview keeps its own copy of the layout and of the records for as long as it is open.
    pedido.pintar = [diseno, rs](QPagedPaintDevice& dispositivo, int desde, int hasta) {
        ImprimirEn(diseno, rs, dispositivo, desde, hasta);
    };
    pedido.exportarPdf = [diseno, rs](QWidget* vista, const QPageLayout& pagina) {
        ExportarDesdeVistaPrevia(vista, diseno, rs, pagina);
    };
    return impresion->CrearVistaPrevia(pedido, parent);
}

bool MostrarInforme(const DisenoInforme& diseno, const Recordset& rs, bool modal, QWidget* parent) {
    Registrar(diseno, rs, modal);
    if (modal) {
        std::unique_ptr<QDialog> vista(CrearVistaPrevia(diseno, rs, parent));
        if (!vista)
            return false;
        if (Mensajes::EnModoPrueba())
            QTimer::singleShot(0, vista.get(), &QDialog::reject);
        vista->exec();
        return true;
    }
    if (auto anterior = Abiertas().value(diseno.nombre))
        anterior->close();
    QDialog* vista = CrearVistaPrevia(diseno, rs, parent);
    if (!vista)
        return false;
    vista->setAttribute(Qt::WA_DeleteOnClose);
    Abiertas().insert(diseno.nombre, vista);
    vista->show();
    Pantalla::TraerAlFrente(vista);
    return true;
}

bool MostrarInforme(const DisenoInforme& diseno, const std::function<bool(Recordset&)>& abrir,
                    bool modal, QWidget* parent) {
    if (!ModuloDeImpresion())
        return false;
    Recordset rs;
    bool abierto = false;
    {
        CursorOcupado ocupado;
        abierto = abrir(rs);
    }
    if (!abierto || !rs.Abierto())
        return false;
    const bool mostrado = MostrarInforme(diseno, rs, modal, parent);
    CerrarRecordset(rs, true);
    return mostrado;
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
