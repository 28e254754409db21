#pragma once

#include "Tabla.h"

// CSV as a spreadsheet in a Spanish locale opens it with a double click: UTF-8 with a byte-order
// mark, ";" between fields, "," before decimals, dates as dd/mm/yyyy (and hh:mm:ss but at
// midnight), CR LF between rows; a field holding ";", '"' or a line break goes between quotes, its
// quotes doubled. A text that a spreadsheet would run as a formula starts with an apostrophe;
// numbers are written as numbers.
namespace EscritorCsv {
QByteArray Texto(const Tabla& tabla);
ResultadoEscritura Escribir(const QString& ruta, const Tabla& tabla,
                            const AvanceEscritura& avance = {});
} // namespace EscritorCsv
