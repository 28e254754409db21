#include "Programa.h"

#include "Dibujo.h"
#include "quimbel_version.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QVersionNumber>

namespace Programa {

QString Titulo() {
    return QStringLiteral("Quimbel");
}

QString Empresa() {
    return QStringLiteral("Tolvanex");
}

QString Version() {
    const QVersionNumber v = QVersionNumber::fromString(QStringLiteral(QUIMBEL_VERSION));
    return QStringLiteral("%1.%2.%3")
        .arg(v.majorVersion())
        .arg(v.minorVersion())
        .arg(v.microVersion());
}

QPixmap IconoPixmap(int lado) {
    QPixmap pm(lado, lado);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(lado / 64.0, lado / 64.0);

    // A teal tile with a purchase order sheet and a tick: the program is about approved orders.
    QLinearGradient fondo(0, 0, 0, 64);
    fondo.setColorAt(0, QColor(0x1f, 0x8a, 0x8a));
    fondo.setColorAt(1, QColor(0x0d, 0x4f, 0x66));
    p.setPen(Qt::NoPen);
    p.setBrush(fondo);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    p.setBrush(QColor(0xf7, 0xf4, 0xea));
    p.drawPath(Dibujo::Hoja(QRectF(16, 10, 34, 44), 10));
    p.setBrush(QColor(0xd8, 0xd2, 0xbf));
    QPainterPath doblez;
    doblez.moveTo(40, 10);
    doblez.lineTo(40, 20);
    doblez.lineTo(50, 20);
    doblez.closeSubpath();
    p.drawPath(doblez);

    p.setPen(QPen(QColor(0x9a, 0xa8, 0xb0), 2.4, Qt::SolidLine, Qt::RoundCap));
    for (int y : {22, 29, 36})
        p.drawLine(QPointF(21, y), QPointF(y == 22 ? 35 : 45, y));

    p.setPen(QPen(QColor(0xe0, 0x8a, 0x1e), 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath tilde;
    tilde.moveTo(24, 45);
    tilde.lineTo(30, 50);
    tilde.lineTo(42, 39);
    p.drawPath(tilde);
    return pm;
}

QIcon Icono() {
    QIcon icono;
    for (int lado : {16, 24, 32, 48, 64, 128, 256})
        icono.addPixmap(IconoPixmap(lado));
    return icono;
}

} // namespace Programa
