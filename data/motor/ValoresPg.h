#pragma once

#include "FilasCompactas.h"
#include "Valores.h"

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
// The same in two steps, for rows that come in several results (one row at a time): the
// columns' names and how each is read, then the rows of each result added to `filas`.
void LeerColumnas(const PGresult* r, QStringList* nombres, QVector<Valores::TipoColumna>* tipos);
void AgregarFilas(const PGresult* r, const QVector<Valores::TipoColumna>& tipos,
                  FilasCompactas* filas);
} // namespace ValoresPg
