#pragma once

#include "TiposBD.h"

#include <QSqlDatabase>
#include <QString>

// The server side of the shared connection: a PostgreSQL URI in "db_path". The password never
// comes from the program's settings: libpq reads it from its usual places (~/.pgpass,
// PGPASSFILE, a service file).
namespace ConexionServidor {
// Registers the Qt connection for the URI; false when the driver is missing.
[[nodiscard]] bool Registrar(const QString& nombre, const QString& uri);
// Opens and prepares it; why it cannot serve (the caller then closes it), nothing when ready.
FalloApertura Abrir(QSqlDatabase& db, const QString& uri, int esperaMs);
// The name of the database the URI names.
QString Base(const QString& uri);
// Session settings every server connection of the program needs; a lock of another workstation
// is waited for `esperaMs` at most.
[[nodiscard]] bool Preparar(QSqlDatabase& db, int esperaMs);
// The libpq error of a failed connection, classified and told in Spanish (with the server's
// own words after).
FalloApertura Causa(const QString& uri, const QString& textoServidor);
} // namespace ConexionServidor
