#include "Respaldo.h"

#include "Copia.h"
#include "Esquema.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "Reloj.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryFile>
#include <filesystem>
#include <sqlite3.h>

namespace {

enum class Resultado { Hecho, EnUso, Danada, Fallo };

std::filesystem::path RutaNativa(const QString& ruta) {
    return std::filesystem::path(ruta.toStdU16String());
}

Resultado Copiar(const QString& origen, const QString& temporal, int esperaMs) {
    sqlite3* fuente = Esquema::AbrirArchivo(origen, false, nullptr);
    if (!fuente)
        return Resultado::Fallo;
    sqlite3_busy_timeout(fuente, esperaMs);
    sqlite3* destino = nullptr;
    Resultado r = Resultado::Fallo;
    if (sqlite3_open_v2(temporal.toUtf8().constData(), &destino,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK) {
        if (sqlite3_backup* b = sqlite3_backup_init(destino, "main", fuente, "main")) {
            // All pages in one step, so the copy is one consistent state of the source.
            QElapsedTimer espera;
            espera.start();
            int rc;
            while ((rc = sqlite3_backup_step(b, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED) {
                if (espera.elapsed() >= esperaMs)
                    break;
                sqlite3_sleep(50);
            }
            const int fin = sqlite3_backup_finish(b);
            if (rc == SQLITE_DONE && fin == SQLITE_OK)
                r = Resultado::Hecho;
            else if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                r = Resultado::EnUso;
        }
    }
    if (sqlite3_close(destino) != SQLITE_OK)
        r = Resultado::Fallo;
    sqlite3_close(fuente);
    return r;
}

// A server database is copied row by row into a new file of the program's own, from one
// consistent state of the server while other workstations keep working.
Resultado CopiarServidor(const QString& origen, const QString& temporal, int esperaMs) {
    QFile::remove(temporal); // the copy creates the file with its schema
    switch (CopiarBaseDeDatos(origen, temporal, esperaMs).estado) {
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

// A copy is sound when its source was: the backup copies pages as they are.
bool CopiaSana(const QString& copia) {
    sqlite3* db = Esquema::AbrirArchivo(copia, false, nullptr);
    const bool sana = db && Esquema::RevisionRapida(db).isEmpty();
    sqlite3_close(db);
    return sana;
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

bool RespaldarBaseDeDatos(const QString& origen, const QString& carpeta, int esperaMs) {
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
            r = servidor ? CopiarServidor(origen, nombreTemporal, esperaMs)
                         : Copiar(origen, nombreTemporal, esperaMs);
            // The temporary file is private; the copy is as readable as the database itself.
            if (r == Resultado::Hecho && !servidor &&
                !QFile::setPermissions(nombreTemporal, QFileInfo(origen).permissions()))
                r = Resultado::Fallo;
            // A damaged database must not take the place of the last good copy.
            if (r == Resultado::Hecho && !CopiaSana(nombreTemporal)) {
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
