#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// What the purchase summary draws, read from the database. Spending counts the accepted price of
// every order that is not "Anulada"; an order without an accepted quote spent nothing yet.
// Amounts in different currencies are never added together. Each function gives false when the
// database refused the query (the error has been shown).
namespace ResumenCompras {

// Accepted prices per calendar month, one series per currency.
struct ComprasPorMes {
    QVector<QDate> meses;             // first day of each month, oldest first
    QStringList monedas;              // as first written, largest total first
    QVector<QVector<double>> totales; // [moneda][mes]
};
// The `meses` calendar months up to and including the month of `hoy`.
[[nodiscard]] bool LeerComprasPorMes(const QDate& hoy, int meses, ComprasPorMes* resultado);

struct Total {
    QString grupo; // sector or cost centre
    QString moneda;
    double importe = 0;
};
// Spending of the orders dated from `desde` to `hasta`, both days included, per sector or per
// cost centre and currency, largest first.
[[nodiscard]] bool LeerTotalesPorSector(const QDate& desde, const QDate& hasta,
                                        QList<Total>* resultado);
[[nodiscard]] bool LeerTotalesPorCentroDeCosto(const QDate& desde, const QDate& hasta,
                                               QList<Total>* resultado);

struct Cantidad {
    QString nombre;
    int cantidad = 0;
};
// Orders per state: the four states in their usual order (also those without orders), then any
// other state found.
[[nodiscard]] bool LeerOrdenesPorEstado(QList<Cantidad>* resultado);
// Pending orders dated more than `avisoDias` day boundaries before `hoy` (the ones the list
// shows with a red date), per sector, most first.
[[nodiscard]] bool LeerPendientesVencidas(const QDate& hoy, int avisoDias,
                                          QList<Cantidad>* resultado);

// The name shown for a missing sector, cost centre or currency.
QString SinNombre();

} // namespace ResumenCompras
