#pragma once

#include <QString>
#include <functional>

// A database file copied as it is, page by page: the backup of a file. The copy is one state of
// the file while other workstations keep working on it.
namespace RespaldoArchivo {
enum class Resultado { Hecha, EnUso, Fallo };
// Pages copied so far and pages in all. Called between steps of the copy, on the thread that
// copies, so that a window can show how far a large file got.
using Progreso = std::function<void(int hechas, int total)>;
// Copies `origen` into the file `destino` (new, or empty). A lock held elsewhere for longer than
// `esperaMs` gives EnUso, any other failure Fallo. Damaged pages are copied as they are (Sano
// tells).
[[nodiscard]] Resultado Copiar(const QString& origen, const QString& destino, int esperaMs,
                               const Progreso& progreso = {});
// Whether the engine's quick check finds the pages of a database file sound.
bool Sano(const QString& ruta);
} // namespace RespaldoArchivo
