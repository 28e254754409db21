#pragma once

#include "Conexiones.h"

// The statements of whichever engine is behind an open connection of the program. Errors come
// back with the SQLite result codes, whatever the engine, so the rest of the program tells
// them apart (and describes them) one way.
namespace Motor {
// Runs every statement of `sql` (only one when !varias) with the values bound by position to
// its ? placeholders; the rows of the last statement that produces rows go into rs.
bool Ejecutar(const QSqlDatabase& db, const QString& sql, const QVariantList& valores,
              Recordset& rs, bool varias, ErrorBD* error);
// Runs each statement as Ejecutar does (one only in each), on the server all in one round trip.
bool EjecutarLote(const QSqlDatabase& db, const QList<Consulta>& consultas, QList<Recordset>* rs,
                  ErrorBD* error);
// A statement without values or rows: transaction control.
bool Simple(const QSqlDatabase& db, const char* sql, ErrorBD* error);
bool EnTransaccion(const QSqlDatabase& db);
// Starts a transaction that writes: on SQLite it takes the write lock at once.
bool IniciarEscritura(const QSqlDatabase& db, ErrorBD* error);
// The key that the connection's last insert gave on the file engine (on the server an insert
// hands it back itself: InsertarEn), and how many rows its last statement changed.
qlonglong UltimaClave(const QSqlDatabase& db);
qlonglong Cambios(const QSqlDatabase& db);
bool EsServidor(const QSqlDatabase& db);
} // namespace Motor

// Shows each error to the user, one box each, and keeps them for UltimosErrores.
void ReportarErrores(const QList<ErrorBD>& errores);

namespace MotorSqlite {
bool Ejecutar(sqlite3* db, const QString& sql, const QVariantList& valores, Recordset& rs,
              bool varias, ErrorBD* error);
ErrorBD ErrorDe(sqlite3* db);
} // namespace MotorSqlite
