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

    // Reloads the list from an SQL text.
    void Actualizar(const QString& sql) { RecargarLista(sql); }

protected:
    void Eliminar() override;
};
