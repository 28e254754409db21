#pragma once

#include <QString>
#include <QVariant>

// How values turn into text on screen and on paper.
namespace Formato {
// A number as the plain conversion shows it: up to 15 significant digits, no trailing zeros,
// the locale's decimal separator (0.1 + 0.2 shows as "0,3" in a comma locale).
QString Numero(double valor);
// A date in the locale's short form, with the time only when it is not midnight.
QString FechaCorta(const QDateTime& momento);
// Any stored value in its plain form: numbers as Numero, dates as FechaCorta, booleans as
// "Verdadero"/"Falso", NULL as empty text.
QString Valor(const QVariant& valor);
// A number typed by a person: the locale's form first, then the C form, so "1234,5" and
// "1234.5" both work in a comma locale. Gives false for anything else, "nan" and "inf"
// included.
bool LeerNumero(const QString& texto, double* valor);
} // namespace Formato
