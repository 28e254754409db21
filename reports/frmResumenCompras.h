#pragma once

#include "ResumenCompras.h"

#include <QWidget>
#include <memory>

class PanelGrafico;
class QComboBox;
class QDateEdit;
class QPushButton;
class QTabWidget;
namespace Ui {
class frmResumenCompras;
}

// "Resumen de compras": what was spent per month, per sector and per cost centre, how many
// orders are in each state and which pending orders are overdue, as charts.
class frmResumenCompras : public QWidget {
    Q_OBJECT
public:
    // The one summary window, created (and its charts drawn) on first use, brought forward;
    // nullptr when the charts cannot be shown (the person has been told).
    static frmResumenCompras* Instancia();
    ~frmResumenCompras() override;

    // Reads everything again and redraws every chart.
    void Actualizar();

    QTabWidget* tabGraficos;
    QDateEdit* dtpDesde;
    QDateEdit* dtpHasta;
    QComboBox* cboMoneda;
    QPushButton* cmdActualizar;
    QPushButton* cmdCerrar;
    PanelGrafico* grfMeses;
    PanelGrafico* grfSectores;
    PanelGrafico* grfCentros;
    PanelGrafico* grfEstados;
    PanelGrafico* grfVencidas;

private:
    explicit frmResumenCompras(QWidget* padre = nullptr);
    // The period's totals read again, the currencies offered, and the two charts drawn.
    void LeerPeriodo();
    void DibujarPeriodo();

    QList<ResumenCompras::Total> porSector_;
    QList<ResumenCompras::Total> porCentro_;
    const std::unique_ptr<Ui::frmResumenCompras> ui;
};
