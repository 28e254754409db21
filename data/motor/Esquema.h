#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;
struct pg_conn;

// The database as the program expects it: eight tables, two views and fourteen stored commands
// (kept in the table "comandos": name, declared parameter types, statements), and the tables
// added by later versions (the order history). PRAGMA user_version holds the schema's version.
namespace Esquema {
inline constexpr int kVersion = 14;
// The version from which the history is chained and append-only.
inline constexpr int kVersionCadena = 4;
// The version from which passwords are kept as hashes (Contrasena).
inline constexpr int kVersionContrasenas = 5;
// The version from which a server hashes the history through quimbel_huellas.
inline constexpr int kVersionHuellas = 13;
// The version from which it takes the chain's lock through quimbel_bloquear.
inline constexpr int kVersionBloqueo = 14;
// Creates a new database file with the whole schema; refuses to touch an existing file. Given a
// server URI, creates the schema in that (existing, empty) server database instead.
[[nodiscard]] bool Crear(const QString& ruta, QString* error);
// Every column name of the tables and views, as the program spells them.
QStringList Columnas();

enum class Actualizacion {
    AlDia, // already at this program's version
    Actualizada,
    MasNueva,   // made by a newer program: left alone, and Verificar refuses it
    SinVersion, // not made by this program (version 0): left alone for Verificar to judge
    Fallida,    // nothing was changed; `error` says why
};
// Brings a database of an older version up to kVersion: every missing step in one transaction,
// so a failure leaves the database as it was. Another workstation upgrading at the same moment
// is waited for, and its work is not done twice.
[[nodiscard]] Actualizacion Actualizar(sqlite3* db, QString* error);
[[nodiscard]] Actualizacion Actualizar(pg_conn* db, QString* error);
// What the database lacks (tables, columns, views, commands), or a newer schema version; empty
// when it is complete.
QStringList Verificar(sqlite3* db);
QStringList Verificar(pg_conn* db);
// What Verificar says of a server database that lacks the history's functions in C, as a copy
// restored on a server without the extension quimbel_cadena does.
QString FaltaHuellas();
// The schema version a file holds (0 when unreadable or not made by this program).
int Version(sqlite3* db);
// The tables and columns of this program's version that a file lacks, whatever its own version:
// what a file of an earlier version gains when it is brought up to date.
QStringList FaltaParaEstaVersion(sqlite3* db);
// What the engine's quick check finds wrong in the file's pages (the first few findings), or
// empty when they are sound. It reads every page once but does not compare indexes with tables.
QStringList RevisionRapida(sqlite3* db);
// The tables that hold the program's data, without the views and the stored commands.
QStringList TablasDeDatos();
// Opens a database file directly (the command-line tool and tests), with the dialect registered.
sqlite3* AbrirArchivo(const QString& ruta, bool crear, QString* error);
// Connects to a server database directly (the command-line tool and tests); nullptr with the
// reason when it cannot. Close it with PQfinish.
pg_conn* ConectarServidor(const QString& uri, QString* error);
// The server's side of Crear.
[[nodiscard]] bool CrearEnServidor(const QString& uri, QString* error);
} // namespace Esquema
