#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;
struct pg_conn;

// The database as the program expects it: eight tables, two views and fourteen stored commands
// (kept in the table "comandos": name, declared parameter types, statements).
namespace Esquema {
inline constexpr int kVersion = 1;
// Creates a new database file with the whole schema; refuses to touch an existing file. Given a
// server URI, creates the schema in that (existing, empty) server database instead.
bool Crear(const QString& ruta, QString* error);
// Every column name of the tables and views, as the program spells them.
QStringList Columnas();
// What the database lacks (tables, columns, views, commands), or a newer schema version; empty
// when it is complete.
QStringList Verificar(sqlite3* db);
QStringList Verificar(pg_conn* db);
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
bool CrearEnServidor(const QString& uri, QString* error);
} // namespace Esquema
