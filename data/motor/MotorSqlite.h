#pragma once

#include "TiposBD.h"

class QSqlDatabase;
struct sqlite3;

// The file engine's side of Motor: statements run through SQLite on the Qt connection's own
// handle, kept prepared from one run to the next.
namespace MotorSqlite {
sqlite3* HandleDe(const QSqlDatabase& db);
[[nodiscard]] bool Ejecutar(sqlite3* db, const QString& sql, const QVariantList& valores,
                            FilasLeidas* filas, bool varias, ErrorBD* error,
                            const Adelanto* adelanto = nullptr);
ErrorBD ErrorDe(sqlite3* db);
} // namespace MotorSqlite
