#include "CambiosOrden.h"

#include "Historial.h"

#include <algorithm>

namespace {

using Ordenes::PrecioAGuardar;

// A quote's days are what it is quoted for; the time the picker kept with them is not.
auto Clave(const PrecioAGuardar& p) {
    return std::make_tuple(p.empId, p.contacto, p.precio, p.moneda, p.formaPago, p.fecha.date(),
                           p.vigencia.date(), p.aceptado);
}

QList<PrecioAGuardar> Ordenados(QList<PrecioAGuardar> precios, bool aceptados) {
    precios.removeIf([aceptados](const PrecioAGuardar& p) { return p.aceptado != aceptados; });
    std::sort(precios.begin(), precios.end(),
              [](const PrecioAGuardar& a, const PrecioAGuardar& b) { return Clave(a) < Clave(b); });
    return precios;
}

bool MismosPrecios(const QList<PrecioAGuardar>& a, const QList<PrecioAGuardar>& b) {
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(),
        [](const PrecioAGuardar& x, const PrecioAGuardar& y) { return Clave(x) == Clave(y); });
}

} // namespace

QStringList CamposCambiados(const EstadoOrden& antes, const EstadoOrden& despues) {
    const Ordenes::OrdenAGuardar& a = antes.orden;
    const Ordenes::OrdenAGuardar& d = despues.orden;
    const std::pair<const char*, bool> campos[] = {
        {"OrdFecha", a.fecha != d.fecha},
        {"ProId", a.productoId.trimmed() != d.productoId.trimmed()},
        {"OrdCantidad", a.cantidad != d.cantidad},
        {"OrdUnidadMedida", a.unidad != d.unidad},
        {"OrdLugarEntrega", a.lugarEntrega != d.lugarEntrega},
        {"SolicitanteId", a.solicitanteId != d.solicitanteId},
        {"OrdPrioridad", a.prioridad != d.prioridad},
        {"SecId", a.sectorId != d.sectorId},
        {"CenCosId", a.centroCostoId != d.centroCostoId},
        {"OrdComentario", a.comentario != d.comentario},
        {"PrecioAceptado",
         !MismosPrecios(Ordenados(antes.precios, true), Ordenados(despues.precios, true))},
    };
    QStringList r;
    for (const auto& [campo, cambio] : campos)
        if (cambio)
            r << Historial::NombreCampo(QLatin1String(campo));
    if (!MismosPrecios(Ordenados(antes.precios, false), Ordenados(despues.precios, false)))
        r << QStringLiteral("Otros precios");
    return r;
}

bool MismasCotizaciones(const QList<Ordenes::PrecioAGuardar>& a,
                        const QList<Ordenes::PrecioAGuardar>& b) {
    return MismosPrecios(Ordenados(a, true), Ordenados(b, true)) &&
           MismosPrecios(Ordenados(a, false), Ordenados(b, false));
}
