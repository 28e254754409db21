#pragma once

#include <QIcon>
#include <QString>

// The program's pictures, by name. The drawn ones are files in iconos/ of the source tree (built
// in as resources, each at 32 and 64 pixels), so that they look the same with or without an icon
// theme; the plain file commands take the style's own pictures.
namespace Iconos {
// "nuevo", "buscar", "imprimir", "eliminar", "sumar", "procesar", "salir", "agregar", and the
// style's "documento", "detalles", "guardar", "contenido", "recargar", "cancelar", "atras",
// "papelera". An unknown name gives an empty icon.
QIcon De(const QString& nombre);
} // namespace Iconos
