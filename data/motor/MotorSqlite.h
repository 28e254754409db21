#pragma once

#include "TiposBD.h"

#include <functional>

class QSqlDatabase;
struct sqlite3;

// The file engine's side of Motor: statements run through SQLite on the Qt connection's own
// handle, kept prepared from one run to the next.
namespace MotorSqlite {
sqlite3* HandleDe(const QSqlDatabase& db);
// A statement that gives more than `filas` rows shows them to `mostrar` (a copy of their own)
// before it reads the rest.
struct Adelanto {
    int filas = 0;
    std::function<void(FilasLeidas&&)> mostrar;
};
[[nodiscard]] bool Ejecutar(sqlite3* db, const QString& sql, const QVariantList& valores,
                            FilasLeidas* filas, bool varias, ErrorBD* error,
                            const Adelanto* adelanto = nullptr);
ErrorBD ErrorDe(sqlite3* db);
} // namespace MotorSqlite
