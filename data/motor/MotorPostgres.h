#pragma once

#include "TiposBD.h"

class QSqlDatabase;
struct pg_conn;
typedef struct pg_conn PGconn;

// The server engine's side of Motor: statements run through libpq on the Qt connection's own
// session, with the values sent apart from the text.
namespace MotorPostgres {
PGconn* HandleDe(const QSqlDatabase& db);
[[nodiscard]] bool Ejecutar(PGconn* db, const QString& sql, const QVariantList& valores,
                            FilasLeidas* filas, bool varias, ErrorBD* error);
// One statement whose first rows are shown before the rest arrive (Adelanto): the server sends
// them one at a time as it finds them.
[[nodiscard]] bool EjecutarAdelantando(PGconn* db, const QString& sql, const QVariantList& valores,
                                       FilasLeidas* filas, ErrorBD* error,
                                       const Adelanto& adelanto);
// The statements sent together and answered together: one round trip for all of them. UnaPorUna:
// nothing was done, and they are to run one by one (the connection cannot batch them, or the
// server refused a prepared one that can run again unprepared).
enum class Lote { Hecho, Fallo, UnaPorUna };
[[nodiscard]] Lote EjecutarLote(PGconn* db, const QList<Consulta>& consultas,
                                QList<FilasLeidas>* filas, ErrorBD* error);
[[nodiscard]] bool Simple(PGconn* db, const char* sql, ErrorBD* error);
bool EnTransaccion(PGconn* db);
qlonglong Cambios(PGconn* db);
// The server's error in the file engine's codes (a lock waited for too long is SQLITE_BUSY).
ErrorBD Error(const char* sqlstate, const QString& mensaje);
// The error of a connection that was lost, with the engine's text.
ErrorBD Perdida(const QString& mensaje);
// Whether libpq found the connection broken (the server went away or ended the session).
bool Caida(PGconn* db);
} // namespace MotorPostgres
