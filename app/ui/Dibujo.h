#pragma once

#include <QPainterPath>
#include <QRectF>

// Shapes that the program's drawn pictures share, so that they look alike wherever they appear.
namespace Dibujo {
// A sheet of paper filling `contorno`, its top right corner cut off `doblez` each way.
QPainterPath Hoja(const QRectF& contorno, qreal doblez);
} // namespace Dibujo
