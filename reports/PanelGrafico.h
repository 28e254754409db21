#pragma once

#include <QWidget>

class QChart;
class QChartView;
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

    // Shows `grafico` (the panel takes it), replacing the chart shown before.
    void Mostrar(QChart* grafico);

    // Writes the chart to `ruta`, PNG or PDF by `pdf`; the file is written whole or not at all.
    // On failure `error` (when given) receives the reason, in Spanish.
    bool Escribir(const QString& ruta, bool pdf, QString* error = nullptr) const;
    void Exportar();

private:
    void PonerNombre(const QString& nombre);

    QString nombre_;
    QChartView* vista_;
    QPushButton* cmdExportar_;
};
