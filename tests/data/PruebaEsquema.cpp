#include "CadenaHuellasSql.h"
#include "Conexiones.h"
#include "Entorno.h"
#include "Esquema.h"
#include "EsquemaDefinicion.h"
#include "Historial.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "Usuario.h"
#include "Usuarios.h"

#include <QProcess>
#include <QTest>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

// Runs SQL on the database directly, as an older program or another tool would have left it;
// gives the first column of the first row, if any.
int Directo(const QString& ruta, const char* sql) {
    int v = -1;
    if (Entorno::EnServidor()) {
        pg_conn* db = Esquema::ConectarServidor(ruta, nullptr);
        PGresult* r = PQexec(db, sql);
        const bool ok =
            PQresultStatus(r) == PGRES_TUPLES_OK || PQresultStatus(r) == PGRES_COMMAND_OK;
        const QString texto = QString::fromUtf8(PQresultErrorMessage(r));
        if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0)
            v = QByteArray(PQgetvalue(r, 0, 0)).toInt();
        PQclear(r);
        PQfinish(db);
        if (!ok)
            qFatal("%s", qPrintable(texto));
        return v;
    }
    sqlite3* db = Esquema::AbrirArchivo(ruta, false, nullptr);
    sqlite3_stmt* st = nullptr;
    const char* resto = sql;
    int rc = SQLITE_OK;
    while (*resto && (rc = sqlite3_prepare_v2(db, resto, -1, &st, &resto)) == SQLITE_OK && st) {
        if ((rc = sqlite3_step(st)) == SQLITE_ROW && v == -1)
            v = sqlite3_column_int(st, 0);
        sqlite3_finalize(st);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            break;
        rc = SQLITE_OK;
    }
    const QString texto = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        qFatal("%s", qPrintable(texto));
    return v;
}

// Every stored line's hash, computed again by the server's quimbel_huellas (in C where the
// extension is installed) and by its plpgsql form, which a server without the extension uses,
// made here in a schema of its own: both find the chain's hashes.
void ElServidorHallaLasMismasHuellas(const QString& ruta) {
    Directo(ruta, QByteArray("CREATE SCHEMA sin_extension; SET search_path = sin_extension, "
                             "public; ") +
                      CadenaSql::kHuellasPlpgsql);
    for (const char* esquema : {"public", "sin_extension"}) {
        const QByteArray sql =
            QByteArray("SELECT count(*) FROM (SELECT h.*, lag(HisHuella) OVER (ORDER BY HisId) "
                       "AS previa FROM historial h) x WHERE (") +
            esquema +
            ".quimbel_huellas(previa, ARRAY[HisId::bigint], ARRAY[HisCambio::bigint], HisFecha, "
            "HisLogin, HisOrdId, ARRAY[ROW(0, HisTipo, HisTabla, HisClave, HisCampo, "
            "HisAnterior, HisNuevo)::historial_linea]))[1] IS DISTINCT FROM HisHuella";
        QVERIFY2(Directo(ruta, sql.constData()) == 0, esquema);
    }
    QCOMPARE(Directo(ruta, "SELECT count(*) FROM historial"), 4);
    // The test script installs the extension's package where it can, and says so.
    if (qEnvironmentVariableIsSet("QUIMBEL_PRUEBAS_EXTENSION"))
        QCOMPARE(Directo(ruta, "SELECT count(*) FROM pg_extension WHERE extname = "
                               "'quimbel_cadena' AND extversion = '2'"),
                 1);
}

// Whether `pedido`, in a session of its own, waits for a transaction that did `tomado`.
bool Espera(const QString& ruta, const char* tomado, const char* pedido) {
    pg_conn* uno = Esquema::ConectarServidor(ruta, nullptr);
    pg_conn* otro = Esquema::ConectarServidor(ruta, nullptr);
    PQclear(PQexec(uno, (QByteArray("BEGIN; ") + tomado).constData()));
    PGresult* r =
        PQexec(otro, (QByteArray("SET lock_timeout = 300; BEGIN; ") + pedido).constData());
    const bool espera = QByteArray(PQresultErrorField(r, PG_DIAG_SQLSTATE)) == "55P03";
    PQclear(r);
    PQfinish(otro);
    PQfinish(uno);
    return espera;
}

