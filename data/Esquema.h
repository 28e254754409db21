#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

// The database as the program expects it: eight tables, two views and fourteen stored commands
// (kept in the table "comandos": name, declared parameter types, statements).
namespace Esquema {
inline constexpr int kVersion = 1;
// Creates a new database file with the whole schema; refuses to touch an existing file.
bool Crear(const QString& ruta, QString* error);
// What the database lacks (tables, columns, views, commands), or a newer schema version; empty
// when it is complete.
QStringList Verificar(sqlite3* db);
// What the engine's quick check finds wrong in the file's pages (the first few findings), or
// empty when they are sound. It reads every page once but does not compare indexes with tables.
QStringList RevisionRapida(sqlite3* db);
// The tables that hold the program's data, without the views and the stored commands.
QStringList TablasDeDatos();
// Opens a database file directly (the command-line tool and tests), with the dialect registered.
sqlite3* AbrirArchivo(const QString& ruta, bool crear, QString* error);
} // namespace Esquema
