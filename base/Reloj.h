#pragma once

#include <QDate>
#include <QDateTime>

// "Today" and "now" for the whole program; tests fix them so that dates, warning days and backup
// names come out the same on any day.
namespace Reloj {
QDateTime Ahora();
QDate Hoy();
void Fijar(const QDateTime& momento); // an invalid value goes back to the real clock
} // namespace Reloj
