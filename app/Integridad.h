#pragma once

#include <QString>
#include <QStringList>

// Run at start-up once the shared connection is open, so that nobody signs in to work on a
// damaged database. A server looks after its own pages: nothing is found there.
QStringList RevisarBaseDeDatos(const QString& ruta);

// A damaged database is closed; the user is told which file it is and which backup copy in
// `carpetaCopias` is the latest, and then given the way out of a database that cannot be opened
// (its message and the options dialog).
void AvisarBaseDanada(const QString& ruta, const QString& carpetaCopias,
                      const QStringList& hallazgos);
