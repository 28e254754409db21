#pragma once

#include "TiposBD.h"

#include <QSqlDatabase>
#include <QString>

// The file side of a connection of the program: an SQLite database file in "db_path", opened
// through Qt's driver and never created by opening it.
namespace ConexionArchivo {
// Registers the Qt connection for the file; false when the driver is missing.
[[nodiscard]] bool Registrar(const QString& nombre, const QString& ruta, int esperaMs);
// The file a registered connection points at.
QString Ruta(const QSqlDatabase& db);
// Opens and prepares it, bringing an older schema up to date; why the file cannot serve as the
// program's database, nothing when it is open and ready. A connection that cannot serve is
// left for the caller to close.
FalloApertura Abrir(QSqlDatabase& db, const QString& ruta, const QString& password, int esperaMs);
// The dialect's functions and collation, and how long a lock of another workstation is waited
// for: every file connection of the program needs them.
[[nodiscard]] bool Preparar(QSqlDatabase& db, int esperaMs);
} // namespace ConexionArchivo
