#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

class QPushButton;
class QTreeWidget;
namespace Ui {
class frmHistorial;
}

// The history of one order, read-only: one line per change, newest first (when, who, what), with
// the fields it changed beneath it, old → new. It exists once: opening it for another order
// shows that order's history instead.
class frmHistorial : public QWidget {
    Q_OBJECT
public:
    static frmHistorial* Mostrar(int ordId);
    static frmHistorial* Abierta(); // nullptr when it is not open
    ~frmHistorial() override;

    int ordid = 0;
    // Reads the order's history again.
    void Cargar();

    QTreeWidget* grdHistorial;
    QPushButton* cmdImprimir;
    QPushButton* cmdExpediente;
    QPushButton* cmdCerrar;

private:
    frmHistorial();
    void Expediente();

    static QPointer<frmHistorial> instancia_;
    const std::unique_ptr<Ui::frmHistorial> ui;
};
