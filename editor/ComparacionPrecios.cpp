#include "ComparacionPrecios.h"

#include <QHash>

namespace {

QString ClaveMoneda(const QString& moneda) {
    return moneda.trimmed().toCaseFolded();
}

} // namespace

bool PrecioVencido(const Ordenes::PrecioAGuardar& precio, const QDate& hoy) {
    return precio.vigencia.isValid() && precio.vigencia.date() < hoy;
}

QList<MarcaPrecio> CompararPrecios(const QList<Ordenes::PrecioAGuardar>& precios,
                                   const QDate& hoy) {
    QHash<QString, double> menores;
    QHash<QString, int> cuantos;
    for (const Ordenes::PrecioAGuardar& p : precios) {
        const QString clave = ClaveMoneda(p.moneda);
        auto it = menores.find(clave);
        if (it == menores.end())
            menores.insert(clave, p.precio);
        else if (p.precio < *it)
            *it = p.precio;
        ++cuantos[clave];
    }
    QList<MarcaPrecio> marcas;
    marcas.reserve(precios.size());
    for (const Ordenes::PrecioAGuardar& p : precios) {
        MarcaPrecio m;
        m.vencida = PrecioVencido(p, hoy);
        const QString clave = ClaveMoneda(p.moneda);
        m.menor = cuantos.value(clave) > 1 && p.precio == menores.value(clave);
        m.masCara = p.precio > menores.value(clave);
        marcas << m;
    }
    return marcas;
}
