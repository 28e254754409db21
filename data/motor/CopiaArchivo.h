#pragma once

#include <QString>
#include <functional>

// A database file copied page by page by the file engine itself, as one consistent state of
// the file while other workstations keep working on it.
namespace Motor {
enum class CopiaArchivo { Hecha, EnUso, Fallo };
// Pages copied so far and pages in all, between one step of the copy and the next.
using ProgresoCopia = std::function<void(int hechas, int total)>;
// Copies `origen` over the file `destino` (a new, empty file or none). A lock that another
// workstation holds for longer than `esperaMs` gives EnUso.
[[nodiscard]] CopiaArchivo CopiarArchivo(const QString& origen, const QString& destino,
                                         int esperaMs, const ProgresoCopia& progreso);
// Whether the engine's quick check finds the file's pages sound.
bool ArchivoSano(const QString& ruta);
} // namespace Motor
