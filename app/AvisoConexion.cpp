#include "AvisoConexion.h"

#include "Mensajes.h"

QString TitularConexionFallida(FalloApertura::Tipo tipo) {
    using Tipo = FalloApertura::Tipo;
    switch (tipo) {
    case Tipo::SinPermiso:
        return QStringLiteral("No tiene suficientes permisos en la ubicación actual de la base "
                              "de datos.");
    case Tipo::Acceso:
        return QStringLiteral("El servidor de la base de datos no aceptó el usuario o la "
                              "contraseña.");
    case Tipo::NoAdmitido:
        return QStringLiteral("El servidor de la base de datos no admite conexiones de este "
                              "equipo o de este usuario. Consulte a la persona de sistemas.");
    case Tipo::ServidorInaccesible:
        return QStringLiteral("No se puede conectar con el servidor de la base de datos.");
    case Tipo::BaseInexistente:
        return QStringLiteral("La base de datos indicada no existe en el servidor.");
    case Tipo::CarpetaInexistente:
        return QStringLiteral("No existe la carpeta de la base de datos.");
    case Tipo::ArchivoInexistente:
        return QStringLiteral("No se encuentra el archivo de la base de datos.");
    case Tipo::BaseVacia:
        return QStringLiteral("La base de datos está vacía: no tiene las tablas del programa.");
    case Tipo::NoUtilizable:
        return QStringLiteral("La base de datos no se puede usar con esta versión del programa.");
    case Tipo::Danada:
        return QStringLiteral("La base de datos está dañada.");
    case Tipo::SinBiblioteca:
        return QStringLiteral("A este equipo le falta la biblioteca de PostgreSQL que el programa "
                              "necesita para una base de datos en un servidor. Consulte a la "
                              "persona de sistemas.");
    case Tipo::Ninguno:
    case Tipo::Otro:
        break;
    }
    return QStringLiteral("No se pudo abrir la base de datos.");
}

void AvisarConexionFallida(const FalloApertura& fallo) {
    // A damaged database is more than a wrong setting: its data may be lost.
    const bool grave = fallo.tipo == FalloApertura::Tipo::Danada;
    Mensajes::MsgBox(fallo.titular.isEmpty() ? TitularConexionFallida(fallo.tipo) : fallo.titular,
                     Mensajes::Botones::OK,
                     grave ? Mensajes::Icono::Critico : Mensajes::Icono::Informacion,
                     QStringLiteral("Atención"), fallo.causa);
}
