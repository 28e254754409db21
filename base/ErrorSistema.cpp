#include "ErrorSistema.h"

#include <cerrno>
#include <cstring>

namespace {

struct Causa {
    int numero;
    const char* texto;
};

// Told apart by the system's own text for each error number, which Qt passes on as it is.
constexpr Causa kCausas[] = {
    {ENOSPC, "No queda espacio en el disco."},
    {EDQUOT, "Se agotó el espacio en disco asignado a su usuario."},
    {EROFS, "El disco o la carpeta es de sólo lectura."},
    {EACCES, "No tiene permiso para escribir en esa carpeta o archivo."},
    {EPERM, "El sistema no permite esa operación sobre el archivo."},
    {ENOENT, "La carpeta no existe."},
    {ENOTDIR, "Una parte de la ruta no es una carpeta."},
    {EISDIR, "Ya hay una carpeta con ese nombre."},
    {ENAMETOOLONG, "El nombre del archivo es demasiado largo."},
    {EFBIG, "El archivo supera el tamaño que admite el disco o el sistema."},
    {EIO, "Error de lectura o escritura en el disco."},
    {EBUSY, "El archivo está en uso."},
};

} // namespace

QString ErrorDeArchivo(const QString& textoDelSistema) {
    const QString sistema = textoDelSistema.trimmed();
    for (const Causa& c : kCausas) {
        const QString delSistema = QString::fromLocal8Bit(std::strerror(c.numero));
        if (sistema.contains(delSistema, Qt::CaseInsensitive))
            return QString::fromUtf8(c.texto) + QStringLiteral(" (") + sistema + QLatin1Char(')');
    }
    if (sistema.isEmpty())
        return QStringLiteral("Error desconocido del sistema.");
    return QStringLiteral("El sistema informó: ") + sistema;
}
