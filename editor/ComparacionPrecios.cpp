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
    QHash<QString, double> menoresVigentes;
    QHash<QString, int> cuantos;
    const auto anotar = [](QHash<QString, double>& h, const QString& clave, double precio) {
        auto it = h.find(clave);
        if (it == h.end())
            h.insert(clave, precio);
        else if (precio < *it)
            *it = precio;
    };
    for (const Ordenes::PrecioAGuardar& p : precios) {
        const QString clave = ClaveMoneda(p.moneda);
        anotar(menores, clave, p.precio);
        if (!PrecioVencido(p, hoy))
            anotar(menoresVigentes, clave, p.precio);
        ++cuantos[clave];
    }
    QList<MarcaPrecio> marcas;
    marcas.reserve(precios.size());
    for (const Ordenes::PrecioAGuardar& p : precios) {
        MarcaPrecio m;
        m.vencida = PrecioVencido(p, hoy);
        const QString clave = ClaveMoneda(p.moneda);
        m.menor = cuantos.value(clave) > 1 && p.precio == menores.value(clave);
        const auto vigente = menoresVigentes.constFind(clave);
        m.masCara = vigente != menoresVigentes.constEnd() && p.precio > *vigente;
        marcas << m;
    }
    return marcas;
}
