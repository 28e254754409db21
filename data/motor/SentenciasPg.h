#pragma once

#include <QByteArray>

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

// Statements kept prepared on the server per connection: planning a statement costs the server
// more than running it, and a save runs the same few each time. A text is prepared the second
// time it runs, so that one run only once (a list with its values written into it) costs no more
// than before. Only row statements are kept (SELECT, INSERT, UPDATE, DELETE, WITH).
namespace SentenciasPg {

// The name `texto` is prepared under on this connection, prepared now if this is its second run;
// empty when it is to run unprepared. False when the server refused to prepare it: then `error`
// holds the server's answer, which the caller clears.
[[nodiscard]] bool Preparada(PGconn* db, const QByteArray& texto, int parametros,
                             QByteArray* nombre, PGresult** error);
// The statements kept are let go, on the server as well when it can still take a command: after
// a table changed shape, whose prepared statements the server then refuses.
void Olvidar(PGconn* db);
// What is kept for a connection about to close; the server lets its statements go by itself.
void Soltar(PGconn* db);
// Whether `texto` may change the shape of a table.
bool CambiaTablas(const QByteArray& texto);

} // namespace SentenciasPg
