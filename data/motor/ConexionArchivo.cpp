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

using Tipo = FalloApertura::Tipo;

// Why the file cannot be opened at all, or nothing.
FalloApertura Inaccesible(const QString& ruta) {
    const QFileInfo archivo(ruta);
    const QFileInfo carpeta(archivo.absolutePath());
    if (!carpeta.isDir())
        return {Tipo::CarpetaInexistente,
                QStringLiteral("No existe la carpeta %1.").arg(Nativa(carpeta.filePath()))};
    if (!archivo.exists())
        return {Tipo::ArchivoInexistente,
                QStringLiteral("No existe el archivo %1.").arg(Nativa(ruta))};
    if (!archivo.isFile())
        return {Tipo::NoUtilizable, QStringLiteral("%1 no es un archivo.").arg(Nativa(ruta))};
    if (!archivo.isWritable())
        return {Tipo::SinPermiso,
                QStringLiteral("El archivo %1 es de solo lectura o no tiene permiso para "
                               "modificarlo.")
                    .arg(Nativa(ruta))};
    // The engine writes its journal beside the database while saving.
    if (!carpeta.isWritable())
        return {Tipo::SinPermiso, QStringLiteral("No tiene permiso para escribir en la carpeta %1.")
                                      .arg(Nativa(carpeta.filePath()))};
    return {};
}

// A file that SQLite opens but that holds nothing at all: an empty file, or a database that
// was created and never given the program's tables.
bool Vacia(sqlite3* h) {
    sqlite3_stmt* st = nullptr;
    bool vacia = false;
    if (sqlite3_prepare_v2(h, "SELECT count(*) FROM sqlite_master", -1, &st, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        vacia = sqlite3_column_int(st, 0) == 0;
    sqlite3_finalize(st);
    return vacia;
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

FalloApertura Abrir(QSqlDatabase& db, const QString& ruta, const QString& password, int esperaMs) {
    db.setPassword(password);
    if (FalloApertura f = Inaccesible(ruta); f.Hay())
        return f;
    if (!db.open())
        return {Tipo::Otro, QStringLiteral("No se puede abrir el archivo %1 (%2).")
                                .arg(Nativa(ruta), db.lastError().text())};
    sqlite3* h = MotorSqlite::HandleDe(db);
    if (!Preparar(db, esperaMs))
        return {Tipo::Otro,
                QStringLiteral("No se pudo preparar la conexión con %1.").arg(Nativa(ruta))};
    if (sqlite3_db_readonly(h, "main") != 0)
        return {Tipo::SinPermiso, QStringLiteral("La base de datos %1 solo se pudo abrir para "
                                                 "lectura.")
                                      .arg(Nativa(ruta))};
    if (Vacia(h))
        return {Tipo::BaseVacia, QStringLiteral("La base de datos %1 está vacía: no tiene las "
                                                "tablas del programa.")
                                     .arg(Nativa(ruta))};
    if (QString error; Esquema::Actualizar(h, &error) == Esquema::Actualizacion::Fallida)
        return {Tipo::NoUtilizable,
                QStringLiteral("La base de datos %1 no se pudo actualizar a la versión %2: %3.")
                    .arg(Nativa(ruta))
                    .arg(Esquema::kVersion)
                    .arg(error)};
    if (const QStringList faltan = Esquema::Verificar(h); !faltan.isEmpty())
        return {Tipo::NoUtilizable, QStringLiteral("La base de datos %1 no se puede usar: %2.")
                                        .arg(Nativa(ruta), faltan.join(QStringLiteral("; ")))};
    return {};
}

} // namespace ConexionArchivo
