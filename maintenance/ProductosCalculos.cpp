#include "ProductosCalculos.h"

#include "CompararTexto.h"
#include "Formato.h"

#include <cmath>

namespace ProductosCalculos {

double RedondearPar(double valor, int decimales) {
    if (!std::isfinite(valor))
        return valor;
    const double escala = std::pow(10.0, decimales);
    const double x = valor * escala;
    double entero = std::floor(x);
    const double resto = x - entero;
    if (resto > 0.5 || (resto == 0.5 && std::fmod(entero, 2.0) != 0.0))
        entero += 1.0;
    const double r = entero / escala;
    return r == 0.0 ? 0.0 : r; // no "-0"
}

Margen CalcularMargen(const QVariant& precio, const QVariant& costo) {
    const Margen cero{QStringLiteral("0"), QStringLiteral("0")};
    if (!costo.isValid() || costo.isNull() || !precio.isValid() || precio.isNull())
        return cero;
    bool okCosto = false;
    bool okPrecio = false;
    const double c = costo.toDouble(&okCosto);
    const double p = precio.toDouble(&okPrecio);
    if (!okCosto || !okPrecio || !(c > 0))
        return cero;
    return {Formato::Numero(RedondearPar((p - c) / c * 100.0, 2)),
            Formato::Numero(RedondearPar(p - c, 2))};
}

QString TituloBusqueda(const QString& texto) {
    if (texto.isEmpty())
        return QString::fromUtf8(kTituloLista);
    return QStringLiteral("Búsqueda: ") + texto + QStringLiteral(" (BackSapce comienza de nuevo)");
}

// The list comes in the engine's order, and a server's collation places signs and spaces
// otherwise than the file's; taking the first row at or after the text would then stop on a
// different product on each engine. The smallest description at or after the text, in the
// program's own order, is the same product whichever engine sorted the list, and on a list in
// that order it is the first such row.
int BuscarDesde(const QStringList& descripciones, int desde, const QString& texto) {
    int mejor = -1;
    for (int i = qMax(0, desde); i < descripciones.size(); ++i) {
        const QString& d = descripciones[i];
        if (d.isNull() || CompararTexto(d, texto) < 0)
            continue;
        if (mejor < 0 || CompararTexto(d, descripciones[mejor]) < 0)
            mejor = i;
    }
    return mejor;
}

} // namespace ProductosCalculos
