#pragma once

#include "FilasCompactas.h"

#include <QDateTime>
#include <QString>
#include <string_view>

// How dates are written into the database and read back from it (or from what a user typed).
namespace Fechas {
// "yyyy-MM-dd HH:mm:ss": sorts and compares as text the way the dates do.
QString Texto(const QDateTime& m);
// The stored form read fast, then the other usual forms and the locale's short date; an
// invalid QDateTime when none fits.
QDateTime Leer(const QString& s);
// The same for UTF-8 text as the file engine hands it over.
QDateTime Leer(const char* utf8, qsizetype largo);
// Appends to `columna` of `filas` the date the text is, as Leer reads it; false, with nothing
// appended, when it is no date.
bool AgregarLeida(std::string_view texto, FilasCompactas& filas, int columna);
} // namespace Fechas
