#pragma once

#include "frmMantenimiento.h"

class frmMantCentrosDeCosto : public frmMantenimiento {
    Q_OBJECT
public:
    frmMantCentrosDeCosto();
    static frmMantCentrosDeCosto* Instancia();
};
