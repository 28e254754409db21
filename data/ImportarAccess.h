#pragma once

#include "Conciliacion.h"
#include "Copia.h"

#include <functional>

// An office's Access database brought into a database of the program.

struct ResultadoImportacion {
    // State, cause and the rows of each table (read from the file, found in the destination).
    ResultadoCopia copia;
    // What the file has that the program has no place for ("tabla", "tabla.columna"): not read.
    QStringList ignoradas;
    // Tables that later versions of the program added and the file does not have: left empty.
    QStringList ausentes;
    Conciliacion origen;
    Conciliacion destino;
    bool Hecha() const { return copia.Hecha(); }
};

// Rows done and rows in all, now and then while the rows are written.
using ProgresoImportacion = std::function<void(qint64 hechas, qint64 total)>;

// Whether the file is an Access database, by its first bytes and not by its name.
bool EsArchivoAccess(const QString& ruta);

// Reads every table of the program from the Access file `origen` (never written) and writes
// it into `destino`, a file or a server database, as CopiarBaseDeDatos does: created when
// missing, refused when it holds rows, one transaction, keys kept and counters past them. The
// file must have the tables and columns the program's first version had; it may lack what
// later versions added. The reconciliation is counted on both sides, and any difference, a
// damaged file or a row the destination refuses leaves the destination as it was.
[[nodiscard]] ResultadoImportacion ImportarAccess(const QString& origen, const QString& destino,
                                                  const ProgresoImportacion& progreso = {},
                                                  int esperaMs = kEsperaOcupadoMs);

// The result as the person reads it: rows per table, the reconciliation, what was ignored.
QStringList InformeImportacion(const ResultadoImportacion& r);
