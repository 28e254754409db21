#pragma once

#include <QByteArray>

struct sqlite3;
struct sqlite3_stmt;

// Statements kept prepared per connection, so that a save, which runs the same few statements
// each time, does not parse them again. Only row statements are kept (SELECT, INSERT, UPDATE,
// DELETE); anything else is prepared, run and finalized as before.
namespace SentenciasSqlite {

struct Sentencia {
    sqlite3_stmt* st = nullptr; // null: only blanks or a comment were left
    int siguiente = 0;          // where the text's next statement begins
    bool guardada = false;      // kept for the next time: Devolver, never finalize
};

// The statement of `texto` that begins at byte `desde`; false (with the connection's error)
// when it does not prepare.
bool Tomar(sqlite3* db, const QByteArray& texto, int desde, Sentencia* s);
// Gives the statement back once its rows are read, whether it worked or not.
void Devolver(const Sentencia& s);
// Finalizes every statement kept for the connection: before it closes, or the close fails
// and the file stays open.
void Soltar(sqlite3* db);

} // namespace SentenciasSqlite
