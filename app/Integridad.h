#pragma once

#include <QString>

// Run at start-up once the shared connection is open, so that nobody signs in to work on a
// damaged database. A damaged one is closed; the user is told which file it is and which backup
// copy in `carpetaCopias` is the latest, and then given the way out of a database that cannot
// be opened (its message and the options dialog). Gives whether the database is sound.
bool ComprobarBaseDeDatos(const QString& ruta, const QString& carpetaCopias);
