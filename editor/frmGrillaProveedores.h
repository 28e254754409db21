#pragma once

#include "GrillaBusqueda.h"

// Picks a supplier whose trade name or company name contains the search text.
class frmGrillaProveedores : public GrillaBusqueda {
    Q_OBJECT
public:
    explicit frmGrillaProveedores(QWidget* parent = nullptr);

    QString nombrefantasia;
    int empid = 0;

    QTableView* dtgProveedores;

protected:
    void Buscar() override;
    void TomarFila() override;
};
