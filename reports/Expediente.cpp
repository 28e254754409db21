#include "Expediente.h"

#include "ArchivoPdf.h"
#include "Conexiones.h"
#include "Disenos.h"
#include "Ordenes.h"
#include "VistaPrevia.h"

#include <QPainter>
#include <QPdfWriter>

Recordset RegistrosHistorial(const QList<Historial::Entrada>& entradas) {
    QVector<QVector<QVariant>> filas;
    int cambio = 0;
    for (const Historial::Entrada& e : entradas) {
        const bool primera = filas.isEmpty() || e.cambio != cambio;
        cambio = e.cambio;
        filas.append({primera ? e.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")) : QString(),
                      primera ? e.login : QString(), primera ? e.tipo : QString(),
                      Historial::Descripcion(e)});
    }
    Recordset rs;
    rs.Abrir(QStringLiteral("historial"),
             {QStringLiteral("Fecha"), QStringLiteral("Usuario"), QStringLiteral("Cambio"),
              QStringLiteral("Detalle")},
             std::move(filas));
    return rs;
}

bool ImprimirHistorial(int ordId, QWidget* parent) {
    QList<Historial::Entrada> entradas;
    if (!Historial::LeerHistorial(ordId, &entradas))
        return false;
    return MostrarInforme(dtrHistorial(ordId), RegistrosHistorial(entradas), true, parent);
}

namespace {

// The order's page closes with the history's seal: the chain's last hash when the dossier was
// made, which a later reader can look for in the database, and whether the order's lines still
// hold in the chain; when they do not, the page says so in red before anyone reads further.
DisenoInforme ConSello(DisenoInforme d, const Historial::Cadena& c) {
    using E = ElementoInforme;
    BandaInforme& b = d.pieInforme;
    const int top = b.alto + 240;
    const FuenteInforme normal;
    b.elementos << E::Linea(0, top, d.anchoInforme);
    b.elementos << E::Etiqueta(QStringLiteral("Cadena del historial, última huella:"), 0, top + 60,
                               3200, normal);
    b.elementos << E::Etiqueta(
        c.ultimaHuella.isEmpty() ? QStringLiteral("(historial vacío)") : c.ultimaHuella, 3200,
        top + 60, d.anchoInforme - 3200, FuenteInforme{QStringLiteral("Courier New"), 8});
    const QString estado = c.integra ? c.descripcion : QStringLiteral("ATENCIÓN: ") + c.descripcion;
    b.elementos << E::Etiqueta(estado, 0, top + 330, d.anchoInforme,
                               c.integra ? normal : FuenteInforme::Negrita(), c.integra ? 240 : 480)
                       .Color(c.integra ? QColor(0, 0, 0) : QColor(192, 0, 0));
    b.alto = top + 330 + (c.integra ? 240 : 480);
    return d;
}

} // namespace

bool ExportarExpediente(int ordId, const QString& archivo, QString* error) {
    Recordset orden;
    Recordset precios;
    QList<Historial::Entrada> entradas;
    if (!Ordenes::AbrirParaImprimir(ordId, orden) || !Ordenes::AbrirPrecios(ordId, precios) ||
        !Historial::LeerHistorial(ordId, &entradas))
        return false;
    const Historial::Cadena cadena = Historial::ComprobarCadena(ordId);
    const struct {
        DisenoInforme diseno;
        Recordset rs;
    } partes[] = {{ConSello(dtrOrden(), cadena), orden},
                  {dtrPreciosOrden(ordId), precios},
                  {dtrHistorial(ordId), RegistrosHistorial(entradas)}};

    return EscribirPdf(
        archivo,
        [&](QPdfWriter& pdf) {
            QPageLayout pagina(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                               QMarginsF(0, 0, 0, 0));
            pagina.setMinimumMargins(QMarginsF(0, 0, 0, 0));
            pdf.setPageLayout(pagina);
            pdf.setTitle(QStringLiteral("Expediente de la Orden de Compra Nº %1").arg(ordId));
            QPainter painter;
            if (!painter.begin(&pdf))
                return false;
            const auto nuevaPagina = [&pdf] { return pdf.newPage(); };
            bool primera = true;
            for (const auto& p : partes) {
                // Each part starts on a page of its own, with its own page numbers.
                if (!primera && !pdf.newPage())
                    return false;
                primera = false;
                InformeMaquetado(p.diseno, p.rs, PapelEnTwips(pagina)).Pintar(painter, nuevaPagina);
            }
            return painter.end();
        },
        error);
}
