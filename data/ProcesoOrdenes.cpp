#include "ProcesoOrdenes.h"

#include "Conexiones.h"
#include "EstadosOrden.h"
#include "Historial.h"
#include "Recordset.h"
#include "Usuarios.h"

namespace ProcesoOrdenes {
namespace {

bool LeerAutorizante(int ordid, int* autorizante) {
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("select AutorizanteId from ordenes where OrdId=?"), rs,
                        {ordid}))
        return false;
    *autorizante = rs.AbsolutePosition() > 0 ? rs.Campo(0).toInt() : 0;
    CerrarRecordset(rs, true);
    return true;
}

} // namespace

Procesador PuedePasar(const QString& login, const QString& estado) {
    // The same row sign-in found: the login is kept with the blanks typed around it.
    Usuarios::Derechos d;
    switch (Usuarios::LeerDerechos(login.trimmed(), &d)) {
    case Usuarios::Lectura::Fallo:
        return {Permiso::Fallo, 0};
    case Usuarios::Lectura::NoExiste:
        return {Permiso::UsuarioInexistente, 0};
    case Usuarios::Lectura::Hallado:
        break;
    }
    if (estado == EstadosOrden::kCumplida && !d.puedeCumplir)
        return {Permiso::NoPuedeCumplir, d.usuId};
    if (estado == EstadosOrden::kEnTramite && !d.puedeSolicitar)
        return {Permiso::NoPuedeSolicitar, d.usuId};
    return {Permiso::Permitido, d.usuId};
}

Paso PasarOrden(int ordid, const QString& estado, int usuId, const QString& login) {
    if (EstadosOrden::ExigeAutorizacion(estado)) {
        int autorizante = 0;
        if (!LeerAutorizante(ordid, &autorizante))
            return Paso::Fallo;
        if (autorizante <= 0)
            return Paso::NoAutorizada;
    }
    // The new state and its history line are written together or not at all.
    Transaccion t;
    Historial::Registro antes;
    Historial::Registro despues;
    Recordset rs;
    const QString ordenes = QStringLiteral("ordenes");
    const QString clave = QStringLiteral("OrdId");
    const bool ok =
        t.Activa() && Historial::Leer(ordenes, clave, ordid, &antes) &&
        AbrirRecordset(QStringLiteral("update ordenes set OrdEstado=?,ProcesadoId=? where OrdId=?"),
                       rs, {estado, usuId, ordid}) &&
        Historial::Leer(ordenes, clave, ordid, &despues) &&
        Historial::RegistrarRegistro(login, ordenes, clave, antes, despues, Historial::kEstado,
                                     ordid) &&
        t.Confirmar();
    return ok ? Paso::Hecho : Paso::Fallo;
}

} // namespace ProcesoOrdenes
