#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// What the products window shows beside the record: its profit margin, and where typing the
// first letters of a description in the list takes it.
namespace ProductosCalculos {

struct Margen {
    QString porcentual;
    QString absoluto;
};

// Rounds to `decimales` places, a half going to the even digit.
double RedondearPar(double valor, int decimales);

// The margins of a stored price and cost, rounded to two decimals and written with the
// locale's decimal separator and no thousands separator. Without a cost above 0, or without a
// price, both are "0".
Margen CalcularMargen(const QVariant& precio, const QVariant& costo);

inline constexpr const char* kTituloLista =
    "PARA IR A UN PRODUCTO DIGITE LAS PRIMERAS LETRAS DE LA DESCRIPCION";

// The list caption for the typed text (the plain caption when nothing is typed).
QString TituloBusqueda(const QString& texto);

// The description that sorts first among those at or after `texto` and not before the current
// row `desde` (0-based), in the file engine's order (letter case and accents aside), whatever
// order the list is in; the first of equals. -1 when none does.
int BuscarDesde(const QStringList& descripciones, int desde, const QString& texto);

} // namespace ProductosCalculos
