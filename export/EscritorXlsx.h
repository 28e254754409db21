#pragma once

#include "Tabla.h"

// An XLSX workbook of one sheet: a bold, frozen header row with filters, numbers as numbers,
// dates as dates (with the time when it is not midnight), texts as they stand and always as
// string cells: a text beginning with "=" is shown as typed, never run as a formula.
namespace EscritorXlsx {
ResultadoEscritura Escribir(const QString& ruta, const Tabla& tabla,
                            const AvanceEscritura& avance = {});
} // namespace EscritorXlsx
