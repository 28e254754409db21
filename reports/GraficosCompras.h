#pragma once

#include "ResumenCompras.h"

class QChart;

// The charts of the purchase summary, drawn from what the data layer read. Each gives a new
// chart the caller owns.
namespace GraficosCompras {
// One line per currency, each against an axis of its own: pesos and dollars differ a
// thousandfold, and on one axis the smaller would lie flat on the bottom.
QChart* ComprasPorMes(const ResumenCompras::ComprasPorMes& datos);
// One bar per group, the amounts of one currency.
QChart* Totales(const QString& titulo, const QList<ResumenCompras::Total>& totales,
                const QString& moneda);
QChart* OrdenesPorEstado(const QList<ResumenCompras::Cantidad>& estados);
QChart* PendientesVencidas(const QList<ResumenCompras::Cantidad>& sectores, int avisoDias);
} // namespace GraficosCompras
