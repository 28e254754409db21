#include "ConexionServidor.h"

#include "Esquema.h"
#include "MotorPostgres.h"
#include "ProteccionPg.h"

#include <QSqlError>
#include <libpq-fe.h>

namespace ConexionServidor {
namespace {

QString Citar(const QString& v) {
    QString r = v;
    r.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + r + QLatin1Char('\'');
}

// The URI's parts as libpq reads them; empty (with the reason) when it cannot be read.
QHash<QString, QString> Partes(const QString& uri, QString* error) {
    char* err = nullptr;
    PQconninfoOption* op = PQconninfoParse(uri.toUtf8().constData(), &err);
    QHash<QString, QString> r;
    if (!op) {
        if (error)
            *error = QString::fromUtf8(err ? err : "sin memoria").trimmed();
        PQfreemem(err);
        return r;
    }
    for (PQconninfoOption* o = op; o->keyword; ++o)
        if (o->val && *o->val)
            r.insert(QString::fromUtf8(o->keyword), QString::fromUtf8(o->val));
    PQconninfoFree(op);
    return r;
}

QString Servidor(const QHash<QString, QString>& p) {
    const QString host = p.value(QStringLiteral("host"), QStringLiteral("localhost"));
    const QString db = p.value(QStringLiteral("dbname"), p.value(QStringLiteral("user")));
    return QStringLiteral("«%1» en «%2»").arg(db, host);
}

} // namespace

bool Registrar(const QString& nombre, const QString& uri) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nombre);
    if (!db.isValid())
        return false;
    const QHash<QString, QString> p = Partes(uri, nullptr);
    QStringList opciones;
    for (auto it = p.constBegin(); it != p.constEnd(); ++it) {
        const QString& k = it.key();
        if (k == QLatin1String("host"))
            db.setHostName(it.value());
        else if (k == QLatin1String("port"))
            db.setPort(it.value().toInt());
        else if (k == QLatin1String("user"))
            db.setUserName(it.value());
        else if (k == QLatin1String("dbname"))
            db.setDatabaseName(it.value());
        else if (k != QLatin1String("password"))
            opciones << k + QLatin1Char('=') + Citar(it.value());
    }
    // An office server that does not answer must not freeze the program for minutes.
    if (!p.contains(QStringLiteral("connect_timeout")))
        opciones << QStringLiteral("connect_timeout=10");
    db.setConnectOptions(opciones.join(QLatin1Char(';')));
    return true;
}

QString Causa(const QString& uri, const QString& textoServidor) {
    const QHash<QString, QString> p = Partes(uri, nullptr);
    const QString t = textoServidor.trimmed();
    const QString lower = t.toLower();
    QString es;
    if (lower.contains(QLatin1String("password authentication failed")) ||
        lower.contains(QLatin1String("authentication failed")))
        es = QStringLiteral("El servidor rechazó el usuario «%1» o su contraseña.")
                 .arg(p.value(QStringLiteral("user")));
    else if (lower.contains(QLatin1String("no password supplied")) ||
             lower.contains(QLatin1String("password is required")))
        es = QStringLiteral("El servidor pide una contraseña y no se encontró ninguna para ese "
                            "usuario en el archivo .pgpass, en PGPASSFILE ni en el archivo de "
                            "servicios.");
    else if (lower.contains(QLatin1String("does not exist")) &&
             lower.contains(QLatin1String("database")))
        es = QStringLiteral("No existe la base de datos %1.").arg(Servidor(p));
    else if (lower.contains(QLatin1String("does not exist")) &&
             lower.contains(QLatin1String("role")))
        es = QStringLiteral("El servidor no conoce al usuario «%1».")
                 .arg(p.value(QStringLiteral("user")));
    else if (lower.contains(QLatin1String("no pg_hba.conf entry")))
        es = QStringLiteral("El servidor no admite conexiones desde este equipo para ese usuario "
                            "y base de datos (pg_hba.conf).");
    else if (lower.contains(QLatin1String("timeout")))
        es = QStringLiteral("El servidor de la base de datos %1 no respondió a tiempo.")
                 .arg(Servidor(p));
    else
        es = QStringLiteral("No se puede conectar con el servidor de la base de datos %1: no "
                            "responde o no acepta conexiones.")
                 .arg(Servidor(p));
    return t.isEmpty() ? es : es + QStringLiteral(" (") + t + QLatin1Char(')');
}

bool Preparar(QSqlDatabase& db, int esperaMs) {
    // A save that meets another workstation's lock waits as long as on the file, then fails
    // with the busy message; each statement sees only committed data.
    const QByteArray sql = "SET lock_timeout = " + QByteArray::number(esperaMs) +
                           "; SET default_transaction_isolation = 'read committed'"
                           "; SET client_min_messages = warning; SET datestyle = 'ISO, YMD'";
    PGconn* h = MotorPostgres::HandleDe(db);
    return h && MotorPostgres::Simple(h, sql.constData(), nullptr);
}

QString Base(const QString& uri) {
    const QHash<QString, QString> p = Partes(uri, nullptr);
    return p.value(QStringLiteral("dbname"), p.value(QStringLiteral("user")));
}

QString Abrir(QSqlDatabase& db, const QString& uri, int esperaMs, bool* rechazo) {
    QString error;
    const QHash<QString, QString> p = Partes(uri, &error);
    if (p.isEmpty())
        return QStringLiteral("La dirección de la base de datos no es válida (%1).").arg(error);
    if (p.contains(QStringLiteral("password")))
        return QStringLiteral("La dirección de la base de datos lleva la contraseña escrita: el "
                              "programa no la toma de los ajustes. Quítela de la dirección y "
                              "guárdela en el archivo .pgpass del usuario (o en PGPASSFILE).");
    if (!db.open()) {
        const QString texto = db.lastError().databaseText();
        if (rechazo)
            *rechazo = ProteccionPg::EsRechazoDeAcceso(texto);
        return Causa(uri, texto);
    }
    QString causa;
    if (!Preparar(db, esperaMs))
        causa = QStringLiteral("No se pudo preparar la conexión con %1.").arg(Servidor(p));
    else if (Esquema::Actualizar(MotorPostgres::HandleDe(db), &error) ==
             Esquema::Actualizacion::Fallida)
        causa = QStringLiteral("La base de datos %1 no se pudo actualizar a la versión %2: %3.")
                    .arg(Servidor(p))
                    .arg(Esquema::kVersion)
                    .arg(error);
    else if (const QStringList faltan = Esquema::Verificar(MotorPostgres::HandleDe(db));
             !faltan.isEmpty())
        causa = QStringLiteral("La base de datos %1 no se puede usar: %2.")
                    .arg(Servidor(p), faltan.join(QStringLiteral("; ")));
    return causa;
}

} // namespace ConexionServidor
