#pragma once

#include "frmMantenimiento.h"

class frmMantCategorias : public frmMantenimiento {
    Q_OBJECT
public:
    frmMantCategorias();
    // Shown without being modal (tools menu).
    static frmMantCategorias* Instancia();
    // Shown modally over `padre`; returns once it has closed. An instance already open without
    // being modal is closed first.
    static void AbrirModal(QWidget* padre);

    // Reloads the list (RecargarLista).
    void Actualizar(const SeleccionLista& seleccion) { RecargarLista(seleccion); }

protected:
    void Eliminar() override;
};
