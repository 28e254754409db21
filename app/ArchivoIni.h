#pragma once

#include <QString>
#include <optional>

// The settings store kept as an INI file (every platform but the Windows registry). Each value
// is read as the text written after "=", commas and backslashes included, because people edit
// this file by hand; a value between double quotes loses its quotes. Every call reads or writes
// the file itself, so a write that failed leaves nothing behind for later reads.
namespace ArchivoIni {

// The value's text, or nothing when the file cannot be read or holds no such value.
std::optional<QString> Leer(const QString& archivo, const QString& nombre);

// Writes the value, keeping every other line of the file as it stands. Gives whether the file
// now holds it; a missing file is created only when crear is true.
bool Escribir(const QString& archivo, const QString& nombre, const QString& valor, bool crear);

} // namespace ArchivoIni
