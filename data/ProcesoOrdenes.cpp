#include "ProcesoOrdenes.h"

#include "Conexiones.h"
#include "EstadosOrden.h"
#include "Historial.h"
#include "Recordset.h"
#include "Usuarios.h"
#include "Versiones.h"

namespace ProcesoOrdenes {
namespace {

const QString kOrdenes = QStringLiteral("ordenes");
const QString kClave = QStringLiteral("OrdId");

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

Pasada PasarOrden(int ordid, const QString& mostrado, const QString& estado, int usuId,
                  const QString& login) {
    // The new state and its history line are written together or not at all.
    Transaccion t;
    Historial::Registro antes;
    if (!t.Activa() || !Versiones::LeerParaModificar(kOrdenes, kClave, ordid, &antes))
        return {Paso::Fallo, {}};
    const auto leido = [&antes](const char* columna) {
        return antes.leidos.value(antes.Indice(QLatin1String(columna)));
    };
    const QString actual = leido("OrdEstado").toString();
    if (antes.Vacio() || actual != mostrado)
        return {Paso::Movida, actual};
    if (EstadosOrden::ExigeAutorizacion(estado) && leido("AutorizanteId").toInt() <= 0)
        return {Paso::NoAutorizada, {}};
    Historial::Registro despues;
    Recordset rs;
    // A protected server checks the caller's right and the state shown itself.
    const bool ok =
        (BaseProtegida()
             ? AbrirRecordset(QStringLiteral("SELECT quimbel_orden_estado(?, ?, ?)"), rs,
                              {ordid, mostrado, estado})
             : AbrirRecordset(
                   QStringLiteral("update ordenes set OrdEstado=?,ProcesadoId=? where OrdId=?"), rs,
                   {estado, usuId, ordid})) &&
        Historial::Leer(kOrdenes, kClave, ordid, &despues) &&
        Historial::RegistrarRegistro(login, kOrdenes, kClave, antes, despues, Historial::kEstado,
                                     ordid) &&
        t.Confirmar();
    return {ok ? Paso::Hecho : Paso::Fallo, {}};
}

} // namespace ProcesoOrdenes
