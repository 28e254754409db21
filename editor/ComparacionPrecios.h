#pragma once

#include "Ordenes.h"

#include <QDate>
#include <QList>

// What the quote list tells the authoriser about each quote, next to the others of the order.
struct MarcaPrecio {
    bool vencida = false; // valid until a day before today
    // The lowest price of its currency (every one of them when tied). A currency quoted only
    // once has nothing to be compared with, so its quote is not marked.
    bool menor = false;
    // Another quote of its currency that has not expired is cheaper: an expired one is no
    // longer on offer.
    bool masCara = false;
};

// One mark per quote, in the same order. Currencies are compared as a person reads them:
// "Pesos" and "pesos " are one currency.
QList<MarcaPrecio> CompararPrecios(const QList<Ordenes::PrecioAGuardar>& precios, const QDate& hoy);

bool PrecioVencido(const Ordenes::PrecioAGuardar& precio, const QDate& hoy);
