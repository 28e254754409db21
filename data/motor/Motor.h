#pragma once

#include "TiposBD.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>

// Whichever engine is behind a connection of the program: the file engine for a database file,
// the server for a postgresql:// URI. The data modules reach both through here and never ask
// which one they have; what differs between them stays on this side.
namespace Motor {

// Whether "db_path" names a server database (a postgresql:// or postgres:// URI) rather than a
// database file.
bool EsServidor(const QString& ruta);
bool EsServidor(const QSqlDatabase& db);

// (Re)registers the Qt connection `nombre` for the file or URI; false when the engine's driver
// is missing. A lock of another workstation is waited for `esperaMs` at most.
[[nodiscard]] bool Registrar(const QString& nombre, const QString& ruta, int esperaMs);
// What a registered connection points at: the database file, or the server URI it was
// registered with (`registrada`).
QString Ruta(const QSqlDatabase& db, const QString& registrada);
// Opens a registered connection and makes it ready for the program: why it cannot serve (the
// connection is closed again), or nothing when it is open.
// The password opens a file; a server's comes from libpq's own places.
FalloApertura Abrir(QSqlDatabase& db, const QString& ruta, const QString& password, int esperaMs);
// Whether the open connection's database guards itself with a server role per person (only a
// server's can).
bool ConRoles(const QSqlDatabase& db);
// Whether, besides, the connection is a person's role: its writes then go through the server's
// functions. The owner's own tools write as before.
bool Protegida(const QSqlDatabase& db);
// Whether the server writes the history of a change to a row of `tabla` made on this
// connection by itself, in the statement that changes the row.
bool HistorialDeFilaEnServidor(const QSqlDatabase& db, const QString& tabla);
// The server role of the person `login` on the server database `ruta`.
QString RolDePersona(const QString& ruta, const QString& login);
// Whether the server accepts `clave` as the password of the person `login` on the database
// `ruta`, proven by a short connection of its own. Fallo: the server could not be asked (`causa`
// in Spanish).
enum class PruebaClave { Aceptada, Rechazada, Fallo };
PruebaClave ProbarClave(const QString& ruta, const QString& login, const QString& clave,
                        QString* causa);
// As ProbarClave, and that short session of the authoriser grants the clerk `para` one
// authorisation of the order `ordId` (0: not yet saved) as it stands, for the clerk's save to
// use. Fallo also when the server refuses the grant (`causa` says why).
PruebaClave Conceder(const QString& ruta, const QString& login, const QString& clave, int ordId,
                     const QString& para, double cantidad, int empId, double precio,
                     const QString& moneda, QString* causa);
// Gives the person of "usuarios" `usuId` the password `clave` on the connection's protected
// server, through the server's own function (the password itself never travels).
[[nodiscard]] bool CambiarClaveRol(const QSqlDatabase& db, int usuId, const QString& login,
                                   const QString& clave, ErrorBD* error);
// Prepares a freshly opened connection as every connection of the program must be.
[[nodiscard]] bool Preparar(QSqlDatabase& db, int esperaMs);
// Whether a connection that was opened has been lost since: the server went away or ended the
// session, the database file was moved or deleted from its place, or opening it again failed.
bool Perdida(const QSqlDatabase& db);
// Opens a lost connection again, prepared as at first and under the name it was given; false,
// with why as a lost connection's error, while the server cannot be reached or the file is not
// back in its place.
[[nodiscard]] bool Reabrir(QSqlDatabase& db, int esperaMs, ErrorBD* error);
// The name the server shows for the connection's session (application_name), so that the
// office's administrator can tell the workstations apart; kept for when it is opened again.
// Nothing to do on the file.
[[nodiscard]] bool NombrarSesion(const QSqlDatabase& db, const QString& nombre, ErrorBD* error);
// Closes a connection, letting go first of what is kept prepared for it.
void Cerrar(QSqlDatabase& db);

// Runs every statement of `sql` (only one when !varias) with the values bound by position to
// its ? placeholders; the rows of the last statement that produces rows go into `filas`.
[[nodiscard]] bool Ejecutar(const QSqlDatabase& db, const QString& sql, const QVariantList& valores,
                            FilasLeidas* filas, bool varias, ErrorBD* error);
// Ejecutar for one statement, which shows its first `cuantas` rows to `primeras` (a copy of
// their own) before it reads the rest, when it has more: the file reads on after them, the
// server is asked for its rows one at a time.
[[nodiscard]] bool EjecutarAdelantando(const QSqlDatabase& db, const QString& sql,
                                       const QVariantList& valores, int cuantas,
                                       const std::function<void(FilasLeidas&&)>& primeras,
                                       FilasLeidas* filas, ErrorBD* error);
// Runs each statement as Ejecutar does (one only in each), on the server all in one round trip.
[[nodiscard]] bool EjecutarLote(const QSqlDatabase& db, const QList<Consulta>& consultas,
                                QList<FilasLeidas>* filas, ErrorBD* error);
// Runs an INSERT and gives the key it made, in column `columnaClave`.
[[nodiscard]] bool Insertar(const QSqlDatabase& db, const QString& sql, const QString& columnaClave,
                            const QVariantList& valores, QVariant* clave, ErrorBD* error);
// A statement without values or rows: transaction control.
[[nodiscard]] bool Simple(const QSqlDatabase& db, const char* sql, ErrorBD* error);
// How many rows the connection's last statement changed.
qlonglong Cambios(const QSqlDatabase& db);

// A SELECT of rows the transaction is about to change, so that no other workstation changes
// them before it ends: on the server the rows are locked (FOR UPDATE), but for a person's role of
// a protected server, which may not lock them and has the server lock them first; the file's
// write transaction already holds the whole file.
QString ParaModificar(const QSqlDatabase& db, const QString& select);

bool EnTransaccion(const QSqlDatabase& db);
// Whether the transaction IniciarEscritura started has not yet been committed or rolled back by
// the program, even if the connection under it was lost meanwhile.
bool EscrituraAbierta(const QSqlDatabase& db);
// Starts a transaction that writes: on the file it takes the write lock at once.
[[nodiscard]] bool IniciarEscritura(const QSqlDatabase& db, ErrorBD* error);
// A write inside the transaction IniciarEscritura started whose answer nobody waits for, such
// as a history line. On the server it travels with the COMMIT, a round trip fewer for every
// save; if it fails, the COMMIT does not run and Confirmar says so. On the file, or with no
// such transaction, it runs at once.
[[nodiscard]] bool EscribirAlConfirmar(const QSqlDatabase& db, const Consulta& escritura,
                                       ErrorBD* error);
// Commits that transaction, with what was left for its COMMIT.
[[nodiscard]] bool Confirmar(const QSqlDatabase& db, ErrorBD* error);
// Rolls it back, and what was left for its COMMIT is dropped.
void Deshacer(const QSqlDatabase& db);
// Undoes after a failure that was already told (ROLLBACK, ROLLBACK TO, RELEASE): should the
// engine refuse, it ends the transaction itself, so there is nothing more to do or tell.
void Revertir(const QSqlDatabase& db, const char* sql);

// What the file engine's quick check finds wrong in the pages of the connection's database file
// (the first few findings); empty when they are sound, and always for a server, which looks
// after its own.
QStringList RevisionRapida(const QSqlDatabase& db);

} // namespace Motor
