#pragma once

#include "Conexiones.h"
#include "RespaldoArchivo.h"

#include <QDate>
#include <QString>

// Where the day's copy of the database goes: the folder as stored, the platform's separator,
// "bdquimbel", the date as "ddMMMyyyy" in the regional month abbreviation, ".mdb".
QString NombreRespaldo(const QString& carpeta, const QDate& fecha);
// The same name with "-dañada" before ".mdb": where a damaged database's copy is kept.
QString NombreRespaldoDanado(const QString& carpeta, const QDate& fecha);
// The most recent copy in the folder that was not kept as damaged, or empty.
QString UltimoRespaldo(const QString& carpeta);

// Copies the database at `origen` into `carpeta` under today's name, replacing a copy made
// earlier the same day. The engine's online backup gives a consistent copy even while another
// workstation writes; it is written under a temporary name and renamed into place, so a
// half-written file never carries the final name. A damaged database never replaces a copy: it
// is kept under NombreRespaldoDanado and the user is told. A database that another workstation
// keeps locked for longer than `esperaMs` is reported; any other failure is silent. Gives whether
// a sound copy is in place. A server database (`origen` a URI) is copied into a database file
// the program can open, from one consistent state of the server; a server whose data cannot be
// read whole for damage leaves the last good copy alone and the user is told. `progreso` hears how
// far the copy of a file got (a server's copy does not tell).
bool RespaldarBaseDeDatos(const QString& origen, const QString& carpeta,
                          int esperaMs = kEsperaOcupadoMs,
                          const RespaldoArchivo::Progreso& progreso = {});
