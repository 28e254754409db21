#pragma once

#include "TiposBD.h"

#include <QString>

// The headline that leads the message when the database cannot be opened: what went wrong, in
// words the person can act on (a password, a server, a folder), with the full cause behind it.
QString TitularConexionFallida(FalloApertura::Tipo tipo);
// Shows that message; the engine's own text stays in its details, for support.
void AvisarConexionFallida(const FalloApertura& fallo);
