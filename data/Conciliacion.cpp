#include "Conciliacion.h"

#include <QLocale>
#include <QSet>
#include <algorithm>

namespace {

QString Clave(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

QString Etiqueta(const QString& s, const QString& vacia) {
    return s.isEmpty() ? vacia : s;
}

// Sums of money, read by a person: in the locale's form, with its grouping.
QString Numero(double d) {
    return QLocale().toString(d, 'f', 2);
}

// One line per key present on either side: the key, both values, and a mark where they differ.
template <typename K, typename V, typename Texto, typename Valor>
void Lineas(QStringList* r, const QString& titulo, const QMap<K, V>& a, const QMap<K, V>& b,
            Texto texto, Valor valor, bool* iguales) {
    *r << titulo;
    QList<K> claves = a.keys() + b.keys();
    std::sort(claves.begin(), claves.end());
    claves.erase(std::unique(claves.begin(), claves.end()), claves.end());
    for (const K& k : claves) {
        const bool igual = a.contains(k) && b.contains(k) && a.value(k) == b.value(k);
        *iguales = *iguales && igual;
        *r << QStringLiteral("  %1 %2 %3%4")
                  .arg(texto(k), -24)
                  .arg(a.contains(k) ? valor(a.value(k)) : QStringLiteral("-"), 16)
                  .arg(b.contains(k) ? valor(b.value(k)) : QStringLiteral("-"), 16)
                  .arg(igual ? QString() : QStringLiteral("  <- DIFERENCIA"));
    }
}

} // namespace

void Conciliador::Orden(const QVariant& ordId, const QVariant& estado) {
    ordenes_ << ordId.toLongLong();
    ++estados_[Clave(estado)];
}

void Conciliador::Cotizacion(const QVariant& preId, const QVariant& ordId, const QVariant& moneda,
                             const QVariant& precio, const QVariant& aceptado) {
    cotizaciones_ << Cotiz{preId.toLongLong(), ordId.toLongLong(), Clave(moneda), precio.toDouble(),
                           aceptado.toBool()};
}

Conciliacion Conciliador::Resultado() const {
    Conciliacion c;
    c.ordenesPorEstado = estados_;
    QList<Cotiz> cotizaciones = cotizaciones_;
    std::sort(cotizaciones.begin(), cotizaciones.end(),
              [](const Cotiz& a, const Cotiz& b) { return a.preId < b.preId; });
    QMap<qint64, qint64> porOrden;
    for (qint64 o : ordenes_)
        porOrden.insert(o, 0);
    for (const Cotiz& p : cotizaciones) {
        if (p.aceptado)
            c.aceptadoPorMoneda[p.moneda] += p.precio;
        if (porOrden.contains(p.ordId))
            ++porOrden[p.ordId];
    }
    for (qint64 n : porOrden)
        ++c.ordenesPorCotizaciones[n];
    return c;
}

QStringList TextoConciliacion(const Conciliacion& origen, const Conciliacion& destino,
                              bool* iguales) {
    bool todo = true;
    QStringList r;
    r << QStringLiteral("%1 %2 %3")
             .arg(QStringLiteral("Conciliación"), -26)
             .arg(QStringLiteral("origen"), 16)
             .arg(QStringLiteral("destino"), 16);
    const auto entero = [](qint64 n) { return QString::number(n); };
    Lineas(
        &r, QStringLiteral("Órdenes por estado:"), origen.ordenesPorEstado,
        destino.ordenesPorEstado,
        [](const QString& s) { return Etiqueta(s, QStringLiteral("(sin estado)")); }, entero,
        &todo);
    Lineas(
        &r, QStringLiteral("Precios aceptados por moneda:"), origen.aceptadoPorMoneda,
        destino.aceptadoPorMoneda,
        [](const QString& s) { return Etiqueta(s, QStringLiteral("(sin moneda)")); }, Numero,
        &todo);
    Lineas(
        &r, QStringLiteral("Órdenes por número de cotizaciones:"), origen.ordenesPorCotizaciones,
        destino.ordenesPorCotizaciones,
        [](qint64 n) {
            return n == 1 ? QStringLiteral("1 cotización")
                          : QStringLiteral("%1 cotizaciones").arg(n);
        },
        entero, &todo);
    if (iguales)
        *iguales = todo;
    return r;
}
