#include "Entorno.h"

#include "Conexiones.h"
#include "Contrasena.h"
#include "Ejecutor.h"
#include "Esquema.h"
#include "Mensajes.h"
#include "Motor.h"
#include "ProteccionPg.h"
#include "Usuario.h"

#include <QCoreApplication>
#include <QFile>
#include <QtGlobal>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

QString Servidor() {
    return QString::fromLocal8Bit(qgetenv("QUIMBEL_PRUEBAS_PG"));
}

void Administrar(const QString& sql) {
    QString error;
    PGconn* db = Esquema::ConectarServidor(Servidor() + QStringLiteral("/postgres"), &error);
    PGresult* r = db ? PQexec(db, sql.toUtf8().constData()) : nullptr;
    if (!db || PQresultStatus(r) != PGRES_COMMAND_OK)
        qFatal("El servidor de pruebas rechazó «%s»: %s", qPrintable(sql),
               db ? PQerrorMessage(db) : qPrintable(error));
    PQclear(r);
    PQfinish(db);
}

// The schema is made once per executable; each test copies it, which is far quicker.
QString Plantilla() {
    static const QString nombre = [] {
        const QString n =
            QStringLiteral("quimbel_plantilla_%1").arg(QCoreApplication::applicationPid());
        Administrar(QStringLiteral("DROP DATABASE IF EXISTS ") + n);
        Administrar(QStringLiteral("CREATE DATABASE ") + n);
        QString error;
        if (!Esquema::Crear(Servidor() + QLatin1Char('/') + n, &error))
            qFatal("No se pudo crear la plantilla de pruebas: %s", qPrintable(error));
        return n;
    }();
    return nombre;
}

QString BaseNueva() {
    static int n = 0;
    const QString nombre =
        QStringLiteral("quimbel_prueba_%1_%2").arg(QCoreApplication::applicationPid()).arg(++n);
    Administrar(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2").arg(nombre, Plantilla()));
    return Servidor() + QLatin1Char('/') + nombre;
}

// The server's databases are protected, as an office's are, and the tests' shared connection is
// korva's role (password "korva"); what a test sets up itself runs as the owner.
// QUIMBEL_PRUEBAS_PROTEGIDA=0 leaves them as `copiar` makes them.
bool Protegidas() {
    return qgetenv("QUIMBEL_PRUEBAS_MOTOR") == "postgresql" &&
           qgetenv("QUIMBEL_PRUEBAS_PROTEGIDA") != "0";
}

const char* const kDueno = "QUIMBEL_DUENO";

} // namespace

// Only in place of a person's connection to the test's own database: a test that opened another
// database (a file, a copy) or signed in as the owner keeps its connection.
Entorno::ComoDueno::ComoDueno() {
    if (!Protegidas() || !QSqlDatabase::contains(QString::fromLatin1(kDueno)) ||
        (gConexion.isOpen() && !BaseProtegida()))
        return;
    antes_ = gConexion;
    gConexion = QSqlDatabase::database(QString::fromLatin1(kDueno), false);
    activo_ = true;
}

Entorno::ComoDueno::~ComoDueno() {
    if (activo_)
        gConexion = antes_;
}

namespace {

void Proteger(const QString& ruta) {
    QString error;
    PGconn* db = Esquema::ConectarServidor(ruta, &error);
    QStringList lineas;
    if (!db || !ProteccionPg::Proteger(db, &lineas, &error))
        qFatal("No se protegió la base de pruebas: %s", qPrintable(error));
    const QString rol = ProteccionPg::NombreRol(QStringLiteral("korva"), PQdb(db));
    PQclear(PQexec(db, QStringLiteral("ALTER ROLE \"%1\" PASSWORD 'korva'").arg(rol).toUtf8()));
    PQfinish(db);
    const QString dueno = QString::fromLatin1(kDueno);
    QSqlDatabase d;
    if (!CrearOrigenDeDatos(dueno, ruta) ||
        (d = QSqlDatabase::database(dueno, false), ::Motor::Abrir(d, ruta, QString(), 5000).Hay()))
        qFatal("No se abrió la conexión del dueño de la base de pruebas");
    if (AbrirConexionComo(QString::fromLatin1(kOrigenDeDatos), QStringLiteral("korva"),
                          QStringLiteral("korva")) != IngresoServidor::Aceptado)
        qFatal("korva no pudo entrar a la base protegida");
}

} // namespace

