#include "ProteccionPg.h"

#include "DialectoPg.h"
#include "EsquemaDefinicion.h"
#include "ProteccionAccesoSql.h"
#include "ProteccionFilasSql.h"
#include "ProteccionOrdenSql.h"
#include "ProteccionSql.h"

#include <QRegularExpression>
#include <QSet>
#include <libpq-fe.h>
#include <sodium.h>

namespace ProteccionPg {
namespace {

bool Exec(PGconn* db, const QString& sql, QString* error) {
    PGresult* r = PQexec(db, sql.toUtf8().constData());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
    if (!ok && error)
        *error = QString::fromUtf8(PQresultErrorMessage(r)).trimmed();
    PQclear(r);
    return ok;
}

QString Identificador(PGconn* db, const QString& nombre) {
    const QByteArray n = nombre.toUtf8();
    char* c = PQescapeIdentifier(db, n.constData(), static_cast<size_t>(n.size()));
    const QString r = QString::fromUtf8(c);
    PQfreemem(c);
    return r;
}

bool ExisteRol(PGconn* db, const QString& rol, bool* ok) {
    const QByteArray n = rol.toUtf8();
    const char* valores[] = {n.constData()};
    PGresult* r = PQexecParams(db, "SELECT 1 FROM pg_roles WHERE rolname = $1", 1, nullptr, valores,
                               nullptr, nullptr, 0);
    *ok = PQresultStatus(r) == PGRES_TUPLES_OK;
    const bool hay = *ok && PQntuples(r) > 0;
    PQclear(r);
    return hay;
}

// Twelve letters and digits without the ones easily mistaken for each other (0/O, 1/l/I).
QString ClaveTemporal() {
    static const char kLetras[] = "abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    QString clave;
    for (int i = 0; i < 12; ++i)
        clave += QLatin1Char(kLetras[randombytes_uniform(sizeof(kLetras) - 1)]);
    return clave;
}

// Each person of "usuarios" as a role of the group; the line for each.
bool CrearRoles(PGconn* db, const QString& base, QStringList* lineas, QString* error) {
    PGresult* r = PQexec(db, "SELECT UsuLogin::text, UsuDesactivado FROM usuarios "
                             "WHERE btrim(coalesce(UsuLogin::text, '')) <> '' ORDER BY UsuId");
    if (PQresultStatus(r) != PGRES_TUPLES_OK) {
        *error = QString::fromUtf8(PQresultErrorMessage(r)).trimmed();
        PQclear(r);
        return false;
    }
    QSet<QString> vistos;
    bool ok = true;
    for (int i = 0; ok && i < PQntuples(r); ++i) {
        const QString login = QString::fromUtf8(PQgetvalue(r, i, 0));
        const bool desactivado = QByteArray(PQgetvalue(r, i, 1)) != "0";
        const QString rol = NombreRol(login, base);
        if (rol.toUtf8().size() > 63) {
            *error = QStringLiteral("El rol «%1» de la persona «%2» pasa de los 63 bytes que "
                                    "admite el servidor: acorte su login y vuelva a proteger.")
                         .arg(rol, login.trimmed());
            ok = false;
            break;
        }
        if (vistos.contains(rol)) {
            lineas->append(QStringLiteral("%1, %2, (es el rol de un usuario anterior con el mismo "
                                          "login)")
                               .arg(login.trimmed(), rol));
            continue;
        }
        vistos.insert(rol);
        const bool existe = ExisteRol(db, rol, &ok);
        if (!ok)
            break;
        const QString acceso = desactivado ? QStringLiteral("NOLOGIN") : QStringLiteral("LOGIN");
        if (existe) {
            ok =
                Exec(db,
                     QStringLiteral("ALTER ROLE %1 %2; GRANT %3 TO %1")
                         .arg(Identificador(db, rol), acceso, Identificador(db, NombreGrupo(base))),
                     error);
            lineas->append(QStringLiteral("%1, %2, (sin cambios)").arg(login.trimmed(), rol));
            continue;
        }
        const QString clave = ClaveTemporal();
        const QString verificador = Verificador(db, rol, clave);
        ok = !verificador.isEmpty() &&
             Exec(db,
                  QStringLiteral("CREATE ROLE %1 %2 PASSWORD '%3' IN ROLE %4")
                      .arg(Identificador(db, rol), acceso, verificador,
                           Identificador(db, NombreGrupo(base))),
                  error);
        lineas->append(QStringLiteral("%1, %2, %3").arg(login.trimmed(), rol, clave));
    }
    PQclear(r);
    return ok;
}

// Who may run a stored command: the users only an administrator, the orders and their quotes
// whoever may request, the rest every enabled person.
QString Derecho(const QString& nombre) {
    const QString n = nombre.toLower();
    if (n.startsWith(QLatin1String("usuario_")))
        return QStringLiteral("administrar");
    if (n.startsWith(QLatin1String("orden_")) || n.startsWith(QLatin1String("precio_")))
        return QStringLiteral("solicitar");
    return QStringLiteral("persona");
}

QString TipoServidor(const QString& tipo) {
    static const QHash<QString, QString> tipos{
        {QStringLiteral("INTEGER"), QStringLiteral("integer")},
        {QStringLiteral("SMALLINT"), QStringLiteral("smallint")},
        {QStringLiteral("DOUBLE"), QStringLiteral("double precision")},
        {QStringLiteral("DATETIME"), QStringLiteral("timestamp(0)")}};
    return tipos.value(tipo.trimmed().toUpper(), QStringLiteral("text"));
}

// A statement of a command with its $N taken from the function's array, typed as declared.
QString DesdeArreglo(const QString& texto, const QStringList& tipos) {
    static const QRegularExpression marca(QStringLiteral("\\$(\\d+)"));
    QString r;
    qsizetype desde = 0;
    for (auto it = marca.globalMatch(texto); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const int n = m.captured(1).toInt();
        r += texto.mid(desde, m.capturedStart() - desde);
        r += QStringLiteral("($1[%1])::%2").arg(n).arg(TipoServidor(tipos.value(n - 1)));
        desde = m.capturedEnd();
    }
    return r + texto.mid(desde);
}

QString Arreglo(const QStringList& textos) {
    QStringList citados;
    for (QString t : textos)
        citados << QLatin1Char('"') +
                       t.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                           .replace(QLatin1Char('"'), QStringLiteral("\\\"")) +
                       QLatin1Char('"');
    return QLatin1Char('{') + citados.join(QLatin1Char(',')) + QLatin1Char('}');
}

bool InstalarComandos(PGconn* db, QString* error) {
    PGresult* r = PQexec(db, "SELECT nombre::text, parametros, sentencias FROM comandos");
    if (PQresultStatus(r) != PGRES_TUPLES_OK) {
        *error = QString::fromUtf8(PQresultErrorMessage(r)).trimmed();
        PQclear(r);
        return false;
    }
    bool ok = Exec(db, QStringLiteral("DELETE FROM comandos_servidor"), error);
    for (int i = 0; ok && i < PQntuples(r); ++i) {
        const QString nombre = QString::fromUtf8(PQgetvalue(r, i, 0)).toLower();
        const QStringList tipos = QString::fromUtf8(PQgetvalue(r, i, 1)).split(QLatin1Char(','));
        QStringList sentencias;
        for (const DialectoPg::Sentencia& s :
             DialectoPg::Traducir(QString::fromUtf8(PQgetvalue(r, i, 2))))
            sentencias << DesdeArreglo(s.texto, tipos);
        const QByteArray n = nombre.toUtf8(), d = Derecho(nombre).toUtf8(),
                         a = Arreglo(sentencias).toUtf8();
        const char* valores[] = {n.constData(), d.constData(), a.constData()};
        PGresult* w = PQexecParams(db,
                                   "INSERT INTO comandos_servidor (nombre, derecho, sentencias) "
                                   "VALUES ($1, $2, $3::text[])",
                                   3, nullptr, valores, nullptr, nullptr, 0);
        ok = PQresultStatus(w) == PGRES_COMMAND_OK;
        if (!ok)
            *error = QString::fromUtf8(PQresultErrorMessage(w)).trimmed();
        PQclear(w);
    }
    PQclear(r);
    return ok;
}

} // namespace

QString NombreRol(const QString& login, const QString& base) {
    return login.trimmed().toLower() + QLatin1Char('@') + base;
}

QString NombreGrupo(const QString& base) {
    return QStringLiteral("personas@") + base;
}

const QStringList& TablasConHistorialPropio() {
    static const QStringList t{QStringLiteral("usuarios"),    QStringLiteral("productos"),
                               QStringLiteral("proveedores"), QStringLiteral("categorias"),
                               QStringLiteral("sectores"),    QStringLiteral("centrosdecosto")};
    return t;
}

QString HistorialDeFilas() {
    QString sql = QString::fromUtf8(kHistorialDeFilas);
    for (const Esquema::DefTabla& t : Esquema::Tablas()) {
        const QString tabla = QString::fromLatin1(t.nombre);
        if (!TablasConHistorialPropio().contains(tabla))
            continue;
        sql += QStringLiteral("DROP TRIGGER IF EXISTS quimbel_historial_fila ON %1;\n"
                              "CREATE CONSTRAINT TRIGGER quimbel_historial_fila AFTER INSERT OR "
                              "UPDATE OR DELETE ON %1 DEFERRABLE INITIALLY DEFERRED FOR EACH ROW "
                              "EXECUTE FUNCTION "
                              "quimbel_historial_fila('%2');\n")
                   .arg(tabla, t.columnas.join(QStringLiteral("', '")));
    }
    return sql;
}

bool Protegida(pg_conn* db) {
    PGresult* r = PQexec(db, "SELECT to_regclass('public.proteccion') IS NOT NULL");
    const bool si = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1 &&
                    QByteArray(PQgetvalue(r, 0, 0)) == "t";
    PQclear(r);
    return si;
}

bool ComoPersona(pg_conn* db) {
    PGresult* r =
        PQexec(db, "SELECT EXISTS (SELECT 1 FROM pg_auth_members m "
                   "JOIN pg_roles g ON g.oid = m.roleid JOIN pg_roles u ON u.oid = m.member "
                   "WHERE g.rolname = (SELECT grupo FROM proteccion LIMIT 1) "
                   "AND u.rolname = session_user)");
    const bool si = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1 &&
                    QByteArray(PQgetvalue(r, 0, 0)) == "t";
    PQclear(r);
    return si;
}

bool Proteger(pg_conn* db, QStringList* lineas, QString* error) {
    if (sodium_init() < 0) {
        *error = QStringLiteral("No se pudo preparar el generador de contraseñas.");
        return false;
    }
    const QString base = QString::fromUtf8(PQdb(db));
    const QString grupo = NombreGrupo(base);
    if (grupo.toUtf8().size() > 63) {
        *error = QStringLiteral("El nombre de la base de datos «%1» es demasiado largo para "
                                "nombrar sus roles.")
                     .arg(base);
        return false;
    }
    bool ok = true;
    const bool hayGrupo = ExisteRol(db, grupo, &ok);
    QString sql = QString::fromUtf8(kFunciones) + QString::fromUtf8(kLlamante) +
                  QString::fromUtf8(kAhoraFija) + QString::fromUtf8(kReglasConHistorial) +
                  HistorialDeFilas() + QString::fromUtf8(kAcceso);
    if (!hayGrupo)
        sql.prepend(QStringLiteral("CREATE ROLE %1 NOLOGIN;\n").arg(Identificador(db, grupo)));
    const QString privilegios =
        QString::fromUtf8(kPrivilegios).arg(grupo, QString(base).replace('"', "\"\""));
    ok = ok && Exec(db, QStringLiteral("BEGIN"), error) && Exec(db, sql, error) &&
         Exec(db, QString::fromUtf8(kFuncionesOrden), error) && InstalarComandos(db, error) &&
         CrearRoles(db, base, lineas, error) &&
         Exec(db, QStringLiteral("UPDATE usuarios SET UsuPassword = '' WHERE UsuPassword <> ''"),
              error) &&
         Exec(db, privilegios, error) && Exec(db, QStringLiteral("COMMIT"), error);
    if (!ok) {
        PQclear(PQexec(db, "ROLLBACK"));
        lineas->clear();
    }
    return ok;
}

QString Verificador(pg_conn* db, const QString& rol, const QString& clave) {
    char* v = PQencryptPasswordConn(db, clave.toUtf8().constData(), rol.toUtf8().constData(),
                                    "scram-sha-256");
    const QString r = QString::fromLatin1(v ? v : "");
    PQfreemem(v);
    return r;
}

Prueba ProbarClave(const QString& uri, const QString& rol, const QString& clave, QString* causa,
                   const QByteArray& sql, const QList<QByteArray>& valores) {
    const QByteArray u = uri.toUtf8(), r = rol.toUtf8(), c = clave.toUtf8();
    const char* claves[] = {"dbname", "user", "password", nullptr};
    const char* conexion[] = {u.constData(), r.constData(), c.constData(), nullptr};
    PGconn* db = PQconnectdbParams(claves, conexion, 1);
    const bool ok = PQstatus(db) == CONNECTION_OK;
    QString texto = QString::fromUtf8(PQerrorMessage(db)).trimmed();
    bool negada = false;
    if (ok && !sql.isEmpty()) {
        QList<const char*> v;
        for (const QByteArray& b : valores)
            v << (b.isNull() ? nullptr : b.constData());
        PGresult* res = PQexecParams(db, sql.constData(), static_cast<int>(v.size()), nullptr,
                                     v.constData(), nullptr, nullptr, 0);
        negada = PQresultStatus(res) != PGRES_TUPLES_OK && PQresultStatus(res) != PGRES_COMMAND_OK;
        if (negada)
            texto = QString::fromUtf8(PQresultErrorField(res, PG_DIAG_MESSAGE_PRIMARY)).trimmed();
        PQclear(res);
    }
    PQfinish(db);
    if (negada) {
        if (causa)
            *causa = texto;
        return Prueba::Negada;
    }
    if (ok)
        return Prueba::Aceptada;
    if (causa)
        *causa = texto;
    return EsRechazoDeAcceso(texto) ? Prueba::Rechazada : Prueba::Fallo;
}

bool EsRechazoDeAcceso(const QString& textoServidor) {
    const QString t = textoServidor.toLower();
    return t.contains(QLatin1String("authentication failed")) ||
           t.contains(QLatin1String("no password supplied")) ||
           t.contains(QLatin1String("password is required")) ||
           (t.contains(QLatin1String("role")) && t.contains(QLatin1String("does not exist"))) ||
           t.contains(QLatin1String("not permitted to log in")) ||
           t.contains(QLatin1String("permission denied for database"));
}

} // namespace ProteccionPg
