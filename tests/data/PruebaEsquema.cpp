#include "Conexiones.h"
#include "Entorno.h"
#include "Esquema.h"
#include "Historial.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"

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

int Version(const QString& ruta) {
    return Directo(ruta, Entorno::EnServidor() ? "SELECT max(version) FROM esquema"
                                               : "PRAGMA user_version");
}

bool Abrir() {
    return AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString());
}

// A database as the first version of the program made it, with one order in it.
void VersionUno(Entorno& e) {
    e.Sql(QStringLiteral("INSERT INTO ordenes (OrdCantidad, UsuLogin) VALUES (3, 'ana')"));
    CerrarConexion();
    Directo(e.RutaBase(),
            Entorno::EnServidor()
                ? "DROP TABLE historial; DROP TABLE reglas; DROP TABLE limitesautorizacion; "
                  "DROP FUNCTION ahora(); UPDATE esquema SET version = 1;"
                : "DROP TABLE historial; DROP TABLE reglas; DROP TABLE limitesautorizacion; "
                  "PRAGMA user_version = 1;");
}

} // namespace

class PruebaEsquema : public QObject {
    Q_OBJECT
private slots:
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

    void unaActualizacionFallidaNoDejaNadaAMedias() {
        Entorno e;
        VersionUno(e);
        // The table would be created, but its index name is taken: the step fails after its
        // first statement.
        Directo(e.RutaBase(),
                "CREATE TABLE otra (x integer); CREATE INDEX historial_orden ON otra (x);");
        QVERIFY(!Abrir());
        QVERIFY(Mensajes::UltimoTexto().contains(QStringLiteral("No tiene suficientes permisos")));
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