QByteArray Entorno::Motor() {
    return qgetenv("QUIMBEL_PRUEBAS_MOTOR") == "postgresql" ? QByteArray("postgresql")
                                                            : QByteArray("sqlite");
}

bool Entorno::Protegida() {
    return Protegidas();
}

bool Entorno::MotorDisponible() {
    return !EnServidor() || !Servidor().isEmpty();
}

Entorno::Entorno(bool abrir) {
    ajustes_ = dir_.filePath(QStringLiteral("quimbel.ini"));
    qputenv("QUIMBEL_SETTINGS", ajustes_.toUtf8());
    Mensajes::Limpiar();
    QString error;
    if (EnServidor()) {
        ruta_ = BaseNueva();
    } else {
        ruta_ = dir_.filePath(QStringLiteral("bdquimbel.mdb"));
        if (!Esquema::Crear(ruta_, &error))
            qFatal("No se pudo crear la base de pruebas: %s", qPrintable(error));
    }
    if (!CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), ruta_) ||
        !AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString()))
        qFatal("No se pudo abrir la base de pruebas");
    Insertar("usuario_insertar", {QStringLiteral("korva"), Contrasena::Cifrar(QString()),
                                  QStringLiteral("Korva Administrador"), 1, 1, 1});
    gLogin = QStringLiteral("korva");
    if (Protegidas())
        Proteger(ruta_);
    if (!abrir)
        CerrarConexion();
}

void Entorno::Entrar(const QString& login, const QString& clave) {
    if (Protegidas() &&
        AbrirConexionComo(QString::fromLatin1(kOrigenDeDatos), login,
                          clave.isEmpty() ? login : clave) != IngresoServidor::Aceptado)
        qFatal("%s no pudo entrar a la base protegida", qPrintable(login));
}

Entorno::~Entorno() {
    CerrarConexion();
    Mensajes::Limpiar();
    if (QSqlDatabase::contains(QString::fromLatin1(kDueno))) {
        {
            QSqlDatabase d = QSqlDatabase::database(QString::fromLatin1(kDueno), false);
            ::Motor::Cerrar(d);
        }
        QSqlDatabase::removeDatabase(QString::fromLatin1(kDueno));
    }
    const QString base = ruta_.section(QLatin1Char('/'), -1);
    if (EnServidor())
        Administrar(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(base));
    // Roles outlive their database.
    if (Protegidas())
        Administrar(QStringLiteral("DO $$ DECLARE r record; BEGIN FOR r IN SELECT rolname FROM "
                                   "pg_roles WHERE rolname LIKE '%@%1' ORDER BY rolname LIKE "
                                   "'personas@%' LOOP EXECUTE format('DROP ROLE %I', r.rolname); "
                                   "END LOOP; END $$")
                        .arg(base));
}

Recordset Entorno::Sql(const QString& sql, const QVariantList& valores) {
    const ComoDueno dueno;
    Recordset rs;
    if (!AbrirRecordset(sql, rs, valores))
        qFatal("SQL rechazado en la prueba: %s", qPrintable(sql));
    return rs;
}

QVariant Entorno::Valor(const QString& sql, const QVariantList& valores) {
    Recordset rs = Sql(sql, valores);
    return rs.AbsolutePosition() > 0 ? rs.Campo(0) : QVariant();
}

int Entorno::Insertar(const char* comando, const QVariantList& valores) {
    const ComoDueno dueno;
    Recordset rs;
    if (!EjecutarComando(QString::fromLatin1(comando), rs, valores))
        qFatal("Comando rechazado en la prueba: %s", comando);
    return Valor(QStringLiteral("SELECT last_insert_rowid()")).toInt();
}

int Entorno::Usuario(const QString& login, const QString& clave, const QString& nombre,
                     int solicitar, int autorizar, int cumplir) {
    // A protected server keeps no password in "usuarios", as `proteger` leaves it.
    const bool protegida = Protegidas() && QSqlDatabase::contains(QString::fromLatin1(kDueno));
    const int id =
        Insertar("usuario_insertar", {login, protegida ? QString() : Contrasena::Cifrar(clave),
                                      nombre, solicitar, autorizar, cumplir});
    // On a protected server the person signs in with their role; a server takes no empty
    // password, so the login stands in for one.
    if (protegida) {
        const QString base = ruta_.section(QLatin1Char('/'), -1);
        Sql(QStringLiteral("CREATE ROLE \"%1\" LOGIN PASSWORD '%2' IN ROLE \"%3\"")
                .arg(ProteccionPg::NombreRol(login, base),
                     QString(clave.isEmpty() ? login : clave)
                         .replace(QLatin1Char('\''), QStringLiteral("''")),
                     ProteccionPg::NombreGrupo(base)));
    }
    return id;
}

