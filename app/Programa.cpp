#include "Programa.h"

#include "IconoDiferido.h"

#include "quimbel_version.h"

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

// The artwork is packaging/icono/quimbel.svg, drawn in the PNG sizes the desktop shows for the
// installed program; the same files are built into the program.
QPixmap IconoPixmap(int lado) {
    return QPixmap(QStringLiteral(":/icono/quimbel-256.png"))
        .scaled(lado, lado, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QIcon Icono() {
    QMap<int, QString> archivos;
    for (const int lado : {QUIMBEL_ICONO_LADOS}) {
        // The window manager draws a window's own icon small: the largest picture would only
        // be read for nothing. The desktop's launcher takes the installed icon theme's.
        if (lado <= 128)
            archivos.insert(lado, QStringLiteral(":/icono/quimbel-%1.png").arg(lado));
    }
    return QIcon(new IconoDiferido(std::move(archivos)));
}

} // namespace Programa
