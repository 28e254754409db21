#include "Integridad.h"

#include "Conexiones.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "Respaldo.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

namespace {

QString Nativa(const QString& ruta) {
    return QStringLiteral("«") + QDir::toNativeSeparators(ruta) + QStringLiteral("»");
}

QString SobreLaCopia(const QString& carpeta) {
    if (carpeta.isEmpty())
        return QStringLiteral("No hay una carpeta de copias de seguridad configurada.");
    const QString copia = UltimoRespaldo(carpeta);
    if (copia.isEmpty())
        return QStringLiteral("No se encontró ninguna copia de seguridad en %1.")
            .arg(Nativa(carpeta));
    return QStringLiteral("La última copia de seguridad es %1, del %2.\r\nReemplace la base de "
                          "datos dañada por esa copia, o indique otra ubicación.")
        .arg(Nativa(copia),
             QLocale().toString(QFileInfo(copia).lastModified(), QLocale::ShortFormat));
}

} // namespace

QStringList RevisarBaseDeDatos(const QString& ruta) {
    if (EsServidor(ruta))
        return {};
    CursorOcupado ocupado;
    return RevisarBaseAbierta();
}

void AvisarBaseDanada(const QString& ruta, const QString& carpetaCopias,
                      const QStringList& hallazgos) {
    CerrarConexion();
    // One message: what to do about it first, what was found under its details.
    InformarConexionFallida(
        {FalloApertura::Tipo::Danada,
         QStringLiteral("La base de datos %1 está dañada: %2")
             .arg(Nativa(ruta), hallazgos.join(QStringLiteral("; "))),
         QStringLiteral("La base de datos %1 está dañada y no se puede usar.\r\n")
                 .arg(Nativa(ruta)) +
             SobreLaCopia(carpetaCopias)});
}
