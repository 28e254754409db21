#include "GraficosCompras.h"
#include "ModuloGraficos.h"

#include <QChart>
#include <QChartView>
#include <QObject>

namespace {

class Graficos : public QObject, public ModuloGraficos {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ModuloGraficos_iid)
    Q_INTERFACES(ModuloGraficos)
public:
    QGraphicsView* CrearVista(QWidget* padre) const override {
        auto* vista = new QChartView(padre);
        vista->setRenderHint(QPainter::Antialiasing);
        return vista;
    }
    void ComprasPorMes(QGraphicsView* vista,
                       const ResumenCompras::ComprasPorMes& datos) const override {
        Mostrar(vista, GraficosCompras::ComprasPorMes(datos));
    }
    void Totales(QGraphicsView* vista, const QString& titulo,
                 const QList<ResumenCompras::Total>& totales,
                 const QString& moneda) const override {
        Mostrar(vista, GraficosCompras::Totales(titulo, totales, moneda));
    }
    void OrdenesPorEstado(QGraphicsView* vista,
                          const QList<ResumenCompras::Cantidad>& estados) const override {
        Mostrar(vista, GraficosCompras::OrdenesPorEstado(estados));
    }
    void PendientesVencidas(QGraphicsView* vista, const QList<ResumenCompras::Cantidad>& sectores,
                            int avisoDias) const override {
        Mostrar(vista, GraficosCompras::PendientesVencidas(sectores, avisoDias));
    }

private:
    // The view takes the new chart and gives the old one back, which is deleted here.
    static void Mostrar(QGraphicsView* vista, QChart* grafico) {
        auto* graficos = static_cast<QChartView*>(vista);
        QChart* anterior = graficos->chart();
        graficos->setChart(grafico);
        if (anterior != grafico)
            delete anterior;
    }
};

} // namespace

#include "Graficos.moc"
