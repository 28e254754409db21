#pragma once

#include "ResumenCompras.h"

#include <QtPlugin>

class QGraphicsView;
class QWidget;

// The charts of the purchase summary, drawn with Qt Charts by the module "quimbel-graficos"
// from what the data layer read. A view shows one chart; showing another replaces it.
class ModuloGraficos {
public:
    virtual ~ModuloGraficos() = default;

    // An empty chart view, drawn smooth; its viewport is the chart as the person sees it.
    virtual QGraphicsView* CrearVista(QWidget* padre) const = 0;

    // One line per currency, each against an axis of its own: pesos and dollars differ a
    // thousandfold, and on one axis the smaller would lie flat on the bottom.
    virtual void ComprasPorMes(QGraphicsView* vista,
                               const ResumenCompras::ComprasPorMes& datos) const = 0;
    // One bar per group, the amounts of one currency.
    virtual void Totales(QGraphicsView* vista, const QString& titulo,
                         const QList<ResumenCompras::Total>& totales,
                         const QString& moneda) const = 0;
    virtual void OrdenesPorEstado(QGraphicsView* vista,
                                  const QList<ResumenCompras::Cantidad>& estados) const = 0;
    virtual void PendientesVencidas(QGraphicsView* vista,
                                    const QList<ResumenCompras::Cantidad>& sectores,
                                    int avisoDias) const = 0;
};

#define ModuloGraficos_iid "com.tolvanex.Quimbel.ModuloGraficos/1"
Q_DECLARE_INTERFACE(ModuloGraficos, ModuloGraficos_iid)
