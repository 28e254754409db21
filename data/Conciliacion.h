#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

// What an office checks after moving its orders from one database to another, counted the
// same way on both sides: orders per state, the sum of accepted prices per currency, and how
// many orders have each number of quotes.
struct Conciliacion {
    QMap<QString, qint64> ordenesPorEstado;
    QMap<QString, double> aceptadoPorMoneda;
    QMap<qint64, qint64> ordenesPorCotizaciones;
    bool operator==(const Conciliacion&) const = default;
};

// Gathers the rows of orders and quotes in any order. The sums are taken in the order of the
// quotes' keys, so that both sides add the same numbers in the same order and agree to the bit.
class Conciliador {
public:
    void Orden(const QVariant& ordId, const QVariant& estado);
    void Cotizacion(const QVariant& preId, const QVariant& ordId, const QVariant& moneda,
                    const QVariant& precio, const QVariant& aceptado);
    Conciliacion Resultado() const;

private:
    struct Cotiz {
        qint64 preId;
        qint64 ordId;
        QString moneda;
        double precio;
        bool aceptado;
    };
    QList<qint64> ordenes_;
    QMap<QString, qint64> estados_;
    QList<Cotiz> cotizaciones_;
};

// The reconciliation as lines of text side by side, the differences marked; `iguales` is false
// when there is any.
QStringList TextoConciliacion(const Conciliacion& origen, const Conciliacion& destino,
                              bool* iguales = nullptr);
