#pragma once

#include "Ordenes.h"

#include <QDialog>
#include <QStringList>
#include <memory>

class QPushButton;
class QRadioButton;
namespace Ui {
class frmImprimirOpciones;
}

// Asks what the order list prints: the current view (its state in the caption) or the ticked
// orders only. It only records the choice; the caller reads it and deletes the dialog.
class frmImprimirOpciones : public QDialog {
    Q_OBJECT
public:
    explicit frmImprimirOpciones(const QString& estado, QWidget* parent = nullptr);
    ~frmImprimirOpciones() override;

    bool aceptado = false;
    // Index of the chosen option: 0 the current view, 1 the ticked orders.
    int Opcion() const;

    QRadioButton* optOpciones_0 = nullptr;
    QRadioButton* optOpciones_1 = nullptr;
    QPushButton* cmdAceptar = nullptr;
    QPushButton* cmdCancelar = nullptr;

protected:
    void reject() override;

private:
    const std::unique_ptr<Ui::frmImprimirOpciones> ui;
};

// The main window's "imprimir": asks with frmImprimirOpciones, then previews dtrOrdenes over the
// current view or over the ticked orders. recargarAlActivar is off meanwhile so that returning to
// the main window keeps its list and ticks.
void ImprimirListaDeOrdenes(const QString& estado, const Ordenes::Vista& vista,
                            const QStringList& idsMarcados, bool& recargarAlActivar,
                            QWidget* parent = nullptr);
