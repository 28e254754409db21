#pragma once

#include "frmMantenimiento.h"

// The password box never shows the stored password: left empty it keeps it, typed it replaces
// it, and "Sin contraseña" (chkSinClave) sets the empty password on purpose.
class frmMantUsuarios : public frmMantenimiento {
    Q_OBJECT
public:
    frmMantUsuarios();
    static frmMantUsuarios* Instancia();

    QCheckBox* chkSinClave() const { return chkSinClave_; }
    void MostrarRegistro() override;

protected:
    void PonerEstado(bool edicion, bool alCrear = false) override;
    bool GuardarRegistro() override;
    QVariantList ValoresInsertar() const override;
    QVariantList ValoresActualizar() const override;

private:
    // The password box follows the state and "Sin contraseña", and nothing else.
    void AjustarClave();

    QCheckBox* chkSinClave_ = nullptr;
    QString claveCodificada_;
};