// One writer of history lines at a time: the chain's lock (in C where the extension is installed)
// waits for another holder and for the table's lock that the plpgsql form takes, as in an office
// switching to the extension, and the other way round; reading the schema's version, as every
// sign-in does, waits for none of them.
void UnEscritorALaVez(const QString& ruta) {
    const char* cadena = "SELECT quimbel_bloquear()";
    const char* tabla = "LOCK TABLE esquema IN SHARE ROW EXCLUSIVE MODE";
    QVERIFY(Espera(ruta, cadena, cadena));
    QVERIFY(Espera(ruta, tabla, cadena));
    QVERIFY(Espera(ruta, cadena, tabla));
    QVERIFY(!Espera(ruta, cadena, "SELECT max(version) FROM esquema"));
}

int Version(const QString& ruta) {
    return Directo(ruta, Entorno::EnServidor() ? "SELECT max(version) FROM esquema"
                                               : "PRAGMA user_version");
}

bool Abrir() {
    return AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString());
}

// A database as the first version of the program made it, with one order in it, quoted three
// times: refused, then accepted twice. On the server its views are the file's, as they were then.
void VersionUno(Entorno& e) {
    e.Sql(QStringLiteral("INSERT INTO ordenes (OrdCantidad, UsuLogin) VALUES (3, 'ana')"));
    e.Sql(QStringLiteral("INSERT INTO precios (OrdId, PrePrecio, PreAceptado) SELECT OrdId, 5, 0 "
                         "FROM ordenes UNION ALL SELECT OrdId, 7, 1 FROM ordenes"));
    e.Sql(QStringLiteral("INSERT INTO precios (OrdId, PrePrecio, PreAceptado) "
                         "SELECT OrdId, 9, 1 FROM ordenes"));
    CerrarConexion();
    const QByteArray vistas = QByteArrayLiteral("DROP INDEX precios_aceptado; "
                                                "DROP VIEW v_ordenes_preciosaceptados; "
                                                "DROP VIEW v_precios_proveedores;") +
                              Esquema::kVistas;
    Directo(
        e.RutaBase(),
        Entorno::EnServidor()
            ? "DROP TABLE historial CASCADE; DROP TABLE reglas; DROP TABLE limitesautorizacion; "
              "DROP FUNCTION ahora(); "
              "DROP FUNCTION historial_encadenar(); DROP FUNCTION historial_solo_agregar(); "
              "UPDATE esquema SET version = 1;"
            : "DROP TABLE historial; DROP TABLE reglas; DROP TABLE limitesautorizacion; "
              "PRAGMA user_version = 1;");
    if (Entorno::EnServidor())
        Directo(e.RutaBase(), vistas.constData());
}

// The append-only triggers removed by hand, as someone who wants to rewrite the history would.
const char* kSinDisparadores =
    "DROP TRIGGER historial_sin_modificar; DROP TRIGGER historial_sin_borrar;";
const char* kSinDisparadoresServidor = "DROP TRIGGER historial_solo_agregar ON historial; "
                                       "DROP TRIGGER historial_sin_vaciar ON historial;";

// A database of version 3, with history lines written as the program wrote them then: no hash,
// nothing keeping them from being changed.
void VersionTres(Entorno& e) {
    QVERIFY(Historial::Anotar(QStringLiteral("korva"), QStringLiteral("ordenes"), 1, 1,
                              {{QStringLiteral("Regla"), QStringLiteral("límite")},
                               {QStringLiteral("Motivo"), QString()}}));
    QVERIFY(Historial::Anotar(QStringLiteral("ana"), QStringLiteral("sectores"), 2, 0,
                              {{QStringLiteral("SecDescripcion"), QStringLiteral("Ñandú")}}));
    CerrarConexion();
    Directo(e.RutaBase(),
            Entorno::EnServidor()
                ? "DROP TRIGGER historial_encadenar ON historial; "
                  "DROP TRIGGER historial_solo_agregar ON historial; "
                  "DROP TRIGGER historial_sin_vaciar ON historial; "
                  "DROP FUNCTION historial_encadenar(); DROP FUNCTION historial_solo_agregar(); "
                  "DROP FUNCTION historial_huella(text, historial); "
                  "ALTER TABLE historial DROP COLUMN HisHuella; UPDATE esquema SET version = 3;"
                : "DROP TRIGGER historial_sin_modificar; DROP TRIGGER historial_sin_borrar; "
                  "ALTER TABLE historial DROP COLUMN HisHuella; PRAGMA user_version = 3;");
}

