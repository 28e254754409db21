#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

class QComboBox;
class QLabel;
class QPushButton;
namespace Ui {
class frmProcesar;
}

// Moves the orders ticked in the main window to one state. The caller sets `ids` and
// `estadoMostrado`, shows the
// dialog modally and refills its list afterwards; the dialog is built anew for every use.
class frmProcesar : public QDialog {
    Q_OBJECT
public:
    explicit frmProcesar(QWidget* padre = nullptr);
    ~frmProcesar() override;

    // Order ids of the ticked rows, first row to last, as decimal text.
    QStringList ids;
    // The state the main window's list showed them in: an order another workstation moved
    // since then is left as it is.
    QString estadoMostrado;
    // True once "Aceptar" has walked the orders (the dialog then closes by itself).
    bool procesado = false;

    // Shows the dialog modally for those orders; true when the orders were processed.
    static bool Procesar(QWidget* padre, const QStringList& ids, const QString& estadoMostrado);

    QLabel* Label1;
    QComboBox* cboEstado;
    QPushButton* cmdAceptar;
    QPushButton* cmdCancelar;

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override;

private:
    void Aceptar();
    void PasarOrdenes(const QString& estado, int usuId);

    const std::unique_ptr<Ui::frmProcesar> ui;
};
