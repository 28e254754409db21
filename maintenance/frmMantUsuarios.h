#pragma once

#include "ReglasAprobacion.h"
#include "frmMantenimiento.h"

#include <optional>

class TablaLimites;

// The password box never shows the stored password: left empty it keeps it, typed it replaces
// it, and "Sin contraseña" (chkSinClave) sets the empty password on purpose.
class frmMantUsuarios : public frmMantenimiento {
    Q_OBJECT
public:
    frmMantUsuarios();
    static frmMantUsuarios* Instancia();

    QCheckBox* chkSinClave() const { return chkSinClave_; }
    TablaLimites* tblLimites() const { return tblLimites_; }
    void MostrarRegistro() override;

protected:
    void PonerEstado(bool edicion, bool alCrear = false) override;
    bool GuardarRegistro() override;
    bool GuardarDependientes(int clave) override;
    QVariantList ValoresInsertar() const override;
    QVariantList ValoresActualizar() const override;

private:
    // The password box follows the state and "Sin contraseña", and nothing else.
    void AjustarClave();

    QCheckBox* chkSinClave_ = nullptr;
    TablaLimites* tblLimites_ = nullptr;
    QString claveCodificada_;
    // On a server that keeps the passwords: the one to give the user's role, when there is one.
    std::optional<QString> claveServidor_;
    LimitesAutorizacion limites_;
};
