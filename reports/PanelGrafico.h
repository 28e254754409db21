#pragma once

#include "ResumenCompras.h"

#include <QWidget>

class ModuloGraficos;
class QGraphicsView;
class QPushButton;

// One chart with its "Exportar gráfico..." button: the chart as it is drawn on screen goes to a
// PNG picture or a PDF page, chosen in the save dialog.
class PanelGrafico : public QWidget {
    Q_OBJECT
    // The chart's name: its button's tooltip, the file offered and the PDF's title. Set by the
    // window's .ui file.
    Q_PROPERTY(QString nombre MEMBER nombre_ WRITE PonerNombre)
public:
    explicit PanelGrafico(QWidget* padre = nullptr);
    explicit PanelGrafico(const QString& nombre, QWidget* padre = nullptr);

    // Each shows its chart (see ModuloGraficos), replacing the chart shown before. Without the
    // charts' module the panel stays empty.
    void ComprasPorMes(const ResumenCompras::ComprasPorMes& datos);
    void Totales(const QString& titulo, const QList<ResumenCompras::Total>& totales,
                 const QString& moneda);
    void OrdenesPorEstado(const QList<ResumenCompras::Cantidad>& estados);
    void PendientesVencidas(const QList<ResumenCompras::Cantidad>& sectores, int avisoDias);

    // Writes the chart to `ruta`, PNG or PDF by `pdf`; the file is written whole or not at all.
    // On failure `error` (when given) receives the reason, in Spanish.
    bool Escribir(const QString& ruta, bool pdf, QString* error = nullptr) const;
    void Exportar();

private:
    void PonerNombre(const QString& nombre);

    QString nombre_;
    const ModuloGraficos* graficos_;
    QGraphicsView* vista_ = nullptr;
    QPushButton* cmdExportar_;
};
