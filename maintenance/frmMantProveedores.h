#pragma once

#include "frmMantenimiento.h"

// The order editor opens it with Instancia()->cmdMenu_Click(0): a new supplier, whatever the
// window was doing.
class frmMantProveedores : public frmMantenimiento {
    Q_OBJECT
public:
    frmMantProveedores();
    static frmMantProveedores* Instancia();

protected:
    QVariantList ValoresInsertar() const override;
    QVariantList ValoresActualizar() const override;
};
