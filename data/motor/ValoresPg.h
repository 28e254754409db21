#pragma once

#include "FilasCompactas.h"

#include <QByteArray>
#include <QStringList>
#include <QVariant>
#include <QVector>

typedef struct pg_result PGresult;

// How values travel to and from the server: sent as text, read back typed by the column's type
// (flags as bool, as the file engine's BOOLEAN columns are read), with the program's own
// spelling of each column name.
namespace ValoresPg {
QByteArray Texto(const QVariant& v);
void LeerFilas(const PGresult* r, QStringList* nombres, FilasCompactas* filas);
} // namespace ValoresPg
