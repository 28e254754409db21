#pragma once

#include <QIcon>
#include <QString>

// What the program says about itself: title, maker, version (from the build) and its icon.
namespace Programa {
QString Titulo();
QString Empresa();
// "major.minor.revision", each number without leading zeros.
QString Version();
QIcon Icono();
// The icon's artwork at any size, for windows that show it large.
QPixmap IconoPixmap(int lado);
} // namespace Programa
