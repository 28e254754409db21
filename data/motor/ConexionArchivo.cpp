#include "ConexionArchivo.h"

#include "Dialecto.h"
#include "Esquema.h"
#include "MotorSqlite.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QUrl>
#include <sqlite3.h>

namespace ConexionArchivo {
namespace {

QString Nativa(const QString& ruta) {
    return QStringLiteral("«") + QDir::toNativeSeparators(ruta) + QStringLiteral("»");
}

// Why the file cannot be opened at all, or empty.
QString Inaccesible(const QString& ruta) {
    const QFileInfo archivo(ruta);
    const QFileInfo carpeta(archivo.absolutePath());
    if (!carpeta.isDir())
        return QStringLiteral("No existe la carpeta %1.").arg(Nativa(carpeta.filePath()));
    if (!archivo.exists())
        return QStringLiteral("No existe el archivo %1.").arg(Nativa(ruta));
    if (!archivo.isFile())
        return QStringLiteral("%1 no es un archivo.").arg(Nativa(ruta));
    if (!archivo.isWritable())
        return QStringLiteral("El archivo %1 es de solo lectura o no tiene permiso para "
                              "modificarlo.")
            .arg(Nativa(ruta));
    // The engine writes its journal beside the database while saving.
    if (!carpeta.isWritable())
        return QStringLiteral("No tiene permiso para escribir en la carpeta %1.")
            .arg(Nativa(carpeta.filePath()));
    return {};
}

} // namespace

bool Registrar(const QString& nombre, const QString& ruta, int esperaMs) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
    if (!db.isValid())
        return false;
    // mode=rw: opening never creates a missing database file.
    db.setDatabaseName(QUrl::fromLocalFile(ruta).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(esperaMs));
    db.setUserName(QStringLiteral("Admin"));
    return true;
}

QString Ruta(const QSqlDatabase& db) {
    const QString uri = db.databaseName();
    return QUrl(uri.left(uri.lastIndexOf(QLatin1Char('?')))).toLocalFile();
}

bool Preparar(QSqlDatabase& db, int esperaMs) {
    sqlite3* h = MotorSqlite::HandleDe(db);
    if (!h || !Dialecto::Registrar(h))
        return false;
    sqlite3_busy_timeout(h, esperaMs);
    return true;
}

QString Abrir(QSqlDatabase& db, const QString& ruta, const QString& password, int esperaMs) {
    db.setPassword(password);
    if (const QString causa = Inaccesible(ruta); !causa.isEmpty())
        return causa;
    if (!db.open())
        return QStringLiteral("No se puede abrir el archivo %1 (%2).")
            .arg(Nativa(ruta), db.lastError().text());
    sqlite3* h = MotorSqlite::HandleDe(db);
    QString causa;
    if (!Preparar(db, esperaMs))
        causa = QStringLiteral("No se pudo preparar la conexión con %1.").arg(Nativa(ruta));
    else if (sqlite3_db_readonly(h, "main") != 0)
        causa = QStringLiteral("La base de datos %1 solo se pudo abrir para lectura.")
                    .arg(Nativa(ruta));
    else if (QString error; Esquema::Actualizar(h, &error) == Esquema::Actualizacion::Fallida)
        causa = QStringLiteral("La base de datos %1 no se pudo actualizar a la versión %2: %3.")
                    .arg(Nativa(ruta))
                    .arg(Esquema::kVersion)
                    .arg(error);
    else if (const QStringList faltan = Esquema::Verificar(h); !faltan.isEmpty())
        causa = QStringLiteral("La base de datos %1 no se puede usar: %2.")
                    .arg(Nativa(ruta), faltan.join(QStringLiteral("; ")));
    return causa;
}

} // namespace ConexionArchivo
