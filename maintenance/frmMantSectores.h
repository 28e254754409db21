#pragma once

#include "frmMantenimiento.h"

class frmMantSectores : public frmMantenimiento {
    Q_OBJECT
public:
    frmMantSectores();
    static frmMantSectores* Instancia();
};
