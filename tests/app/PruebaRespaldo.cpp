#include "Conexiones.h"
#include "Entorno.h"
#include "Esquema.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "Reloj.h"
#include "Respaldo.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <sqlite3.h>
#include <thread>

namespace {

void Ejecutar(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK)
        qFatal("%s: %s", sql, error);
}

int Contar(const QString& ruta, const char* tabla) {
    sqlite3* db = Esquema::AbrirArchivo(ruta, false, nullptr);
    if (!db)
        return -1;
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QByteArray("SELECT count(*) FROM ") + tabla;
    int n = -1;
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
}

QStringList Archivos(const QString& carpeta) {
    return QDir(carpeta).entryList(QDir::Files);
}

void Dia(int d) {
    Reloj::Fijar(QDateTime(QDate(2026, 12, d), QTime(8, 30)));
}

const QString kEnUso = QStringLiteral("La copia de seguridad no se realizó porque la base de datos "
                                      "está siendo utilizada por otro usuario.");

} // namespace

// Damage, locks and missing files of a database file have no counterpart on a server.
#define SOLO_CON_ARCHIVO()                                                                         \
    if (Entorno::EnServidor())                                                                     \
    QSKIP("Se aplica a un archivo de base de datos, no a una base del servidor.")

class PruebaRespaldo : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Reloj::Fijar(QDateTime()); }

    // Also from a server: the copy is a database file all the same.
    void unaCopiaPorDiaLaUltimaDelDiaReemplazaALaAnterior() {
        Entorno e;
        e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        CerrarConexion();
        const QString carpeta = e.Carpeta() + QStringLiteral("/copias");
        QVERIFY(QDir().mkpath(carpeta));

        Dia(6);
        QVERIFY(RespaldarBaseDeDatos(e.RutaBase(), carpeta));
        const QString copia6 = NombreRespaldo(carpeta, QDate(2026, 12, 6));
        QCOMPARE(Archivos(carpeta), QStringList{QStringLiteral("bdquimbel06dic2026.mdb")});
        QCOMPARE(Contar(copia6, "sectores"), 1);

        QVERIFY(AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString()));
        e.Insertar("sector_insertar", {QStringLiteral("Ventas")});
        CerrarConexion();
        QVERIFY(RespaldarBaseDeDatos(e.RutaBase(), carpeta));
        QCOMPARE(Archivos(carpeta).size(), 1);
        QCOMPARE(Contar(copia6, "sectores"), 2);

        Dia(7);
        QVERIFY(RespaldarBaseDeDatos(e.RutaBase(), carpeta));
        QCOMPARE(Archivos(carpeta).size(), 2);
        QCOMPARE(Contar(NombreRespaldo(carpeta, QDate(2026, 12, 7)), "sectores"), 2);
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QVERIFY(!QApplication::overrideCursor());
    }

    void baseDanadaNoReemplazaLaCopiaBuenaYQuedaAparte() {
        SOLO_CON_ARCHIVO();
        Entorno e(false);
        const QString carpeta = e.Carpeta() + QStringLiteral("/copias");
        QVERIFY(QDir().mkpath(carpeta));
        Dia(6);
        QVERIFY(RespaldarBaseDeDatos(e.RutaBase(), carpeta));
        const QString buena = NombreRespaldo(carpeta, QDate(2026, 12, 6));

        e.DanarSectores();
        for (int vez = 0; vez < 2; ++vez) { // a second damaged start of the day replaces the first
            Mensajes::Limpiar();
            QVERIFY(!RespaldarBaseDeDatos(e.RutaBase(), carpeta));
            QCOMPARE(Archivos(carpeta),
                     QStringList({QStringLiteral("bdquimbel06dic2026-dañada.mdb"),
                                  QStringLiteral("bdquimbel06dic2026.mdb")}));
            QCOMPARE(Contar(buena, "sectores"), 0);
            QCOMPARE(Mensajes::Mostrados().size(), 1);
            const Mensajes::Mostrado m = Mensajes::Mostrados().first();
            QCOMPARE(
                m.texto,
                QStringLiteral("La base de datos está dañada: la copia de seguridad no se "
                               "realizó, para no reemplazar una copia buena. La base dañada "
                               "se guardó como «%1».")
                    .arg(QDir::toNativeSeparators(NombreRespaldoDanado(carpeta, Reloj::Hoy()))));
            QCOMPARE(m.titulo, QStringLiteral("Copia de seguridad automática"));
            QCOMPARE(m.icono, Mensajes::Icono::Exclamacion);
        }
        QCOMPARE(UltimoRespaldo(carpeta), buena);
        QVERIFY(!QApplication::overrideCursor());
    }

    void carpetaOOrigenInexistentesNoAvisan() {
        SOLO_CON_ARCHIVO();
        Entorno e(false);
        Dia(6);
        const QString falta = e.Carpeta() + QStringLiteral("/no-existe");
        QVERIFY(!RespaldarBaseDeDatos(e.RutaBase(), falta));
        QVERIFY(!QFileInfo::exists(falta));
        QVERIFY(!RespaldarBaseDeDatos(e.Carpeta() + QStringLiteral("/otra.mdb"), e.Carpeta()));
        QCOMPARE(Archivos(e.Carpeta()).filter(QStringLiteral("bdquimbel0")), QStringList());
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QVERIFY(!QApplication::overrideCursor());
    }

    void copiaConsistenteMientrasOtroPuestoEscribe() {
        SOLO_CON_ARCHIVO();
        Entorno e(false);
        Dia(6);
        const QString carpeta = e.Carpeta() + QStringLiteral("/copias");
        QVERIFY(QDir().mkpath(carpeta));
        const QString copia = NombreRespaldo(carpeta, Reloj::Hoy());
        sqlite3* otro = Esquema::AbrirArchivo(e.RutaBase(), false, nullptr);
        QVERIFY(otro);

        // An unfinished write elsewhere does not hold the copy up, nor end up in it.
        Ejecutar(otro,
                 "BEGIN IMMEDIATE; INSERT INTO sectores (SecDescripcion) VALUES ('A medias')");
        QVERIFY(RespaldarBaseDeDatos(e.RutaBase(), carpeta));
        QCOMPARE(Contar(copia, "sectores"), 0);
        Ejecutar(otro, "COMMIT");

        // A write being committed is waited for, and the copy holds it.
        Ejecutar(otro, "BEGIN EXCLUSIVE; INSERT INTO sectores (SecDescripcion) VALUES ('Entera')");
        std::thread otroPuesto([otro] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            Ejecutar(otro, "COMMIT");
        });
        const bool hecho = RespaldarBaseDeDatos(e.RutaBase(), carpeta);
        otroPuesto.join();
        QVERIFY(hecho);
        QCOMPARE(Contar(copia, "sectores"), 2);
        sqlite3_close(otro);
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    // A large file is copied in steps, each telling how far the copy got; a workstation that
    // commits between two steps does not get into the copy, which stays one state of the file.
    void copiaGrandeAvisaSuAvanceYEsUnSoloEstado() {
        SOLO_CON_ARCHIVO();
        Entorno e(false);
        Dia(6);
        const QString carpeta = e.Carpeta() + QStringLiteral("/copias");
        QVERIFY(QDir().mkpath(carpeta));
        sqlite3* otro = Esquema::AbrirArchivo(e.RutaBase(), false, nullptr);
        QVERIFY(otro);
        Ejecutar(otro, "CREATE TABLE relleno (x); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                       "SELECT i + 1 FROM n WHERE i < 3000) INSERT INTO relleno SELECT "
                       "zeroblob(4000) FROM n");
        sqlite3_busy_timeout(otro, 0);
        QList<int> hechas;
        int total = 0;
        const bool hecho =
            RespaldarBaseDeDatos(e.RutaBase(), carpeta, kEsperaOcupadoMs, [&](int h, int t) {
                hechas << h;
                total = t;
                if (hechas.size() == 1 &&
                    sqlite3_exec(otro,
                                 "BEGIN IMMEDIATE; INSERT INTO sectores (SecDescripcion) "
                                 "VALUES ('Entre pasos'); COMMIT",
                                 nullptr, nullptr, nullptr) != SQLITE_OK)
                    sqlite3_exec(otro, "ROLLBACK", nullptr, nullptr, nullptr);
            });
        sqlite3_close(otro);
        QVERIFY(hecho);
        QVERIFY2(hechas.size() > 1, qPrintable(QString::number(hechas.size())));
        QVERIFY(std::is_sorted(hechas.cbegin(), hechas.cend()));
        QCOMPARE(hechas.last(), total);
        const QString copia = NombreRespaldo(carpeta, Reloj::Hoy());
        QCOMPARE(Contar(copia, "relleno"), 3000);
        QCOMPARE(Contar(copia, "sectores"), 0);
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    void baseBloqueadaMasAllaDeLaEsperaSeInforma() {
        SOLO_CON_ARCHIVO();
        Entorno e(false);
        Dia(6);
        const QString carpeta = e.Carpeta() + QStringLiteral("/copias");
        QVERIFY(QDir().mkpath(carpeta));
        sqlite3* otro = Esquema::AbrirArchivo(e.RutaBase(), false, nullptr);
        Ejecutar(otro, "BEGIN EXCLUSIVE; INSERT INTO sectores (SecDescripcion) VALUES ('X')");

        QVERIFY(!RespaldarBaseDeDatos(e.RutaBase(), carpeta, 200));
        Ejecutar(otro, "ROLLBACK");
        sqlite3_close(otro);
        QCOMPARE(Archivos(carpeta), QStringList());
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Mensajes::UltimoTexto(), kEnUso);
        QCOMPARE(Mensajes::Mostrados().first().titulo,
                 QStringLiteral("Copia de seguridad automática"));
        QVERIFY(!QApplication::overrideCursor());
    }
};

QUIMBEL_PRUEBA(PruebaRespaldo)
#include "PruebaRespaldo.moc"
