#include "Conexiones.h"
#include "Entorno.h"
#include "Esquema.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"

#include <QTest>
#include <sqlite3.h>

namespace {

// Runs SQL on the file directly, as an older program or another tool would have left it.
void EnArchivo(const QString& ruta, const char* sql) {
    sqlite3* db = Esquema::AbrirArchivo(ruta, false, nullptr);
    QVERIFY(db);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    const QString texto = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    QVERIFY2(rc == SQLITE_OK, qPrintable(texto));
}

int Entero(const QString& ruta, const char* sql) {
    sqlite3* db = Esquema::AbrirArchivo(ruta, false, nullptr);
    sqlite3_stmt* st = nullptr;
    int v = -1;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        v = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return v;
}

bool Abrir() {
    return AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString());
}

// A file as the first version of the program made it, with one order in it.
void VersionUno(Entorno& e) {
    e.Sql(QStringLiteral("INSERT INTO ordenes (OrdCantidad, UsuLogin) VALUES (3, 'ana')"));
    CerrarConexion();
    EnArchivo(e.RutaBase(),
              "DROP TABLE historial; DROP TABLE reglas; DROP TABLE limitesautorizacion; "
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
        QCOMPARE(Entero(e.RutaBase(), "PRAGMA user_version"), Esquema::kVersion);
        QCOMPARE(e.Valor(QStringLiteral("SELECT UsuLogin FROM ordenes")).toString(),
                 QStringLiteral("ana"));
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM historial")).toInt(), 0);
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM reglas")).toInt(), 0);
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM limitesautorizacion")).toInt(), 0);
        // Opened again it is already current: nothing to do, nothing refused.
        QVERIFY(Abrir());
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    void unaActualizacionFallidaNoDejaNadaAMedias() {
        Entorno e;
        VersionUno(e);
        // The table would be created, but its index name is taken: the step fails after its
        // first statement.
        EnArchivo(e.RutaBase(), "CREATE TABLE otra (x); CREATE INDEX historial_orden ON otra (x);");
        QVERIFY(!Abrir());
        QVERIFY(Mensajes::UltimoTexto().contains(QStringLiteral("No tiene suficientes permisos")));
        QVERIFY(Mensajes::Mostrados().last().detalle.contains(QStringLiteral("actualizar")));
        QCOMPARE(Entero(e.RutaBase(), "PRAGMA user_version"), 1);
        QCOMPARE(
            Entero(e.RutaBase(), "SELECT count(*) FROM sqlite_master WHERE name = 'historial'"), 0);
    }

    void unaBaseMasNuevaSeRechazaSinTocarla() {
        Entorno e(false);
        const QByteArray sql =
            "PRAGMA user_version = " + QByteArray::number(Esquema::kVersion + 1) + ";";
        EnArchivo(e.RutaBase(), sql.constData());
        QVERIFY(!Abrir());
        QVERIFY(Mensajes::Mostrados().last().detalle.contains(QStringLiteral("más nueva")));
        QCOMPARE(Entero(e.RutaBase(), "PRAGMA user_version"), Esquema::kVersion + 1);
    }
};

QUIMBEL_PRUEBA(PruebaEsquema)
#include "PruebaEsquema.moc"
