#pragma once

#include "TiposBD.h"

#include <QVariant>

// What a column's declared type makes of the values read from it, and what a stored command's
// declared parameter type makes of the values given to it; the same on every engine.
namespace Valores {
enum class TipoColumna { Libre, Entero, Doble, Booleano, Fecha, Texto };

TipoColumna TipoDeclarado(const char* decl);
// An int when it fits, so that callers comparing with plain numbers see what they expect.
QVariant Entero(qint64 v);
// The value for parameter n (from 1) of a stored command, converted to its declared type
// (TEXT, DOUBLE, INTEGER, SMALLINT, DATETIME); false with the reason when it does not convert.
[[nodiscard]] bool ConvertirParametro(const QVariant& v, const QString& tipo, int n,
                                      QVariant* salida, ErrorBD* error);
} // namespace Valores
