#include "Iconos.h"

#include <QApplication>
#include <QFile>
#include <QStyle>

namespace {

struct DelEstilo {
    const char* nombre;
    QStyle::StandardPixmap pixmap;
};

constexpr DelEstilo kDelEstilo[] = {
    {"documento", QStyle::SP_FileIcon},       {"detalles", QStyle::SP_FileDialogDetailedView},
    {"guardar", QStyle::SP_DialogSaveButton}, {"contenido", QStyle::SP_FileDialogContentsView},
    {"recargar", QStyle::SP_BrowserReload},   {"cancelar", QStyle::SP_DialogCancelButton},
    {"atras", QStyle::SP_ArrowBack},          {"papelera", QStyle::SP_TrashIcon},
};

} // namespace

namespace Iconos {

QIcon De(const QString& nombre) {
    const QString archivo = QStringLiteral(":/iconos/%1.png").arg(nombre);
    if (QFile::exists(archivo))
        return QIcon(archivo);
    for (const DelEstilo& e : kDelEstilo)
        if (nombre == QLatin1String(e.nombre))
            return QApplication::style()->standardIcon(e.pixmap);
    return {};
}

} // namespace Iconos
