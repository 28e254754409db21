#include "ConexionServidor.h"

#include "Esquema.h"
#include "Libpq.h"
#include "MotorPostgres.h"
#include "ProteccionPg.h"

#include <QLocale>
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

// A database that exists on the server but holds no table of its own: created and never given
// the program's schema.
bool Vacia(PGconn* h) {
    PGresult* r = PQexec(h, "SELECT count(*) FROM pg_catalog.pg_tables WHERE schemaname = "
                            "current_schema()");
    const bool vacia = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1 &&
                       QByteArray(PQgetvalue(r, 0, 0)) == "0";
    PQclear(r);
    return vacia;
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

FalloApertura Causa(const QString& uri, const QString& textoServidor) {
    using Tipo = FalloApertura::Tipo;
    const QHash<QString, QString> p = Partes(uri, nullptr);
    const QString t = textoServidor.trimmed();
    const QString lower = t.toLower();
    const QString usuario = p.value(QStringLiteral("user"));
    FalloApertura f;
    // Asked first: no password was checked, and none would help. The server names the host,
    // user and database it turned away, or has a line that rejects them outright.
    if (lower.contains(QLatin1String("pg_hba.conf")))
        f = {Tipo::NoAdmitido,
             QStringLiteral("La configuración de acceso del servidor (pg_hba.conf) no admite "
                            "conexiones de este equipo para ese usuario y esa base de datos.")};
    else if (lower.contains(QLatin1String("authentication failed")))
        f = {Tipo::Acceso,
             QStringLiteral("El servidor rechazó el usuario «%1» o su contraseña.").arg(usuario)};
    // Said only once the password matched: the person's role may not sign in, as a deactivated
    // user's may not on a protected server. The sign-in refuses it like a wrong password.
    else if (lower.contains(QLatin1String("not permitted to log in")))
        f = {Tipo::Acceso, QStringLiteral("El servidor no deja entrar a ese usuario: está "
                                          "desactivado.")};
    else if (lower.contains(QLatin1String("no password supplied")) ||
             lower.contains(QLatin1String("password is required")))
        f = {Tipo::Acceso,
             QStringLiteral("El servidor pide una contraseña y no se encontró ninguna para ese "
                            "usuario en el archivo .pgpass, en PGPASSFILE ni en el archivo de "
                            "servicios.")};
    else if (lower.contains(QLatin1String("does not exist")) &&
             lower.contains(QLatin1String("database")))
        f = {Tipo::BaseInexistente,
             QStringLiteral("No existe la base de datos %1.").arg(Servidor(p))};
    else if (lower.contains(QLatin1String("does not exist")) &&
             lower.contains(QLatin1String("role")))
        f = {Tipo::Acceso, QStringLiteral("El servidor no conoce al usuario «%1».").arg(usuario)};
    else if (lower.contains(QLatin1String("timeout")))
        f = {Tipo::ServidorInaccesible,
             QStringLiteral("El servidor de la base de datos %1 no respondió a tiempo.")
                 .arg(Servidor(p))};
    else
        f = {Tipo::ServidorInaccesible,
             QStringLiteral("No se puede conectar con el servidor de la base de datos %1: no "
                            "responde o no acepta conexiones.")
                 .arg(Servidor(p))};
    if (!t.isEmpty())
        f.causa += QStringLiteral(" (") + t + QLatin1Char(')');
    return f;
}

bool Preparar(QSqlDatabase& db, int esperaMs) {
    // The decimal separator is this workstation's, for the numbers of the history lines a
    // protected server writes by itself.
    const QByteArray coma =
        QLocale().decimalPoint().replace(QLatin1Char('\''), QStringLiteral("''")).toUtf8();
    // A save that meets another workstation's lock waits as long as on the file, then fails
    // with the busy message; each statement sees only committed data.
    const QByteArray sql = "SET lock_timeout = " + QByteArray::number(esperaMs) +
                           "; SET default_transaction_isolation = 'read committed'"
                           "; SET client_min_messages = warning; SET datestyle = 'ISO, YMD'"
                           "; SET quimbel.coma = '" +
                           coma + "'";
    PGconn* h = MotorPostgres::HandleDe(db);
    return h && MotorPostgres::Simple(h, sql.constData(), nullptr);
}

QString Base(const QString& uri) {
    const QHash<QString, QString> p = Partes(uri, nullptr);
    return p.value(QStringLiteral("dbname"), p.value(QStringLiteral("user")));
}

FalloApertura Abrir(QSqlDatabase& db, const QString& uri, int esperaMs) {
    using Tipo = FalloApertura::Tipo;
    QString error;
    if (!Libpq::Disponible(&error))
        return {Tipo::SinBiblioteca, error};
    const QHash<QString, QString> p = Partes(uri, &error);
    if (p.isEmpty())
        return {Tipo::Otro,
                QStringLiteral("La dirección de la base de datos no es válida (%1).").arg(error)};
    if (p.contains(QStringLiteral("password")))
        return {Tipo::Otro,
                QStringLiteral("La dirección de la base de datos lleva la contraseña escrita: el "
                               "programa no la toma de los ajustes. Quítela de la dirección y "
                               "guárdela en el archivo .pgpass del usuario (o en PGPASSFILE).")};
    if (!db.open())
        return Causa(uri, db.lastError().databaseText());
    PGconn* h = MotorPostgres::HandleDe(db);
    if (!Preparar(db, esperaMs))
        return {Tipo::Otro,
                QStringLiteral("No se pudo preparar la conexión con %1.").arg(Servidor(p))};
    if (Vacia(h))
        return {Tipo::BaseVacia, QStringLiteral("La base de datos %1 está vacía: no tiene las "
                                                "tablas del programa.")
                                     .arg(Servidor(p))};
    if (Esquema::Actualizar(h, &error) == Esquema::Actualizacion::Fallida) {
        // On a protected database only the owner may change the schema; a person is told whom
        // to ask rather than shown the server's refusal.
        if (ProteccionPg::Protegida(h) && ProteccionPg::ComoPersona(h))
            return {Tipo::NoUtilizable,
                    QStringLiteral("La base de datos %1 es de una versión anterior del programa "
                                   "y solo su dueño puede ponerla al día a la versión %2. Pida a "
                                   "la persona de sistemas que la abra una vez como dueño (por "
                                   "ejemplo con «quimbel-db verificar» y la dirección del dueño) "
                                   "y vuelva a intentarlo.")
                        .arg(Servidor(p))
                        .arg(Esquema::kVersion),
                    QStringLiteral("La base de datos es de una versión anterior del programa y "
                                   "solo su dueño puede ponerla al día. Pida a la persona de "
                                   "sistemas que la abra una vez como dueño y vuelva a "
                                   "intentarlo.")};
        return {Tipo::NoUtilizable,
                QStringLiteral("La base de datos %1 no se pudo actualizar a la versión %2: %3.")
                    .arg(Servidor(p))
                    .arg(Esquema::kVersion)
                    .arg(error)};
    }
    if (const QStringList faltan = Esquema::Verificar(h); !faltan.isEmpty())
        // The version is not at fault when only the server's extension is missing.
        return {Tipo::NoUtilizable,
                QStringLiteral("La base de datos %1 no se puede usar: %2.")
                    .arg(Servidor(p), faltan.join(QStringLiteral("; "))),
                faltan == QStringList{Esquema::FaltaHuellas()}
                    ? QStringLiteral("Al servidor le falta la extensión con la que encadena el "
                                     "historial. Pida a la persona de sistemas que instale en el "
                                     "servidor el paquete postgresql-%1-quimbel-cadena y ejecute "
                                     "«CREATE EXTENSION quimbel_cadena» como dueño de la base.")
                          .arg(PQserverVersion(h) / 10000)
                    : QString()};
    return {};
}

} // namespace ConexionServidor
