#pragma once

#include <QString>

#include <functional>

class QPdfWriter;

// A PDF written whole or not at all: `pintar` lays out and paints every page on a writer whose
// pages go to a temporary file beside `ruta`, which replaces it only when all was written; a
// full disk or a page that failed leaves an older file as it was. `error` gets the cause with
// the Spanish sentence first.
bool EscribirPdf(const QString& ruta, const std::function<bool(QPdfWriter&)>& pintar,
                 QString* error = nullptr);
