#pragma once

#include "Auditoria.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
namespace Ui {
class frmAuditoria;
}

// "Auditoría", for administrators: every line of the history, of every table and of deleted
// orders too, narrowed by days, user, kind of change, table and order number, newest first;
// whether the history's chain still holds; the lines shown saved to a spreadsheet or printed.
class frmAuditoria : public QWidget {
    Q_OBJECT
public:
    // The one auditor's window, created on first use, brought forward.
    static frmAuditoria* Instancia();
    ~frmAuditoria() override;

    // Reads the filters' choices and the chain again, then the lines.
    void Actualizar();
    // Reads the lines the filters ask for.
    void Filtrar();
    Auditoria::Filtro FiltroElegido() const;

    QDateEdit* dtpDesde;
    QDateEdit* dtpHasta;
    QComboBox* cboUsuario;
    QComboBox* cboTipo;
    QComboBox* cboTabla;
    QLineEdit* txtOrden;
    QPushButton* cmdActualizar;
    QLabel* lblCadena;
    QTreeWidget* grdAuditoria;
    QLabel* lblLineas;
    QPushButton* cmdExportar;
    QPushButton* cmdImprimir;
    QPushButton* cmdCerrar;

private:
    explicit frmAuditoria(QWidget* padre = nullptr);
    void Exportar();
    void Imprimir();
    // The filters in words, for the printed page.
    QString FiltroEnPalabras() const;

    QList<Historial::Entrada> entradas_;
    Auditoria::EstadoCadena cadena_;
    const std::unique_ptr<Ui::frmAuditoria> ui;
};
