#include "Dibujo.h"

namespace Dibujo {

QPainterPath Hoja(const QRectF& contorno, qreal doblez) {
    QPainterPath hoja;
    hoja.moveTo(contorno.left(), contorno.top());
    hoja.lineTo(contorno.right() - doblez, contorno.top());
    hoja.lineTo(contorno.right(), contorno.top() + doblez);
    hoja.lineTo(contorno.right(), contorno.bottom());
    hoja.lineTo(contorno.left(), contorno.bottom());
    hoja.closeSubpath();
    return hoja;
}

} // namespace Dibujo
