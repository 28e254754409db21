#include "Respaldo.h"

#include "Copia.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "Reloj.h"
#include "RespaldoArchivo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryFile>
#include <filesystem>

namespace {

enum class Resultado { Hecho, EnUso, Danada, Fallo };

std::filesystem::path RutaNativa(const QString& ruta) {
    return std::filesystem::path(ruta.toStdU16String());
}

Resultado De(RespaldoArchivo::Resultado r) {
    switch (r) {
    case RespaldoArchivo::Resultado::Hecha:
        return Resultado::Hecho;
    case RespaldoArchivo::Resultado::EnUso:
        return Resultado::EnUso;
    case RespaldoArchivo::Resultado::Fallo:
        break;
    }
    return Resultado::Fallo;
}

Resultado De(ResultadoCopia::Estado estado) {
    switch (estado) {
    case ResultadoCopia::Estado::Hecha:
        return Resultado::Hecho;
    case ResultadoCopia::Estado::EnUso:
        return Resultado::EnUso;
    case ResultadoCopia::Estado::OrigenDanado:
        return Resultado::Danada;
    default:
        return Resultado::Fallo;
    }
}

// A file is copied as it is, page by page. A server database is copied row by row into a new
// file of the program's own, from one consistent state of the server while other workstations
// keep working.
Resultado Copiar(const QString& origen, const QString& temporal, int esperaMs, bool servidor,
                 const RespaldoArchivo::Progreso& progreso) {
    if (!servidor)
        return De(RespaldoArchivo::Copiar(origen, temporal, esperaMs, progreso));
    QFile::remove(temporal); // the copy creates the file with its schema
    return De(CopiarBaseDeDatos(origen, temporal, esperaMs).estado);
}

const QString kSufijoDanada = QStringLiteral("-dañada");

} // namespace

QString NombreRespaldo(const QString& carpeta, const QDate& fecha) {
    return carpeta + QDir::separator() + QStringLiteral("bdquimbel") +
           QLocale().toString(fecha, QStringLiteral("ddMMMyyyy")) + QStringLiteral(".mdb");
}

QString NombreRespaldoDanado(const QString& carpeta, const QDate& fecha) {
    QString nombre = NombreRespaldo(carpeta, fecha);
    return nombre.insert(nombre.size() - 4, kSufijoDanada);
}

QString UltimoRespaldo(const QString& carpeta) {
    if (carpeta.isEmpty())
        return {};
    const QFileInfoList copias =
        QDir(carpeta).entryInfoList({QStringLiteral("bdquimbel*.mdb")}, QDir::Files, QDir::Time);
    for (const QFileInfo& c : copias)
        if (!c.completeBaseName().endsWith(kSufijoDanada))
            return c.filePath();
    return {};
}

bool RespaldarBaseDeDatos(const QString& origen, const QString& carpeta, int esperaMs,
                          const RespaldoArchivo::Progreso& progreso) {
    const bool servidor = EsServidor(origen);
    Resultado r = Resultado::Fallo;
    QString destino;
    {
        CursorOcupado ocupado;
        destino = NombreRespaldo(carpeta, Reloj::Hoy());
        QTemporaryFile temporal(carpeta + QStringLiteral("/bdquimbelXXXXXX.tmp"));
        temporal.setAutoRemove(false);
        if ((servidor || QFileInfo(origen).isFile()) && temporal.open()) {
            const QString nombreTemporal = temporal.fileName();
            temporal.close();
            r = Copiar(origen, nombreTemporal, esperaMs, servidor, progreso);
            // The temporary file is private; the copy is as readable as the database itself.
            if (r == Resultado::Hecho && !servidor &&
                !QFile::setPermissions(nombreTemporal, QFileInfo(origen).permissions()))
                r = Resultado::Fallo;
            // A damaged database must not take the place of the last good copy.
            if (r == Resultado::Hecho && !RespaldoArchivo::Sano(nombreTemporal)) {
                r = Resultado::Danada;
                destino = NombreRespaldoDanado(carpeta, Reloj::Hoy());
            }
            // What a damaged server gave could not be read whole: nothing of it is kept.
            const bool guardar = r == Resultado::Hecho || (r == Resultado::Danada && !servidor);
            if (guardar) {
                // Replaces the same day's earlier copy in one step.
                std::error_code error;
                std::filesystem::rename(RutaNativa(nombreTemporal), RutaNativa(destino), error);
                if (error)
                    r = Resultado::Fallo;
            }
            if (!guardar || r == Resultado::Fallo) {
                QFile::remove(nombreTemporal);
                QFile::remove(nombreTemporal + QStringLiteral("-journal"));
            }
        }
    }
    if (r == Resultado::EnUso)
        Mensajes::MsgBox(QStringLiteral("La copia de seguridad no se realizó porque la base de "
                                        "datos está siendo utilizada por otro usuario."),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Copia de seguridad automática"));
    else if (r == Resultado::Danada)
        Mensajes::MsgBox(
            QStringLiteral("La base de datos está dañada: la copia de seguridad no se realizó, "
                           "para no reemplazar una copia buena.") +
                (servidor ? QString()
                          : QStringLiteral(" La base dañada se guardó como «%1».")
                                .arg(QDir::toNativeSeparators(destino))),
            Mensajes::Botones::OK, Mensajes::Icono::Exclamacion,
            QStringLiteral("Copia de seguridad automática"));
    return r == Resultado::Hecho;
}
