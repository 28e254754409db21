#include "Expediente.h"

#include "ArchivoPdf.h"
#include "Conexiones.h"
#include "Configuracion.h"
#include "Disenos.h"
#include "Ordenes.h"
#include "ReglasAprobacion.h"
#include "Reloj.h"
#include "Usuario.h"
#include "VistaPrevia.h"

#include <QPainter>
#include <QPdfWriter>

Recordset RegistrosHistorial(const QList<Historial::Entrada>& entradas) {
    QVector<QVector<QVariant>> filas;
    for (const Historial::Entrada& e : entradas)
        filas.append({e.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")), e.login, e.tipo,
                      Historial::Descripcion(e), e.cambio});
    Recordset rs;
    rs.Abrir(QStringLiteral("historial"),
             {QStringLiteral("Fecha"), QStringLiteral("Usuario"), QStringLiteral("Cambio"),
              QStringLiteral("Detalle"), QStringLiteral("CambioId")},
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

namespace {

const QString kEstado = QStringLiteral("OrdEstado");

// On the order's page, left of its number: the state it is in when the dossier is made.
DisenoInforme ConEstado(DisenoInforme d) {
    using E = ElementoInforme;
    d.detalle.elementos << E::Etiqueta(QStringLiteral("Estado:"), 50, 450, 900, FuenteInforme());
    d.detalle.elementos << E::Campo(kEstado, 1050, 450, 1200, FuenteInforme::Negrita());
    return d;
}

// The reason kept for accepting a quote that is not the cheapest, under the order.
DisenoInforme ConMotivo(DisenoInforme d, const QString& motivo) {
    if (motivo.isEmpty())
        return d;
    using E = ElementoInforme;
    BandaInforme& b = d.pieInforme;
    b.elementos << E::Etiqueta(QStringLiteral("Cotización aceptada sin ser la de menor precio. ") +
                                   motivo,
                               0, b.alto, d.anchoInforme, FuenteInforme(), 480);
    b.alto += 600;
    return d;
}

// Every page of the dossier says whose and which order it belongs to, and when and by whom it
// was printed, so that a loose page can be filed again; pages are numbered through the whole.
DisenoInforme ComoPagina(DisenoInforme d, int ordId, const QString& impreso) {
    using E = ElementoInforme;
    // The company is named at the head of every page; a part's first page keeps only the logo.
    PrepararEncabezado(d, QString(), gLogoPath);
    const int franja = 330;
    BandaInforme& cabeza = d.encabezadoPagina;
    for (ElementoInforme& e : cabeza.elementos)
        e.top += franja;
    cabeza.alto += franja;
    const FuenteInforme negrita = FuenteInforme::Negrita();
    cabeza.elementos
        << E::Etiqueta(gEmpresa.trimmed(), 0, 0, 5500, negrita).Color(QColor(128, 128, 128));
    cabeza.elementos << E::Etiqueta(QStringLiteral("Orden de Compra Nº %1").arg(ordId), 5500, 0,
                                    d.anchoInforme - 5500, negrita)
                            .Alinear(Alineacion::Derecha);
    cabeza.elementos << E::Linea(0, franja - 60, d.anchoInforme);

    BandaInforme pie;
    pie.alto = 360;
    pie.elementos << E::Linea(0, 0, d.anchoInforme);
    pie.elementos << E::Etiqueta(impreso, 0, 50, 6500, FuenteInforme());
    pie.elementos << E::Etiqueta(QStringLiteral("Página %p de %P"), 6500, 50, d.anchoInforme - 6500,
                                 FuenteInforme())
                         .Alinear(Alineacion::Derecha);
    d.piePagina = pie;
    return d;
}

} // namespace

bool MaquetarExpediente(int ordId, const QSize& papel, QList<InformeMaquetado>* partes) {
    partes->clear();
    Recordset orden;
    Recordset precios;
    QList<Historial::Entrada> entradas;
    if (!Ordenes::AbrirParaImprimir(ordId, orden) || !Ordenes::AbrirPrecios(ordId, precios) ||
        !Historial::LeerHistorial(ordId, &entradas))
        return false;
    const Historial::Cadena cadena = Historial::ComprobarCadena(ordId);
    const QString impreso =
        QStringLiteral("Impreso el %1 por %2")
            .arg(Reloj::Ahora().toString(QStringLiteral("dd/MM/yyyy HH:mm")), gLogin.trimmed());
    const DisenoInforme ordenPagina =
        ConMotivo(ConSello(ConEstado(dtrOrden()), cadena), MotivoPrecioAceptado(ordId));
    *partes << InformeMaquetado(ComoPagina(ordenPagina, ordId, impreso), orden, papel)
            << InformeMaquetado(ComoPagina(dtrPreciosOrden(ordId), ordId, impreso), precios, papel)
            << InformeMaquetado(ComoPagina(dtrHistorial(ordId), ordId, impreso),
                                RegistrosHistorial(entradas), papel);
    int total = 0;
    for (const InformeMaquetado& p : std::as_const(*partes))
        total += p.Paginas();
    int anteriores = 0;
    for (InformeMaquetado& p : *partes) {
        p.Numerar(anteriores, total);
        anteriores += p.Paginas();
    }
    return true;
}

bool ExportarExpediente(int ordId, const QString& archivo, QString* error) {
    const QPageLayout pagina(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                             QMarginsF(0, 0, 0, 0));
    QList<InformeMaquetado> partes;
    if (!MaquetarExpediente(ordId, PapelEnTwips(pagina), &partes))
        return false;
    return EscribirPdf(
        archivo,
        [&](QPdfWriter& pdf) {
            QPageLayout sinMargenes = pagina;
            sinMargenes.setMinimumMargins(QMarginsF(0, 0, 0, 0));
            pdf.setPageLayout(sinMargenes);
            pdf.setTitle(QStringLiteral("Expediente de la Orden de Compra Nº %1").arg(ordId));
            QPainter painter;
            if (!painter.begin(&pdf))
                return false;
            const auto nuevaPagina = [&pdf] { return pdf.newPage(); };
            bool primera = true;
            for (const InformeMaquetado& p : partes) {
                // Each part starts on a page of its own.
                if (!primera && !pdf.newPage())
                    return false;
                primera = false;
                p.Pintar(painter, nuevaPagina);
            }
            return painter.end();
        },
        error);
}
