#include "Conexiones.h"

#include "ConexionServidor.h"
#include "Dialecto.h"
#include "Esquema.h"
#include "Mensajes.h"
#include "MotorPostgres.h"
#include "SentenciasPg.h"
#include "SentenciasSqlite.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <sqlite3.h>

QSqlDatabase gConexion;

namespace {

std::function<void()>& manejadorFallo() {
    static std::function<void()> f;
    return f;
}

// What each registered connection was given: a file path or a server URI.
QHash<QString, QString>& origenes() {
    static QHash<QString, QString> o;
    return o;
}

} // namespace

sqlite3* HandleDe(const QSqlDatabase& db) {
    if (!db.isValid() || !db.isOpen())
        return nullptr;
    const QVariant h = db.driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(h.data());
}

sqlite3* HandleConexion() {
    return HandleDe(gConexion);
}

bool EsServidor(const QString& ruta) {
    return ruta.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           ruta.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

bool PrepararConexion(QSqlDatabase& db) {
    if (db.driverName() == QLatin1String("QPSQL"))
        return ConexionServidor::Preparar(db);
    sqlite3* h = HandleDe(db);
    if (!h || !Dialecto::Registrar(h))
        return false;
    sqlite3_busy_timeout(h, kEsperaOcupadoMs);
    return true;
}

bool CrearOrigenDeDatos(const QString& nombre, const QString& ruta) {
    if (QSqlDatabase::contains(nombre)) {
        if (gConexion.isValid() && gConexion.connectionName() == nombre)
            gConexion = QSqlDatabase();
        {
            QSqlDatabase db = QSqlDatabase::database(nombre, false);
            CerrarBase(db);
        }
        QSqlDatabase::removeDatabase(nombre);
    }
    origenes().insert(nombre, ruta);
    if (EsServidor(ruta)) {
        if (ConexionServidor::Registrar(nombre, ruta))
            return true;
        Mensajes::MsgBox(QStringLiteral("DSN Creation Failed"));
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
    if (!db.isValid()) {
        Mensajes::MsgBox(QStringLiteral("DSN Creation Failed"));
        return false;
    }
    // mode=rw: opening never creates a missing database file.
    db.setDatabaseName(QUrl::fromLocalFile(ruta).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kEsperaOcupadoMs));
    db.setUserName(QStringLiteral("Admin"));
    return true;
}

QString RutaDeOrigen(const QString& nombre) {
    if (EsServidor(origenes().value(nombre)))
        return origenes().value(nombre);
    const QString uri = QSqlDatabase::database(nombre, false).databaseName();
    return QUrl(uri.left(uri.lastIndexOf(QLatin1Char('?')))).toLocalFile();
}

namespace {

QString Nativa(const QString& ruta) {
    return QStringLiteral("«") + QDir::toNativeSeparators(ruta) + QStringLiteral("»");
}

// Why the file cannot serve as the shared connection's database, or empty when it is open and
// ready in `db`. The causes are told apart for support; the user is shown one message for all.
QString Abrir(QSqlDatabase& db, const QString& ruta) {
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
    if (!db.open())
        return QStringLiteral("No se puede abrir el archivo %1 (%2).")
            .arg(Nativa(ruta), db.lastError().text());
    sqlite3* h = HandleDe(db);
    QString causa;
    if (!PrepararConexion(db))
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
    if (!causa.isEmpty())
        CerrarBase(db);
    return causa;
}

} // namespace

bool AbrirConexion(const QString& nombre, const QString& password) {
    CerrarConexion();
    QString causa = QStringLiteral("No está registrado el origen de datos %1.").arg(nombre);
    if (QSqlDatabase::contains(nombre)) {
        QSqlDatabase db = QSqlDatabase::database(nombre, false);
        const QString ruta = RutaDeOrigen(nombre);
        if (EsServidor(ruta)) {
            causa = ConexionServidor::Abrir(db, ruta);
        } else {
            db.setPassword(password);
            causa = Abrir(db, ruta);
        }
        if (causa.isEmpty())
            gConexion = db;
    }
    if (!causa.isEmpty())
        InformarConexionFallida(causa);
    return causa.isEmpty();
}

void InformarConexionFallida(const QString& causa) {
    Mensajes::MsgBox(
        QStringLiteral("No tiene suficientes permisos en la ubicación actual de la base de datos."),
        Mensajes::Botones::OK, Mensajes::Icono::Informacion, QStringLiteral("Atención"), causa);
    if (manejadorFallo())
        manejadorFallo()();
}

void CerrarConexion() {
    if (gConexion.isValid()) {
        CerrarBase(gConexion);
        gConexion = QSqlDatabase();
    }
}

void CerrarBase(QSqlDatabase& db) {
    if (sqlite3* h = HandleDe(db))
        SentenciasSqlite::Soltar(h);
    if (PGconn* h = MotorPostgres::HandleDe(db))
        SentenciasPg::Soltar(h);
    db.close();
}

bool ConexionAbierta() {
    return gConexion.isValid() && gConexion.isOpen();
}

void AlFallarConexion(std::function<void()> manejador) {
    manejadorFallo() = std::move(manejador);
}
