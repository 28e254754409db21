#pragma once

#include <QRect>

// Every window of the program opens inside the screen's available area (without the panels):
// one taller or wider than the area is made to fit, and one that would stand partly off the
// screen is moved in. Installed once for the whole program.
namespace VentanasEnPantalla {
void Instalar();
// The geometry (without the frame) that a window of `ventana` geometry takes on a screen whose
// available area is `area`, given the frame's thickness around it.
QRect Ajustar(const QRect& ventana, const QRect& area, const QMargins& marco);
} // namespace VentanasEnPantalla
