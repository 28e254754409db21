#pragma once

#include "ModeloLista.h"
#include "Recordset.h"

#include <QDialog>
#include <QItemSelection>

class QLabel;
class QPushButton;
class QTableView;

// What both pickers share: a caption over a read-only grid of search results, "Seleccionar"
// and "Cancelar". The caller sets the search text, runs exec() and reads the public values.
class GrillaBusqueda : public QDialog {
    Q_OBJECT
public:
    bool cancelado = true;

    int exec() override;

    QTableView* Grilla() const { return grilla_; }
    QPushButton* cmdSeleccionar;
    QPushButton* cmdCancelar;

protected:
    GrillaBusqueda(const QString& nombreGrilla, const QString& titulo, QWidget* parent);
    ~GrillaBusqueda() override;

    // Opens the search result into rs_ and names the grid's columns.
    virtual void Buscar() = 0;
    // Copies the record set's current row into the public values.
    virtual void TomarFila() = 0;
    void MostrarResultado(const QList<ColumnaLista>& columnas);
    void reject() override;

    Recordset rs_;

private:
    void FilaCambiada();
    void SeleccionCambiada(const QItemSelection& elegidas);
    QTableView* grilla_;
    ModeloLista* modelo_ = nullptr;
};
