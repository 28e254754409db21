#pragma once

#include <QString>
#include <QStringList>

struct sqlite3;

// The database as the program expects it: eight tables, two views and fourteen stored commands
// (kept in the table "comandos": name, declared parameter types, statements), and the tables
// added by later versions (the order history). PRAGMA user_version holds the schema's version.
namespace Esquema {
inline constexpr int kVersion = 3;
// Creates a new database file with the whole schema; refuses to touch an existing file.
bool Crear(const QString& ruta, QString* error);

enum class Actualizacion {
    AlDia, // already at this program's version
    Actualizada,
    MasNueva,   // made by a newer program: left alone, and Verificar refuses it
    SinVersion, // not made by this program (version 0): left alone for Verificar to judge
    Fallida,    // nothing was changed; `error` says why
};
// Brings a database of an older version up to kVersion: every missing step in one transaction,
// so a failure leaves the file as it was. Another workstation upgrading at the same moment is
// waited for, and its work is not done twice.
Actualizacion Actualizar(sqlite3* db, QString* error);
// What the database lacks (tables, columns, views, commands), or a newer schema version; empty
// when it is complete.
QStringList Verificar(sqlite3* db);
// What the engine's quick check finds wrong in the file's pages (the first few findings), or
// empty when they are sound. It reads every page once but does not compare indexes with tables.
QStringList RevisionRapida(sqlite3* db);
// Opens a database file directly (the command-line tool and tests), with the dialect registered.
sqlite3* AbrirArchivo(const QString& ruta, bool crear, QString* error);
} // namespace Esquema
