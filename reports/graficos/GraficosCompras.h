#pragma once

#include "ResumenCompras.h"

class QChart;

// The charts ModuloGraficos describes, each a new chart the caller owns.
namespace GraficosCompras {
QChart* ComprasPorMes(const ResumenCompras::ComprasPorMes& datos);
QChart* Totales(const QString& titulo, const QList<ResumenCompras::Total>& totales,
                const QString& moneda);
QChart* OrdenesPorEstado(const QList<ResumenCompras::Cantidad>& estados);
QChart* PendientesVencidas(const QList<ResumenCompras::Cantidad>& sectores, int avisoDias);
} // namespace GraficosCompras
