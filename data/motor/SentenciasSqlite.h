#pragma once

#include "Valores.h"

#include <QByteArray>
#include <QStringList>
#include <QVector>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// Statements kept prepared per connection, so that a save, which runs the same few statements
// each time, does not parse them again. Only row statements are kept (SELECT, INSERT, UPDATE,
// DELETE); anything else is prepared, run and finalized as before.
namespace SentenciasSqlite {

// A statement's result columns as last read: names and declared types are the same at every
// run until the statement is prepared again, which SQLite counts.
struct Columnas {
    int preparada = -1; // SQLITE_STMTSTATUS_REPREPARE when they were read
    QStringList nombres;
    QVector<Valores::TipoColumna> tipos;
};

struct Sentencia {
    sqlite3_stmt* st = nullptr;         // null: only blanks or a comment were left
    int siguiente = 0;                  // where the text's next statement begins
    bool guardada = false;              // kept for the next time: Devolver, never finalize
    std::shared_ptr<Columnas> columnas; // kept with it; never null
};

// The statement of `texto` that begins at byte `desde`; false (with the connection's error)
// when it does not prepare.
[[nodiscard]] bool Tomar(sqlite3* db, const QByteArray& texto, int desde, Sentencia* s);
// Gives the statement back once its rows are read, whether it worked or not.
void Devolver(const Sentencia& s);
// Finalizes every statement kept for the connection: before it closes, or the close fails
// and the file stays open.
void Soltar(sqlite3* db);

} // namespace SentenciasSqlite