int Entorno::Producto(const QString& descripcion, int catId) {
    Sql(QStringLiteral("INSERT INTO productos (ProDescripcion, CatId, ProUnidadMedida, ProMoneda, "
                       "ProCosto, ProPrecio, ProMinimo) VALUES (?, ?, 'Unidad', 'Pesos', 0, 0, 0)"),
        {descripcion, catId});
    return Valor(QStringLiteral("SELECT last_insert_rowid()")).toInt();
}

int Entorno::Proveedor(const QString& nombre, const QString& razon) {
    QVariantList v{nombre, razon};
    for (int i = 0; i < 12; ++i)
        v << QString();
    return Insertar("proveedor_insertar", v);
}

void Entorno::Disparador(const char* nombre, const char* momento, const char* tabla,
                         const char* cuando, const char* archivo, const char* servidor) {
    const QString n = QString::fromLatin1(nombre);
    const QString si = QString::fromLatin1(cuando && *cuando ? cuando : "TRUE");
    if (EnServidor()) {
        Sql(QStringLiteral(
                "CREATE OR REPLACE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                "IF %2 THEN %3; END IF; IF TG_OP = 'DELETE' THEN RETURN OLD; END IF; "
                "RETURN NEW; END $$")
                .arg(n, si, QString::fromUtf8(servidor)));
        Sql(QStringLiteral("CREATE TRIGGER %1 %2 ON %3 FOR EACH ROW EXECUTE FUNCTION %1()")
                .arg(n, QLatin1String(momento), QLatin1String(tabla)));
    } else {
        Sql(QStringLiteral("CREATE TRIGGER %1 %2 ON %3 %4BEGIN %5; END")
                .arg(n, QLatin1String(momento), QLatin1String(tabla),
                     cuando && *cuando ? QStringLiteral("WHEN %1 ").arg(si) : QString(),
                     QString::fromUtf8(archivo)));
    }
}

void Entorno::Rechazar(const char* nombre, const char* momento, const char* tabla,
                       const char* cuando, const char* mensaje) {
    const QByteArray m(mensaje);
    Disparador(nombre, momento, tabla, cuando, "SELECT RAISE(ABORT, '" + m + "')",
               "RAISE EXCEPTION '" + m + "'");
}

void Entorno::QuitarDisparador(const char* nombre, const char* tabla) {
    if (!EnServidor()) {
        Sql(QStringLiteral("DROP TRIGGER %1").arg(QLatin1String(nombre)));
        return;
    }
    Sql(QStringLiteral("DROP TRIGGER %1 ON %2").arg(QLatin1String(nombre), QLatin1String(tabla)));
    Sql(QStringLiteral("DROP FUNCTION %1()").arg(QLatin1String(nombre)));
}

void Entorno::DanarSectores() {
    sqlite3* db = Esquema::AbrirArchivo(ruta_, false, nullptr);
    sqlite3_stmt* st = nullptr;
    int pagina = 0;
    int tamano = 0;
    if (sqlite3_exec(db,
                     "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE i<400) "
                     "INSERT INTO sectores (SecDescripcion) SELECT printf('Sector %0200d', i) "
                     "FROM k",
                     nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db,
                           "SELECT rootpage, (SELECT page_size FROM pragma_page_size) FROM "
                           "sqlite_master WHERE name = 'sectores'",
                           -1, &st, nullptr) != SQLITE_OK ||
        sqlite3_step(st) != SQLITE_ROW)
        qFatal("No se pudo preparar la base dañada: %s", sqlite3_errmsg(db));
    pagina = sqlite3_column_int(st, 0);
    tamano = sqlite3_column_int(st, 1);
    sqlite3_finalize(st);
    sqlite3_close(db);
    QFile f(ruta_);
    if (!f.open(QIODevice::ReadWrite) || !f.seek(qint64(pagina - 1) * tamano) ||
        f.write(QByteArray(tamano, '\x5a')) != tamano)
        qFatal("No se pudo dañar la base de pruebas");
}
