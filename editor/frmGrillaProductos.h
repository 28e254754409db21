#pragma once

#include "GrillaBusqueda.h"

// Picks a product whose description contains the search text.
class frmGrillaProductos : public GrillaBusqueda {
    Q_OBJECT
public:
    explicit frmGrillaProductos(QWidget* parent = nullptr);

    QString descripcion;
    int proid = 0;

    QTableView* dtgProductos;

protected:
    void Buscar() override;
    void TomarFila() override;
};
