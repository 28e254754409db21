#pragma once

#include "Ordenes.h"

#include <QList>
#include <QStringList>

// An order and its quotes as the editor would write them at that moment.
struct EstadoOrden {
    Ordenes::OrdenAGuardar orden;
    QList<Ordenes::PrecioAGuardar> precios;
};

// The fields in which `despues` differs from `antes`, named as the order's history names them:
// every field the history keeps for an order, the accepted quote, and the other quotes taken
// together whatever their order in the list.
QStringList CamposCambiados(const EstadoOrden& antes, const EstadoOrden& despues);

// The same quotes with the same values, whatever their order in the list.
bool MismasCotizaciones(const QList<Ordenes::PrecioAGuardar>& a,
                        const QList<Ordenes::PrecioAGuardar>& b);
