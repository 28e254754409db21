#include "AvisoConexion.h"
#include "Conexiones.h"
#include "Entorno.h"
#include "Esquema.h"
#include "IngresosPendientes.h"
#include "Mensajes.h"
#include "ProteccionPg.h"
#include "RegistroPruebas.h"
#include "Usuarios.h"
#include "frmLogin.h"

#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <libpq-fe.h>

namespace {

// The temporary password `proteger` gave each login.
QHash<QString, QString> Proteger(const QString& uri, QStringList* lineas = nullptr) {
    QString error;
    PGconn* db = Esquema::ConectarServidor(uri, &error);
    QStringList l;
    const bool ok = db && ProteccionPg::Proteger(db, &l, &error);
    PQfinish(db);
    if (!ok)
        qFatal("No se protegió la base de pruebas: %s", qPrintable(error));
    QHash<QString, QString> claves;
    for (const QString& linea : l)
        claves.insert(linea.section(QStringLiteral(", "), 0, 0),
                      linea.section(QStringLiteral(", "), 2));
    if (lineas)
        *lineas = l;
    return claves;
}

QString Base(const QString& uri) {
    return uri.section(QLatin1Char('/'), -1);
}

// A session of its own as the person's role, as `psql` would open it.
PGconn* Sesion(const QString& uri, const QString& login, const QString& clave) {
    const QByteArray u = uri.toUtf8(), r = ProteccionPg::NombreRol(login, Base(uri)).toUtf8(),
                     c = clave.toUtf8();
    const char* claves[] = {"dbname", "user", "password", nullptr};
    const char* valores[] = {u.constData(), r.constData(), c.constData(), nullptr};
    return PQconnectdbParams(claves, valores, 1);
}

QString Uno(PGconn* db, const QString& sql) {
    PGresult* r = PQexec(db, sql.toUtf8().constData());
    const QString v = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0
                          ? QString::fromUtf8(PQgetvalue(r, 0, 0))
                          : QString();
    PQclear(r);
    return v;
}

// Everything a person could want to change: every table's rows, the roles and their passwords.
QString Huella(const QString& uri) {
    PGconn* db = Esquema::ConectarServidor(uri, nullptr);
    QString h;
    for (const QString& t :
         Esquema::TablasDeDatos() + QStringList{QStringLiteral("comandos"),
                                                QStringLiteral("comandos_servidor"),
                                                QStringLiteral("reglas")})
        h += Uno(db, QStringLiteral("SELECT md5(coalesce(string_agg(x::text, '|' ORDER BY "
                                    "x::text), '')) FROM %1 x")
                         .arg(t));
    h += Uno(db, QStringLiteral("SELECT string_agg(rolname || rolcanlogin || "
                                "coalesce(rolpassword, ''), '|' ORDER BY rolname) FROM pg_authid "
                                "WHERE rolname LIKE '%@%1'")
                     .arg(Base(uri)));
    h += Uno(db, QStringLiteral("SELECT string_agg(proname || md5(prosrc), '|' ORDER BY proname) "
                                "FROM pg_proc WHERE proname LIKE 'quimbel%'"));
    PQfinish(db);
    return h;
}

} // namespace

class PruebaServidorProtegido : public QObject {
    Q_OBJECT
private slots:
    void init() {
        if (!Entorno::EnServidor())
            QSKIP("Solo un servidor se protege.");
        // These tests protect their databases themselves, from what `copiar` makes, and read the
        // temporary passwords `proteger` gives.
        qputenv("QUIMBEL_PRUEBAS_PROTEGIDA", "0");
    }

