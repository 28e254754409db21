#pragma once

#include <QString>
#include <QStringList>

struct pg_conn;

// A server database that guards itself: each person of "usuarios" is a login role of the
// server, checked by the server's own password (SCRAM), member of one group role per database.
// The roles are cluster-wide, so their names carry the database's name.
namespace ProteccionPg {

// "<login in lower case, trimmed>@<database>": the role of a person.
QString NombreRol(const QString& login, const QString& base);
// "personas@<database>": the group every person's role belongs to.
QString NombreGrupo(const QString& base);

// Whether the database has been protected (it holds the marker the group may read).
bool Protegida(pg_conn* db);
// Whether the session is a person's role of that protected database (and not its owner's).
bool ComoPersona(pg_conn* db);

// The tables whose rows the server records in the history when a person changes one (the
// maintenance windows' own), in lower case.
const QStringList& TablasConHistorialPropio();
// What records them: the functions and a trigger on each of those tables.
QString HistorialDeFilas();

// Turns the database `db` (connected as its owner) into a protected one, or brings a protected
// one up to date: one line per person ("login, rol, contraseña temporal", or "(sin cambios)"
// for a role that already existed). Everything or nothing; false with the reason.
[[nodiscard]] bool Proteger(pg_conn* db, QStringList* lineas, QString* error);

// The server's verifier of a password for a role (SCRAM), made here so that the password itself
// never travels; empty when it cannot be made.
QString Verificador(pg_conn* db, const QString& rol, const QString& clave);

enum class Prueba { Aceptada, Rechazada, Negada, Fallo };
// Opens a short connection to the database of `uri` as `rol` with `clave` and closes it again:
// whether the server accepts that password. With `sql`, that session also runs it with `valores`
// (Negada: the server refused it). `causa` is the server's text on a failure.
Prueba ProbarClave(const QString& uri, const QString& rol, const QString& clave, QString* causa,
                   const QByteArray& sql = {}, const QList<QByteArray>& valores = {});
// Whether a server's refusal of a connection is about who connects (user or password).
bool EsRechazoDeAcceso(const QString& textoServidor);

} // namespace ProteccionPg
