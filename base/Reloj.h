#pragma once

#include <QDate>
#include <QDateTime>

// "Today" and "now" for the whole program; tests fix them so that dates, warning days and backup
// names come out the same on any day.
namespace Reloj {
QDateTime Ahora();
QDate Hoy();
void Fijar(const QDateTime& momento); // an invalid value goes back to the real clock
QDateTime Fijado();                   // invalid while the real clock runs
// Called first thing in main. Without TZ, glibc reads the time zone file's status again on every
// conversion of a wall-clock time, and a list or a save converts one date per row.
void PrepararZonaHoraria();
} // namespace Reloj
