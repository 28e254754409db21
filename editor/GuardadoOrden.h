#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// The values of one order as the editor writes them.
struct OrdenAGuardar {
    QDateTime fecha;
    double cantidad = 0;
    QString unidad;
    QString productoId; // decimal text, as the product box keeps it
    QString comentario;
    QString lugarEntrega;
    QString prioridad;
    int sectorId = 0;
    int centroCostoId = 0;
    int solicitanteId = 0;
    int autorizanteId = 0; // 0: not authorised
    QString login;         // only written for a new order
};

struct PrecioAGuardar {
    int empId = 0;
    QString contacto;
    double precio = 0;
    QString moneda;
    QString formaPago;
    QDateTime fecha;
    QDateTime vigencia;
    bool aceptado = false;
};

// Writes the order and replaces all its quotes, all or nothing. `ordid` 0 inserts a new order and
// on success receives its number; otherwise that order is updated. On failure the database is as
// it was, `ordid` is unchanged and the person has already been told what went wrong.
bool EscribirOrden(int& ordid, const OrdenAGuardar& orden, const QList<PrecioAGuardar>& precios);
