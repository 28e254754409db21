#include "Programa.h"

#include "IconoDiferido.h"

#include "quimbel_version.h"

#include <QDir>
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
    const QDir carpeta(QStringLiteral(":/icono"));
    for (const QString& archivo : carpeta.entryList({QStringLiteral("quimbel-*.png")})) {
        // The window manager draws a window's own icon small: the largest picture would only
        // be read for nothing. The desktop's launcher takes the installed icon theme's.
        const int lado =
            archivo.section(QLatin1Char('-'), 1).section(QLatin1Char('.'), 0, 0).toInt();
        if (lado <= 128)
            archivos.insert(lado, carpeta.filePath(archivo));
    }
    return QIcon(new IconoDiferido(std::move(archivos)));
}

} // namespace Programa
