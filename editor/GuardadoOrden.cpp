#include "GuardadoOrden.h"

#include "Conexiones.h"
#include "Mensajes.h"

namespace {

bool ExisteOrden(int ordid, bool& existe) {
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("select count(*) from ordenes where OrdId=?"), rs, {ordid}))
        return false;
    existe = rs.AbsolutePosition() > 0 && rs.Campo(0).toInt() > 0;
    CerrarRecordset(rs, true);
    return true;
}

} // namespace

bool EscribirOrden(int& ordid, const OrdenAGuardar& o, const QList<PrecioAGuardar>& precios) {
    Transaccion t;
    if (!t.Activa())
        return false;

    int numero = ordid;
    Recordset rs;
    if (numero == 0) {
        if (!EjecutarComando(QStringLiteral("orden_insertar"), rs,
                             {o.fecha, o.cantidad, o.unidad, o.productoId, o.comentario,
                              o.lugarEntrega, o.prioridad, o.sectorId, o.centroCostoId,
                              o.solicitanteId, o.autorizanteId, o.login}))
            return false;
        // The number comes from this very insert: another workstation may have stored an order
        // of its own right after it.
        numero = rs.AbsolutePosition() > 0 ? rs.Campo(QStringLiteral("OrdId")).toInt() : 0;
        CerrarRecordset(rs, true);
        if (numero <= 0) {
            Mensajes::MsgBox(QStringLiteral("No fue posible obtener el número de la nueva Orden de "
                                            "Compra; no se guardó."),
                             Mensajes::Botones::OK, Mensajes::Icono::Exclamacion,
                             QStringLiteral("Atención"));
            return false;
        }
    } else {
        // Another workstation may have deleted the order meanwhile; its quotes must not be
        // stored under a number that no order has.
        bool existe = false;
        if (!ExisteOrden(numero, existe))
            return false;
        if (!existe) {
            Mensajes::MsgBox(
                QStringLiteral("La Orden de Compra Numero: ") + QString::number(numero) +
                    QStringLiteral(" ya no existe en la base de datos; no se guardó."),
                Mensajes::Botones::OK, Mensajes::Icono::Exclamacion, QStringLiteral("Atención"));
            return false;
        }
        if (!EjecutarComando(QStringLiteral("orden_actualizar"), rs,
                             {numero, o.fecha, o.cantidad, o.unidad, o.productoId, o.comentario,
                              o.lugarEntrega, o.prioridad, o.sectorId, o.centroCostoId,
                              o.solicitanteId, o.autorizanteId}))
            return false;
        if (!AbrirRecordset(QStringLiteral("delete from precios where OrdId=?"), rs, {numero}))
            return false;
        CerrarRecordset(rs, true);
    }

    for (const PrecioAGuardar& p : precios) {
        if (!EjecutarComando(QStringLiteral("precio_Insertar"), rs,
                             {numero, p.empId, p.contacto, p.precio, p.moneda, p.formaPago, p.fecha,
                              p.vigencia, p.aceptado ? 1 : 0}))
            return false;
    }
    if (!t.Confirmar())
        return false;
    ordid = numero;
    return true;
}
