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
// otherwise than the file's; walking the rows in list order would then stop on a different
// product on each engine. Both "at or after the text" and "not before the current row" are
// judged in the program's own order, so the same product is reached whichever engine sorted
// the list; on a list in that order it is the first such row, as before.
int BuscarDesde(const QStringList& descripciones, int desde, const QString& texto) {
    const bool hayActual =
        desde >= 0 && desde < descripciones.size() && !descripciones[desde].isNull();
    int mejor = -1;
    for (int i = 0; i < descripciones.size(); ++i) {
        const QString& d = descripciones[i];
        if (d.isNull() || CompararTexto(d, texto) < 0)
            continue;
        if (hayActual) {
            const int c = CompararTexto(d, descripciones[desde]);
            if (c < 0 || (c == 0 && i < desde))
                continue;
        } else if (i < desde) {
            continue;
        }
        if (mejor < 0 || CompararTexto(d, descripciones[mejor]) < 0)
            mejor = i;
    }
    return mejor;
}

} // namespace ProductosCalculos