// `quimbel-db verificar`: its exit code, with what it wrote on either output.
int VerificarBase(const QString& ruta, QString* salida) {
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/quimbel-db"),
            {QStringLiteral("verificar"), ruta});
    if (!p.waitForFinished(60000))
        return -1;
    *salida = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitCode();
}

} // namespace

class PruebaEsquema : public QObject {
    Q_OBJECT
private slots:
    // Making, upgrading and verifying the schema, and the history's triggers, are the owner's
    // matters: an upgrade on opening runs DDL, which no person's role of a protected server may
    // run, and the triggers guard the history against the owner's own tools. These tests run on
    // databases as `copiar` makes them; what a person may not do is PruebaServidorProtegido's.
    void initTestCase() { qputenv("QUIMBEL_PRUEBAS_PROTEGIDA", "0"); }

    void unaBaseAnteriorSeActualizaAlAbrirla() {
        Entorno e;
        VersionUno(e);
        QVERIFY(Abrir());
        QCOMPARE(Version(e.RutaBase()), Esquema::kVersion);
        QCOMPARE(e.Valor(QStringLiteral("SELECT UsuLogin FROM ordenes")).toString(),
                 QStringLiteral("ana"));
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM historial")).toInt(), 0);
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM reglas")).toInt(), 0);
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM limitesautorizacion")).toInt(), 0);
        // The order list's view shows the first accepted quote; on the server it no longer looks
        // that quote up once per order.
        QCOMPARE(
            e.Valor(QStringLiteral("SELECT PrePrecio FROM v_ordenes_preciosaceptados")).toDouble(),
            7.0);
        if (Entorno::EnServidor()) {
            const QString plan =
                e.Valor(QStringLiteral("EXPLAIN (FORMAT JSON) SELECT * FROM "
                                       "v_ordenes_preciosaceptados WHERE OrdEstado = 'a'"))
                    .toString();
            QVERIFY(plan.contains(QStringLiteral("\"Plan\"")));
            QVERIFY(!plan.contains(QStringLiteral("SubPlan")));
            QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM pg_indexes "
                                            "WHERE indexname = 'precios_aceptado'"))
                         .toInt(),
                     1);
        }
        // What the new version writes works on the upgraded database.
        Historial::Registro sector;
        sector.columnas = QStringList{QStringLiteral("SecId"), QStringLiteral("SecDescripcion")};
        sector.valores = QStringList{QStringLiteral("1"), QStringLiteral("Compras")};
        QVERIFY(Historial::RegistrarRegistro(QStringLiteral("korva"), QStringLiteral("sectores"),
                                             QStringLiteral("SecId"), {}, sector));
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM historial")).toInt(), 1);
        // Opened again it is already current: nothing to do, nothing refused.
        QVERIFY(Abrir());
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    // The engine refuses to change or remove a history line; with its guard removed by hand, a
    // removed line and then an altered one are each named by the check of the chain, in the
    // tool and in what the dossier is told.
    void elHistorialSoloCreceYSuCadenaNombraLaLineaTocada() {
        Entorno e;
        const QString korva = QStringLiteral("korva");
        const QString ordenes = QStringLiteral("ordenes");
        QVERIFY(Historial::Anotar(korva, ordenes, 1, 1,
                                  {{QStringLiteral("Regla"), QStringLiteral("límite")},
                                   {QStringLiteral("Motivo"), QString()}}));
        QVERIFY(
            Historial::Anotar(QStringLiteral("ana"), QStringLiteral("sectores"), 2, 0,
                              {{QStringLiteral("SecDescripcion"),
                                QStringLiteral("Ñandú 😀 O'Brien ") + QString(3000, QChar(0xE9))}}));
        QVERIFY(Historial::Anotar(korva, ordenes, 1, 1,
                                  {{QStringLiteral("Regla"), QStringLiteral("otra, ya")}}));
        const int alterada =
            e.Valor(QStringLiteral("SELECT HisId FROM historial WHERE HisCampo = 'Motivo'"))
                .toInt();
        const int quitada =
            e.Valor(QStringLiteral("SELECT HisId FROM historial WHERE HisTabla = 'sectores'"))
                .toInt();
        const int siguiente =
            e.Valor(QStringLiteral("SELECT min(HisId) FROM historial WHERE HisId > ?"), {quitada})
                .toInt();
        QVERIFY(Historial::ComprobarCadena(1).integra);
        if (Entorno::EnServidor()) {
            ElServidorHallaLasMismasHuellas(e.RutaBase());
            UnEscritorALaVez(e.RutaBase());
        }

        Recordset rs;
        QVERIFY(!AbrirRecordset(
            QStringLiteral("UPDATE historial SET HisLogin = 'zelti' WHERE HisId = ?"), rs,
            {alterada}));
        QVERIFY2(Mensajes::UltimoTexto().contains(QStringLiteral("no se pueden modificar")),
                 qPrintable(Mensajes::UltimoTexto()));
        QVERIFY(!AbrirRecordset(QStringLiteral("DELETE FROM historial WHERE HisOrdId = 1"), rs));
        QVERIFY(Mensajes::UltimoTexto().contains(QStringLiteral("no se pueden borrar")));
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM historial WHERE HisLogin = 'korva'"))
                     .toInt(),
                 3);
        CerrarConexion();

        QString salida;
        QCOMPARE(VerificarBase(e.RutaBase(), &salida), 0);
        QVERIFY2(salida.contains(QStringLiteral("Historial íntegro: 4 filas, encadenadas desde la "
                                                "primera.")),
                 qPrintable(salida));

        Directo(e.RutaBase(), Entorno::EnServidor() ? kSinDisparadoresServidor : kSinDisparadores);
        Directo(e.RutaBase(),
                QByteArray("DELETE FROM historial WHERE HisId = " + QByteArray::number(quitada))
                    .constData());
        QCOMPARE(VerificarBase(e.RutaBase(), &salida), 1);
        QVERIFY2(salida.contains(QStringLiteral("no se sostiene en la fila %1:").arg(siguiente)),
                 qPrintable(salida));
        Directo(e.RutaBase(), QByteArray("UPDATE historial SET HisLogin = 'zelti' WHERE HisId = " +
                                         QByteArray::number(alterada))
                                  .constData());
        QCOMPARE(VerificarBase(e.RutaBase(), &salida), 1);
        QVERIFY2(salida.contains(QStringLiteral("no se sostiene en la fila %1:").arg(alterada)),
                 qPrintable(salida));
        QVERIFY(Abrir());
        const Historial::Cadena cadena = Historial::ComprobarCadena(1);
        QVERIFY(!cadena.integra);
        QVERIFY(cadena.descripcion.contains(QStringLiteral("fila %1:").arg(alterada)));

        // A copy restored where the server lacks the extension is turned away at the door, saying
        // what is missing, rather than failing at its first save.
        if (Entorno::EnServidor()) {
            CerrarConexion();
            Directo(e.RutaBase(), "DROP EXTENSION IF EXISTS quimbel_cadena; DROP FUNCTION IF "
                                  "EXISTS quimbel_huellas(text, bigint[], bigint[], timestamp, "
                                  "text, integer, historial_linea[])");
            QVERIFY(!Abrir());
            QVERIFY2(Mensajes::UltimoTexto().startsWith(
                         QStringLiteral("Al servidor le falta la extensión")),
                     qPrintable(Mensajes::UltimoTexto()));
        }
    }

    // An older database gets its lines chained on the upgrade, behind a line that says so; the
    // check says from which line on the chain is evidence, and new lines join it.
    void unaBaseAnteriorEncadenaSuHistorialAlActualizarse() {
        Entorno e;
        VersionTres(e);
        QVERIFY(Abrir());
        QCOMPARE(Version(e.RutaBase()), Esquema::kVersion);
        const int sello =
            e.Valor(QStringLiteral("SELECT HisId FROM historial WHERE HisTipo = 'Encadenado'"))
                .toInt();
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM historial WHERE HisId < ?"), {sello})
                     .toInt(),
                 3);
        QVERIFY(Historial::Anotar(QStringLiteral("korva"), QStringLiteral("ordenes"), 1, 1,
                                  {{QStringLiteral("Regla"), QStringLiteral("después")}}));
        CerrarConexion();
        QString salida;
        QCOMPARE(VerificarBase(e.RutaBase(), &salida), 0);
        QVERIFY2(salida.contains(QStringLiteral("Historial íntegro: 5 filas. La cadena da fe desde "
                                                "la fila %1;")
                                     .arg(sello)),
                 qPrintable(salida));
    }

    // Passwords kept in the reversible form of older versions are hashed on the upgrade: every
    // user signs in with the same password as before, and no stored value gives one away.
    void unaBaseAnteriorCifraSusContrasenasAlActualizarse() {
        Entorno e;
        const QStringList claves{QString(), QStringLiteral("secreto"),
                                 QStringLiteral("Ñandú 3/8''"),
                                 QChar(0x20AC) + QStringLiteral("uro þ")};
        e.Sql(QStringLiteral("UPDATE usuarios SET UsuPassword = ''"));
        for (int i = 1; i < claves.size(); ++i)
            e.Sql(QStringLiteral("INSERT INTO usuarios (UsuLogin, UsuPassword, UsuNombre) "
                                 "VALUES (?, ?, ?)"),
                  {QStringLiteral("u%1").arg(i), CodificarClave(claves[i]), QStringLiteral("U")});
        CerrarConexion();
        Directo(e.RutaBase(), Entorno::EnServidor() ? "UPDATE esquema SET version = 4"
                                                    : "PRAGMA user_version = 4");
        QVERIFY(Abrir());
        QCOMPARE(Version(e.RutaBase()), Esquema::kVersion);
        for (int i = 0; i < claves.size(); ++i) {
            const QString login = i == 0 ? QStringLiteral("korva") : QStringLiteral("u%1").arg(i);
            QCOMPARE(Usuarios::ConfirmarIngreso(login, claves[i]), Usuarios::Ingreso::Aceptado);
            QCOMPARE(Usuarios::ConfirmarIngreso(login, claves[i] + QLatin1Char('x')),
                     Usuarios::Ingreso::ClaveIncorrecta);
        }
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM usuarios WHERE UsuPassword NOT "
                                        "LIKE '$argon2id$%'"))
                     .toInt(),
                 0);
        // The upgrade itself writes no line; the sign-ins write theirs, none holding a password.
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM historial WHERE HisTipo NOT IN "
                                        "('Ingreso', 'Ingreso rechazado')"))
                     .toInt(),
                 0);
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM historial WHERE HisCampo IN "
                                        "('Puesto', 'Motivo')"))
                     .toInt(),
                 3 * claves.size());
    }

    void unaActualizacionFallidaNoDejaNadaAMedias() {
        Entorno e;
        VersionUno(e);
        // The table would be created, but its index name is taken: the step fails after its
        // first statement.
        Directo(e.RutaBase(),
                "CREATE TABLE otra (x integer); CREATE INDEX historial_orden ON otra (x);");
        QVERIFY(!Abrir());
        QVERIFY(
            Mensajes::UltimoTexto().contains(QStringLiteral("No se pudo abrir la base de datos")));
        QVERIFY(Mensajes::Mostrados().last().detalle.contains(QStringLiteral("actualizar")));
        QCOMPARE(Version(e.RutaBase()), 1);
        QCOMPARE(Directo(e.RutaBase(), Entorno::EnServidor()
                                           ? "SELECT count(*) FROM pg_tables WHERE tablename = "
                                             "'historial'"
                                           : "SELECT count(*) FROM sqlite_master WHERE name = "
                                             "'historial'"),
                 0);
    }

    void unaBaseMasNuevaSeRechazaSinTocarla() {
        Entorno e(false);
        const QByteArray sql =
            (Entorno::EnServidor() ? "UPDATE esquema SET version = " : "PRAGMA user_version = ") +
            QByteArray::number(Esquema::kVersion + 1);
        Directo(e.RutaBase(), sql.constData());
        QVERIFY(!Abrir());
        QVERIFY(Mensajes::Mostrados().last().detalle.contains(QStringLiteral("más nueva")));
        QCOMPARE(Version(e.RutaBase()), Esquema::kVersion + 1);
    }
};

QUIMBEL_PRUEBA(PruebaEsquema)
#include "PruebaEsquema.moc"
