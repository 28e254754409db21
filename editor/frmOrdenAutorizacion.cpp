#include "Controles.h"
#include "Reloj.h"
#include "frmOrden.h"
#include "frmVerificarUsuario.h"

#include <QCheckBox>
#include <QScopedValueRollback>

bool frmOrden::ConfirmarAutorizante() {
    // The confirmation window asks whoever is chosen in this list, and only while it is shown.
    frmVerificarUsuario::LeerAutorizante = [this] { return dtcAutorizantes->Valor(); };
    frmVerificarUsuario::LeerOrden = [this] { return OrdenAAutorizar(); };
    bool autorizado = false;
    {
        frmVerificarUsuario verificar(this);
        verificar.exec();
        autorizado = verificar.autorizado;
    }
    frmVerificarUsuario::LeerAutorizante = nullptr;
    frmVerificarUsuario::LeerOrden = nullptr;
    if (autorizado)
        autorizacionConfirmada_ = Reloj::Ahora();
    return autorizado;
}

Usuarios::Concesion frmOrden::OrdenAAutorizar() const {
    const EstadoOrden e = EstadoActual();
    Usuarios::Concesion c;
    c.ordId = agregando ? 0 : ordid;
    c.cantidad = e.orden.cantidad;
    for (const Ordenes::PrecioAGuardar& p : e.precios)
        if (p.aceptado) {
            c.empId = p.empId;
            c.precio = p.precio;
            c.moneda = p.moneda;
            break;
        }
    return c;
}

void frmOrden::MarcarAutorizo(bool marcado) {
    const QScopedValueRollback<bool> propio(autorizoPorPrograma_, true);
    chkAutorizo->setChecked(marcado);
}

// Runs however the box changes: mouse, Space, or an assistive tool's toggle action.
void frmOrden::AutorizoCambiado(bool marcado) {
    if (autorizoPorPrograma_)
        return;
    if (marcado) {
        FiltrarAutorizantes();
        dtcAutorizantes->setEnabled(true);
        return;
    }
    if (dtcAutorizantes->Valor().isEmpty()) {
        dtcAutorizantes->SetValor(QString());
        dtcAutorizantes->setEnabled(false);
        return;
    }
    if (!ConfirmarAutorizante()) {
        // The authorisation stays, so the box says so.
        MarcarAutorizo(true);
        return;
    }
    dtcAutorizantes->SetValor(QString());
    autorizanteConfirmado_.clear();
    RecordarAutorizacion();
    dtcAutorizantes->setEnabled(false);
    HabilitarEdicion();
}

// Runs for every choice in the list, by mouse or keyboard, so that no authoriser stays chosen
// without the password.
void frmOrden::AutorizanteElegido() {
    if (dtcAutorizantes->Valor().isEmpty())
        return;
    if (ConfirmarAutorizante()) {
        autorizanteConfirmado_ = dtcAutorizantes->Valor();
        RecordarAutorizacion();
        MarcarAutorizo(true);
        return;
    }
    if (!autorizanteConfirmado_.isEmpty()) {
        // A failed re-confirmation does not undo an authorisation already given.
        dtcAutorizantes->SetValorGuardado(autorizanteConfirmado_);
        return;
    }
    dtcAutorizantes->SetValor(QString());
    MarcarAutorizo(false);
    dtcAutorizantes->setEnabled(false);
}