    // proteger gives each person a role with a temporary password once, erases the stored
    // hashes, leaves a disabled person unable to sign in and is safe to run again. The program
    // then signs in as the person's role, the server checking the password, and an authoriser's
    // identity is proven by a connection of their own.
    void rolesContrasenasEIngreso() {
        Entorno e;
        const int ana = e.Usuario(QStringLiteral(" Ana "), QStringLiteral("vieja"),
                                  QStringLiteral("Ana Ruiz"), 1, 1, 0);
        const int baja = e.Usuario(QStringLiteral("baja"), QStringLiteral("x"),
                                   QStringLiteral("De baja"), 1, 0, 0);
        e.Sql(QStringLiteral("UPDATE usuarios SET UsuDesactivado=1 WHERE UsuId=?"), {baja});
        CerrarConexion();
        const QString base = Base(e.RutaBase());
        QStringList lineas;
        const QHash<QString, QString> claves = Proteger(e.RutaBase(), &lineas);
        QCOMPARE(lineas.size(), 3);
        QCOMPARE(lineas.value(1).section(QStringLiteral(", "), 0, 1),
                 QStringLiteral("Ana, ana@") + base);
        QCOMPARE(claves.value(QStringLiteral("Ana")).size(), 12);
        Proteger(e.RutaBase(), &lineas);
        QVERIFY(lineas.value(0).endsWith(QStringLiteral("(sin cambios)")));

        PGconn* db =
            Sesion(e.RutaBase(), QStringLiteral("Ana"), claves.value(QStringLiteral("Ana")));
        QCOMPARE(PQstatus(db), CONNECTION_OK);
        QCOMPARE(Uno(db, QStringLiteral("SELECT string_agg(UsuPassword, '') FROM usuarios")),
                 QString());
        PQfinish(db);
        db = Sesion(e.RutaBase(), QStringLiteral("baja"), claves.value(QStringLiteral("baja")));
        QCOMPARE(PQstatus(db), CONNECTION_BAD);
        PQfinish(db);

        const QString nombre = QString::fromLatin1(kOrigenDeDatos);
        QVERIFY(CrearOrigenDeDatos(nombre, e.RutaBase()));
        QCOMPARE(AbrirConexionServidor(nombre), AccesoServidor::PideIngreso);
        QVERIFY(!ConexionAbierta());
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("ana"), QStringLiteral("vieja")),
                 IngresoServidor::Rechazado);
        // A deactivated person is turned away by the sign-in, not told the server is down.
        QCOMPARE(
            AbrirConexionComo(nombre, QStringLiteral("baja"), claves.value(QStringLiteral("baja"))),
            IngresoServidor::Rechazado);
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("korva"),
                                   claves.value(QStringLiteral("korva"))),
                 IngresoServidor::Aceptado);
        QVERIFY(BaseProtegida());
        QCOMPARE(Usuarios::ConfirmarClave(ana, QStringLiteral("vieja")),
                 Usuarios::Clave::Incorrecta);
        QCOMPARE(Usuarios::ConfirmarClave(ana, claves.value(QStringLiteral("Ana"))),
                 Usuarios::Clave::Correcta);
        // An administrator sets another's password; the person then changes their own, and
        // nobody else's.
        QVERIFY(Usuarios::CambiarClaveServidor(ana, QStringLiteral("nueva ñandú")));
        QCOMPARE(Usuarios::ConfirmarClave(ana, QStringLiteral("nueva ñandú")),
                 Usuarios::Clave::Correcta);
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("ANA "), QStringLiteral("nueva ñandú")),
                 IngresoServidor::Aceptado);
        QVERIFY(Usuarios::CambiarClaveServidor(ana, QStringLiteral("otra")));
        Mensajes::Responder(Mensajes::Respuesta::OK);
        QVERIFY(!Usuarios::CambiarClaveServidor(1, QStringLiteral("tomada")));
        const Mensajes::Mostrado negado = Mensajes::Mostrados().value(0);
        QVERIFY((negado.texto + negado.detalle).contains(QStringLiteral("administrador")));
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("ana"), QStringLiteral("otra")),
                 IngresoServidor::Aceptado);
        // An order saved through the stored command learns its number from the server's function.
        Recordset rs;
        QVERIFY(EjecutarComando(QStringLiteral("orden_insertar"), rs,
                                {QDateTime(QDate(2026, 2, 3), QTime(8, 30)), 4.0,
                                 QStringLiteral("Caja"), 1, QString(), QString(),
                                 QStringLiteral("Normal"), 1, 1, ana, 0, QStringLiteral("ana")}));
        QVERIFY(rs.Campo(QStringLiteral("OrdId")).toInt() > 0);

        // A login renamed takes its role along: the old login signs in no more, the new one
        // with the same password.
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("korva"),
                                   claves.value(QStringLiteral("korva"))),
                 IngresoServidor::Aceptado);
        QVERIFY(EjecutarComando(
            QStringLiteral("usuario_actualizar"), rs,
            {ana, QStringLiteral("Anita"), QString(), QStringLiteral("Ana Ruiz"), 1, 1, 0, 0}));
        QVERIFY(Usuarios::SincronizarRol(ana));
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("ana"), QStringLiteral("otra")),
                 IngresoServidor::Rechazado);
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("anita"), QStringLiteral("otra")),
                 IngresoServidor::Aceptado);

        // A user the owner deletes signs in no more, not even to read; a later user given that
        // login signs in with the password given to them, never the former one's.
        PGconn* dueno = Esquema::ConectarServidor(e.RutaBase(), nullptr);
        PGresult* borrado = PQexec(
            dueno, QStringLiteral("DELETE FROM usuarios WHERE UsuId = %1").arg(ana).toUtf8());
        QCOMPARE(QByteArray(PQcmdTuples(borrado)), QByteArray("1"));
        PQclear(borrado);
        PQfinish(dueno);
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("anita"), QStringLiteral("otra")),
                 IngresoServidor::Rechazado);
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("korva"),
                                   claves.value(QStringLiteral("korva"))),
                 IngresoServidor::Aceptado);
        QVERIFY(EjecutarComando(
            QStringLiteral("usuario_insertar"), rs,
            {QStringLiteral("anita"), QString(), QStringLiteral("Otra Ana"), 1, 0, 0}));
        const int nueva = e.Valor(QStringLiteral("SELECT max(UsuId) FROM usuarios")).toInt();
        QVERIFY(Usuarios::SincronizarRol(nueva));
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("anita"), QStringLiteral("otra")),
                 IngresoServidor::Rechazado);
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("korva"),
                                   claves.value(QStringLiteral("korva"))),
                 IngresoServidor::Aceptado);
        QVERIFY(Usuarios::CambiarClaveServidor(nueva, QStringLiteral("suya")));
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("anita"), QStringLiteral("suya")),
                 IngresoServidor::Aceptado);

        // A database of an earlier version is put up to date by its owner only: a person is
        // told whom to ask, and the owner's next opening does it.
        CerrarConexion();
        dueno = Esquema::ConectarServidor(e.RutaBase(), nullptr);
        PQclear(PQexec(
            dueno,
            QStringLiteral("UPDATE esquema SET version = %1").arg(Esquema::kVersion - 1).toUtf8()));
        FalloApertura fallo;
        AlFallarConexion([&](const FalloApertura& f) { fallo = f; });
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("anita"), QStringLiteral("suya")),
                 IngresoServidor::Fallo);
        // What to do is in the message itself, not only under its details.
        QVERIFY2(fallo.titular.contains(QStringLiteral("solo su dueño puede ponerla al día")),
                 qPrintable(fallo.titular));
        QVERIFY2(fallo.causa.contains(QStringLiteral("a la versión %1").arg(Esquema::kVersion)),
                 qPrintable(fallo.causa));
        QString error;
        QCOMPARE(Esquema::Actualizar(dueno, &error), Esquema::Actualizacion::Actualizada);
        QCOMPARE(Uno(dueno, QStringLiteral("SELECT max(version) FROM esquema")),
                 QString::number(Esquema::kVersion));
        PQfinish(dueno);
        AlFallarConexion({});
    }

    // A server whose access configuration turns the person away is told apart from a wrong
    // password, at start-up and at the sign-in window. The refused sign-ins, which the refused
    // session cannot write, reach the history at the next accepted one, before its own line.
    void ingresosRechazadosPorElServidor() {
        Entorno e;
        const int pepe =
            e.Usuario(QStringLiteral("pepe"), QString(), QStringLiteral("Pepe"), 0, 0, 0);
        CerrarConexion();
        const QHash<QString, QString> claves = Proteger(e.RutaBase());
        const QString base = Base(e.RutaBase());
        // The test server's pg_hba.conf rejects the members of this role.
        PGconn* dueno = Esquema::ConectarServidor(e.RutaBase(), nullptr);
        PQclear(PQexec(dueno, "DO $$ BEGIN CREATE ROLE quimbel_sin_acceso NOLOGIN; EXCEPTION "
                              "WHEN duplicate_object THEN NULL; END $$"));
        PQclear(PQexec(dueno, QStringLiteral("GRANT quimbel_sin_acceso TO \"pepe@%1\"")
                                  .arg(base)
                                  .toUtf8()
                                  .constData()));
        PQfinish(dueno);

        const QString nombre = QString::fromLatin1(kOrigenDeDatos);
        const QString titular = TitularConexionFallida(FalloApertura::Tipo::NoAdmitido);
        QString comoPepe = e.RutaBase();
        comoPepe.replace(QStringLiteral("//postgres@"), QStringLiteral("//pepe%40%1@").arg(base));
        QVERIFY(CrearOrigenDeDatos(nombre, comoPepe));
        AlFallarConexion(AvisarConexionFallida);
        QCOMPARE(AbrirConexionServidor(nombre), AccesoServidor::Fallida);
        AlFallarConexion({});
        QCOMPARE(Mensajes::UltimoTexto(), titular);

        QVERIFY(CrearOrigenDeDatos(nombre, e.RutaBase()));
        frmLogin dlg;
        dlg.ConectarAlIngresar = true;
        dlg.show();
        const auto ingresar = [&](const QString& login, const QString& clave) {
            dlg.txtLogin->setText(login);
            dlg.txtPassword->setText(clave);
            QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
            return dlg.LoginSucceeded;
        };
        QVERIFY(!ingresar(QStringLiteral("pepe"), claves.value(QStringLiteral("pepe"))));
        QCOMPARE(Mensajes::UltimoTexto(), titular);
        QVERIFY(dlg.isVisible());
        QVERIFY(!ingresar(QStringLiteral(" Korva "), QStringLiteral("mal")));
        QCOMPARE(Mensajes::UltimoTexto(), QStringLiteral("Password incorrecta!"));
        QVERIFY(ingresar(QStringLiteral("korva"), claves.value(QStringLiteral("korva"))));

        const QString sql = QStringLiteral(
            "SELECT count(*) FROM historial WHERE HisTipo='Ingreso rechazado' AND HisLogin=? AND "
            "HisTabla='usuarios' AND HisClave=? AND HisCampo=? AND HisNuevo=?");
        QCOMPARE(e.Valor(sql, {"pepe", pepe, "Motivo",
                               "el servidor no admite este equipo para ese usuario"})
                     .toInt(),
                 1);
        QCOMPARE(e.Valor(sql, {"Korva", 1, "Informado por", "korva"}).toInt(), 1);
        QCOMPARE(
            e.Valor(QStringLiteral("SELECT HisTipo FROM historial ORDER BY HisId DESC LIMIT 1"))
                .toString(),
            QStringLiteral("Ingreso"));
        QVERIFY(IngresosPendientes::Pendientes(e.RutaBase()).isEmpty());
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM historial WHERE HisNuevo IN (?, "
                                        "'mal')"),
                         {claves.value(QStringLiteral("pepe"))})
                     .toInt(),
                 0);
    }

    // A login whose role name would pass the server's 63 bytes is refused by name, and nothing
    // is protected halfway.
    void loginDemasiadoLargo() {
        Entorno e;
        const QString largo(60, QLatin1Char('n'));
        e.Usuario(largo, QString(), QStringLiteral("Largo"), 1, 0, 0);
        CerrarConexion();
        QString error;
        PGconn* db = Esquema::ConectarServidor(e.RutaBase(), &error);
        QStringList lineas;
        QVERIFY(!ProteccionPg::Proteger(db, &lineas, &error));
        QVERIFY(error.contains(largo));
        QVERIFY(lineas.isEmpty());
        QVERIFY(!ProteccionPg::Protegida(db));
        QCOMPARE(Uno(db, QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname LIKE "
                                        "'%@") +
                             Base(e.RutaBase()) + QLatin1Char('\'')),
                 QStringLiteral("0"));
        PQfinish(db);
    }

    // An authoriser is set only with a grant from the authoriser's own session for the order as
    // it is saved, by the clerk who saves it, and once: not by the authoriser writing it
    // herself, not for other terms, not twice.
    void autorizacionSoloConConcesion() {
        Entorno e;
        const int ana = e.Usuario(QStringLiteral("ana"), QString(), QStringLiteral("Ana"), 1, 1, 0);
        const QVariantList orden{QDateTime(QDate(2026, 2, 3), QTime(8, 30)),
                                 4.0,
                                 QStringLiteral("Caja"),
                                 1,
                                 QString(),
                                 QString(),
                                 QStringLiteral("Normal"),
                                 1,
                                 1,
                                 1,
                                 0,
                                 QStringLiteral("korva")};
        Recordset rs;
        QVERIFY(EjecutarComando(QStringLiteral("orden_insertar"), rs, orden));
        const int numero = rs.Campo(QStringLiteral("OrdId")).toInt();
        // An accepted quote of 150 Pesos, above ana's limit while the rule is on.
        const int proveedor = e.Proveedor(QStringLiteral("Ferretería"));
        e.Insertar("precio_Insertar", {numero, proveedor, QString(), 150.0, QStringLiteral("Pesos"),
                                       QString(), orden[0], orden[0], 1});
        e.Sql(QStringLiteral("INSERT INTO reglas (ReglaNombre, ReglaActiva) VALUES "
                             "('limite_por_moneda', 1)"));
        e.Sql(QStringLiteral("INSERT INTO limitesautorizacion (UsuId, LimMoneda, LimImporte) "
                             "VALUES (?, 'Pesos', 100)"),
              {ana});
        CerrarConexion();
        const QHash<QString, QString> claves = Proteger(e.RutaBase());
        PGconn* propia =
            Sesion(e.RutaBase(), QStringLiteral("ana"), claves.value(QStringLiteral("ana")));
        const QString actualizar = QStringLiteral(
            "SELECT quimbel_comando('orden_actualizar', '%1', '2026-02-03 08:30:00', "
            "'%2', 'Caja', '1', '', '', 'Normal', '1', '1', '1', '%3')");
        PGresult* r = PQexec(propia, actualizar.arg(numero).arg(4).arg(ana).toUtf8().constData());
        QCOMPARE(PQresultStatus(r), PGRES_FATAL_ERROR);
        PQclear(r);
        // Nor through the one-call save; and what that save writes is under her own name,
        // whichever login she sends.
        const QString guardar = QStringLiteral(
            "SELECT orden FROM quimbel_orden_guardar('korva', %1, NULL, '2026-02-03 08:30:00', 4, "
            "'Caja', '1', '', '', 'Normal', 1, 1, 1, %2, '{}', '{}', NULL, ',', 'korva')");
        r = PQexec(propia, guardar.arg(numero).arg(ana).toUtf8().constData());
        QCOMPARE(PQresultStatus(r), PGRES_FATAL_ERROR);
        QVERIFY(QString::fromUtf8(PQresultErrorMessage(r)).contains(QStringLiteral("autoriza")));
        PQclear(r);
        const QString nueva = Uno(propia, guardar.arg(0).arg(0));
        QVERIFY(nueva.toInt() > numero);
        QCOMPARE(Uno(propia, QStringLiteral("SELECT string_agg(DISTINCT HisLogin || '/' || "
                                            "o.UsuLogin, ',') FROM historial JOIN ordenes o ON "
                                            "o.OrdId = HisOrdId WHERE HisOrdId = %1")
                                 .arg(nueva)),
                 QStringLiteral("ana/ana"));
        PQfinish(propia);

        const QString nombre = QString::fromLatin1(kOrigenDeDatos);
        QVERIFY(CrearOrigenDeDatos(nombre, e.RutaBase()));
        QCOMPARE(AbrirConexionComo(nombre, QStringLiteral("korva"),
                                   claves.value(QStringLiteral("korva"))),
                 IngresoServidor::Aceptado);
        Usuarios::Concesion c{numero, 5, proveedor, 150, QStringLiteral("Pesos")};
        QCOMPARE(
            Usuarios::ConcederAutorizacion(ana, QStringLiteral("mal"), QStringLiteral("korva"), c),
            Usuarios::Clave::Incorrecta);
        QCOMPARE(Usuarios::ConcederAutorizacion(ana, claves.value(QStringLiteral("ana")),
                                                QStringLiteral("korva"), c),
                 Usuarios::Clave::Correcta);
        QVariantList v = orden.mid(0, 11);
        v.prepend(numero);
        v[2] = 4.0; // not the quantity authorised
        v[11] = ana;
        Mensajes::Responder(Mensajes::Respuesta::OK);
        Mensajes::Responder(Mensajes::Respuesta::OK);
        QVERIFY(!EjecutarComando(QStringLiteral("orden_actualizar"), rs, v));
        QVERIFY(Mensajes::UltimoTexto().contains(QStringLiteral("autorización")));
        v[2] = 5.0;
        Mensajes::Limpiar();
        Mensajes::Responder(Mensajes::Respuesta::OK);
        Mensajes::Responder(Mensajes::Respuesta::OK);
        QVERIFY(!EjecutarComando(QStringLiteral("orden_actualizar"), rs, v));
        QVERIFY(Mensajes::UltimoTexto().contains(QStringLiteral("límite de autorización")));
        Mensajes::Limpiar();
        // Within the limit the grant, not used by the refused save, is used.
        PGconn* dueno = Esquema::ConectarServidor(e.RutaBase(), nullptr);
        QCOMPARE(Uno(dueno, QStringLiteral("UPDATE limitesautorizacion SET LimImporte = 200 "
                                           "RETURNING 1")),
                 QStringLiteral("1"));
        PQfinish(dueno);
        QVERIFY(EjecutarComando(QStringLiteral("orden_actualizar"), rs, v));
        QCOMPARE(
            e.Valor(QStringLiteral("SELECT AutorizanteId FROM ordenes WHERE OrdId=?"), {numero})
                .toInt(),
            ana);
        // The same terms keep the authoriser; others need a grant again, already used.
        QVERIFY(EjecutarComando(QStringLiteral("orden_actualizar"), rs, v));
        v[2] = 6.0;
        Mensajes::Responder(Mensajes::Respuesta::OK);
        Mensajes::Responder(Mensajes::Respuesta::OK);
        QVERIFY(!EjecutarComando(QStringLiteral("orden_actualizar"), rs, v));
        QCOMPARE(e.Valor(QStringLiteral("SELECT OrdCantidad FROM ordenes WHERE OrdId=?"), {numero})
                     .toDouble(),
                 5.0);
    }

    // A clerk with no rights, with psql and his own password, tries what a clerk with the
    // database open in front of him would: every write is refused and nothing changes.
    void personaSinDerechosNoCambiaNada() {
        Entorno e;
        const int idPepe =
            e.Usuario(QStringLiteral("pepe"), QString(), QStringLiteral("Pepe"), 0, 0, 0);
        const int ana = e.Usuario(QStringLiteral("ana"), QString(), QStringLiteral("Ana"), 1, 1, 0);
        Recordset rs;
        QVERIFY(EjecutarComando(QStringLiteral("orden_insertar"), rs,
                                {QDateTime(QDate(2026, 2, 3), QTime(8, 30)), 4.0,
                                 QStringLiteral("Caja"), 1, QString(), QString(),
                                 QStringLiteral("Normal"), 1, 1, ana, 0, QStringLiteral("ana")}));
        const int orden = rs.Campo(QStringLiteral("OrdId")).toInt();
        CerrarConexion();
        const QHash<QString, QString> claves = Proteger(e.RutaBase());
        PGconn* korva =
            Sesion(e.RutaBase(), QStringLiteral("korva"), claves.value(QStringLiteral("korva")));
        PGconn* pepe =
            Sesion(e.RutaBase(), QStringLiteral("pepe"), claves.value(QStringLiteral("pepe")));
        QCOMPARE(PQstatus(pepe), CONNECTION_OK);
        const QString antes = Huella(e.RutaBase());
        const QString verificador = ProteccionPg::Verificador(
            pepe, QStringLiteral("korva@") + Base(e.RutaBase()), QStringLiteral("x"));
        const QString o = QString::number(orden);
        const QStringList intentos{
            QStringLiteral("UPDATE usuarios SET UsuPuedeAutorizar=1, UsuPuedeCumplir=1 WHERE "
                           "UsuLogin='pepe'"),
            QStringLiteral("SELECT quimbel_comando('usuario_actualizar', '3', 'pepe', '', 'Pepe', "
                           "'1', '1', '1', '0')"),
            QStringLiteral("SELECT quimbel_sincronizar_rol(1)"),
            QStringLiteral("UPDATE usuarios SET UsuPassword='' WHERE UsuLogin='korva'"),
            QStringLiteral("SELECT quimbel_cambiar_clave(1, '%1')").arg(verificador),
            QStringLiteral("ALTER ROLE \"korva@%1\" PASSWORD NULL").arg(Base(e.RutaBase())),
            QStringLiteral("GRANT \"korva@%1\" TO \"pepe@%1\"").arg(Base(e.RutaBase())),
            QStringLiteral("UPDATE ordenes SET AutorizanteId=%1 WHERE OrdId=%2").arg(ana).arg(o),
            QStringLiteral("SELECT quimbel_comando('orden_actualizar', '%1', '2026-02-03', '4', "
                           "'Caja', '1', '', '', 'Normal', '1', '1', '%2', '%2')")
                .arg(o)
                .arg(ana),
            QStringLiteral("SELECT quimbel_orden_estado(%1, 'Pendiente', 'Cumplida')").arg(o),
            QStringLiteral("SELECT quimbel_precios_borrar(%1)").arg(o),
            QStringLiteral("DELETE FROM historial"),
            QStringLiteral("TRUNCATE historial"),
            QStringLiteral("DELETE FROM limitesautorizacion"),
            QStringLiteral("SELECT quimbel_limites(3, ',', 'Pesos', '1e9')"),
            QStringLiteral("SELECT quimbel_reglas(ARRAY['0', '0', '0', '0'])"),
            QStringLiteral("SELECT quimbel_historial('pepe', 'Modificación', 'reglas', '0', NULL, "
                           "'Autorizante ajeno', 'Si', 'No')"),
            QStringLiteral("SELECT quimbel_historial('pepe', 'Modificación', 'productos', '1', "
                           "NULL, 'ProPrecio', '1', '2')"),
            QStringLiteral("DROP TABLE limitesautorizacion"),
            QStringLiteral("ALTER TABLE usuarios ADD COLUMN x integer"),
            QStringLiteral("CREATE TABLE x (a integer)"),
            QStringLiteral("LOCK TABLE esquema IN SHARE ROW EXCLUSIVE MODE"),
            QStringLiteral("SELECT quimbel_bloquear()"),
            QStringLiteral("UPDATE comandos SET sentencias = sentencias || ' DELETE FROM "
                           "historial;' WHERE nombre = 'orden_actualizar'"),
            QStringLiteral("UPDATE comandos_servidor SET sentencias = sentencias || 'DELETE FROM "
                           "historial' WHERE nombre = 'orden_actualizar'"),
            QStringLiteral("CREATE OR REPLACE FUNCTION quimbel_exigir(yo usuarios, derecho text) "
                           "RETURNS void LANGUAGE sql AS 'SELECT NULL'"),
            QStringLiteral("DROP FUNCTION quimbel_llamante()"),
            QStringLiteral("INSERT INTO productos (ProDescripcion) VALUES ('x')"),
            QStringLiteral("SELECT quimbel_fila_guardar('usuarios', 3, 'UsuPuedeAutorizar', '1')"),
            QStringLiteral("SELECT quimbel_fila_guardar('productos', 0, 'ProId) VALUES (1); DROP "
                           "TABLE historial; --', '1')"),
            QStringLiteral("SELECT pg_terminate_backend(%1)").arg(PQbackendPID(korva)),
            QStringLiteral("SELECT quimbel_retirar_rol('korva@%1')").arg(Base(e.RutaBase())),
            // An order's save and its history only through the checked one-call save, and the
            // history under the caller's own name.
            QStringLiteral("SELECT quimbel_orden_guardar('korva', 0, NULL, '2026-02-03', 1, "
                           "'Caja', '1', '', '', 'Normal', 1, 1, 1, 0, '{}', '{}', NULL, ',', "
                           "'korva')"),
            QStringLiteral("SELECT quimbel_orden_escribir('korva', %1, NULL, '2026-02-03', 9, "
                           "'Caja', '1', '', '', 'Normal', 1, 1, 1, 0, '{}', '{}', NULL, ',', "
                           "'korva')")
                .arg(o),
            QStringLiteral("SELECT historial_agregar('korva', %1, ARRAY[(1, 'Modificación', "
                           "'ordenes', %1, 'OrdCantidad', '4', '9')::historial_linea])")
                .arg(o),
            QStringLiteral("SELECT quimbel_historial('korva', 'Modificación', 'ordenes', '%1', "
                           "'%1', 'OrdCantidad', '4', '9')")
                .arg(o),
            QStringLiteral("SELECT quimbel_historial('korva', 'Eliminación', 'ordenes', '%1', "
                           "'%1', 'OrdCantidad', '4', '')")
                .arg(o),
            QStringLiteral("SELECT quimbel_ordenes_estado(ARRAY[%1], 'Pendiente', 'Cumplida', ',')")
                .arg(o),
        };
        for (const QString& sql : intentos) {
            PGresult* r = PQexec(pepe, sql.toUtf8().constData());
            const bool negado = PQresultStatus(r) == PGRES_FATAL_ERROR;
            PQclear(r);
            if (!negado)
                QFAIL(qPrintable(QStringLiteral("Aceptado: ") + sql));
        }
        QCOMPARE(Uno(korva, QStringLiteral("SELECT 1")), QStringLiteral("1"));
        QCOMPARE(Huella(e.RutaBase()), antes);

        // Settings of the session are no say over the history: a line pepe may write (his own
        // sign-in) is chained after the real last line, its key not pushed to the end of its
        // range, and dated in the database's zone rather than the one pepe chose.
        PGconn* dueno = Esquema::ConectarServidor(e.RutaBase(), nullptr);
        const QString ultima =
            Uno(dueno, QStringLiteral("SELECT coalesce(max(HisId), 0) FROM historial"));
        QCOMPARE(Uno(pepe, QStringLiteral("SELECT set_config('quimbel.historial_ultima', "
                                          "'2147483640:' || repeat('0', 64), false) IS NOT NULL "
                                          "AND set_config('TimeZone', 'Etc/GMT+12', false) "
                                          "IS NOT NULL")),
                 QStringLiteral("t"));
        PGresult* r = PQexec(pepe, "SELECT quimbel_historial('', 'Ingreso', 'usuarios', NULL, "
                                   "NULL, NULL, NULL, 'pepe')");
        QVERIFY2(PQresultStatus(r) == PGRES_TUPLES_OK, PQresultErrorMessage(r));
        PQclear(r);
        QCOMPARE(Uno(dueno, QStringLiteral("SELECT (h.HisId < %1 + 100) || ' ' || (h.HisHuella = "
                                           "historial_huella((SELECT HisHuella FROM historial "
                                           "WHERE HisId = %1), h)) || ' ' || (abs(extract(epoch "
                                           "FROM h.HisFecha - LOCALTIMESTAMP(0))) < 600) FROM "
                                           "historial h WHERE h.HisId > %1")
                                .arg(ultima)),
                 QStringLiteral("true true true"));
        // Nor can a person hold up the others' history: pepe keeps a transaction open with
        // every lock he may take, and korva's line still goes in without waiting.
        for (const char* sql : {"BEGIN", "SELECT pg_advisory_xact_lock(7325001)",
                                "LOCK TABLE esquema IN ACCESS SHARE MODE"})
            PQclear(PQexec(pepe, sql));
        r = PQexec(korva, "SET lock_timeout = '2s'; SELECT quimbel_historial('', 'Ingreso', "
                          "'usuarios', NULL, NULL, NULL, NULL, 'korva')");
        QVERIFY2(PQresultStatus(r) == PGRES_TUPLES_OK, PQresultErrorMessage(r));
        PQclear(r);
        PQclear(PQexec(pepe, "ROLLBACK"));

        // An administrator who changes a rule from any client leaves its line: the server
        // writes it with the change.
        const bool ajeno =
            Uno(dueno, QStringLiteral("SELECT count(*) FROM reglas WHERE ReglaActiva = 1 AND "
                                      "ReglaNombre = 'autorizante_ajeno'")) == QStringLiteral("1");
        r = PQexec(korva, ajeno ? "SELECT quimbel_reglas(ARRAY['0', '0', '0', '0'])"
                                : "SELECT quimbel_reglas(ARRAY['1', '0', '0', '0'])");
        QVERIFY2(PQresultStatus(r) == PGRES_TUPLES_OK, PQresultErrorMessage(r));
        PQclear(r);
        QCOMPARE(Uno(dueno, QStringLiteral("SELECT string_agg(HisLogin || ': ' || HisCampo || ': "
                                           "' || HisAnterior || ' → ' || HisNuevo, '; ') FROM "
                                           "historial WHERE HisTabla = 'reglas'")),
                 ajeno ? QStringLiteral("korva: Autorizante ajeno: Si → No")
                       : QStringLiteral("korva: Autorizante ajeno: No → Si"));

        // So are the changes of users and products, whoever makes them and from wherever, worded
        // as the workstation words them.
        const QString desde = Uno(dueno, QStringLiteral("SELECT max(HisId) FROM historial"));
        for (const QString& sql :
             {QStringLiteral("SELECT quimbel_comando('categoria_insertar', 'Ferretería')"),
              QStringLiteral("SELECT quimbel_fila_guardar('productos', 0, 'ProDescripcion', "
                             "'Tornillo', 'CatId', (SELECT max(CatId)::text FROM categorias), "
                             "'ProPrecio', '1234.5')"),
              QStringLiteral("SELECT quimbel_comando('usuario_actualizar', '%1', 'pepe', '', "
                             "'Pepe', '0', '1', '0', '0')")
                  .arg(idPepe)}) {
            // A separator that is no single character is not taken.
            r = PQexec(sql.contains(QLatin1String("productos")) ? pepe : korva,
                       ("SET quimbel.coma = '5 → 9'; " + sql).toUtf8().constData());
            QVERIFY2(PQresultStatus(r) == PGRES_TUPLES_OK, PQresultErrorMessage(r));
            PQclear(r);
        }
        const QString categoria = Uno(dueno, QStringLiteral("SELECT max(CatId) FROM categorias"));
        QCOMPARE(Uno(dueno, QStringLiteral("SELECT string_agg(HisLogin || ' ' || HisTipo || ' ' || "
                                           "HisCampo || ': ' || HisAnterior || ' → ' || "
                                           "HisNuevo, '; ' ORDER BY HisId) FROM historial "
                                           "WHERE HisId > %1")
                                .arg(desde)),
                 QStringLiteral("korva Alta CatDescripcion:  → Ferretería; korva Alta "
                                "CatDesactivada:  → No; pepe Alta ProDescripcion:  → Tornillo; "
                                "pepe Alta CatId:  → Ferretería (%1); pepe Alta ProPrecio:  → "
                                "1234,5; pepe Alta ProSinVencimiento:  → No; pepe Alta "
                                "ProDesactivado:  → No; korva Modificación UsuPuedeAutorizar: "
                                "No → Si")
                     .arg(categoria));
        PQfinish(dueno);
        PQfinish(pepe);
        PQfinish(korva);
    }
};

QUIMBEL_PRUEBA(PruebaServidorProtegido)
#include "PruebaServidorProtegido.moc"
