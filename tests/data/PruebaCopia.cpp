#include "Conexiones.h"
#include "Copia.h"
#include "Entorno.h"
#include "Esquema.h"
#include "Historial.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"

#include <QProcess>
#include <QTest>
#include <sqlite3.h>

namespace {

QString Herramienta() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/quimbel-db");
}

// Runs the command-line tool; gives its exit code and what it wrote.
int Tool(const QStringList& args, QString* salida = nullptr, QString* errores = nullptr) {
    QProcess p;
    p.start(Herramienta(), args);
    if (!p.waitForFinished(120000))
        return -1;
    if (salida)
        *salida = QString::fromUtf8(p.readAllStandardOutput());
    if (errores)
        *errores = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Every row of a table as stored: each value with its storage class, so that a date kept as
// another text form or a flag turned into text shows as a difference.
QStringList Filas(sqlite3* db, const QString& tabla) {
    QStringList filas;
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = "SELECT * FROM " + tabla.toUtf8() + " ORDER BY 1";
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        return {QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(db))};
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList celdas;
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            celdas << QString::number(sqlite3_column_type(st, c)) + QLatin1Char(':') +
                          QString::fromUtf8(
                              reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
        filas << celdas.join(QLatin1Char('|'));
    }
    sqlite3_finalize(st);
    return filas;
}

// The tables of the program and the counters of their keys.
QMap<QString, QStringList> Contenido(const QString& ruta) {
    QMap<QString, QStringList> r;
    sqlite3* db = Esquema::AbrirArchivo(ruta, false, nullptr);
    if (!db)
        return r;
    const QStringList tablas = Esquema::TablasDeDatos() << QStringLiteral("sqlite_sequence");
    for (const QString& t : tablas)
        r.insert(t, Filas(db, t));
    sqlite3_close(db);
    return r;
}

void CompararContenido(const QString& a, const QString& b) {
    const QMap<QString, QStringList> ca = Contenido(a);
    const QMap<QString, QStringList> cb = Contenido(b);
    QCOMPARE(ca.keys(), cb.keys());
    for (auto it = ca.cbegin(); it != ca.cend(); ++it)
        QCOMPARE(cb.value(it.key()), it.value());
}

// The demo database, with what the demo lacks: a deleted last order (its number must never be
// given again), a gap in the keys, quotes and accents in text, empty values.
QString BaseDeOrigen(const Entorno& e) {
    const QString ruta = e.Carpeta() + QStringLiteral("/origen.mdb");
    if (Tool({QStringLiteral("crear"), QStringLiteral("--demo"), ruta}) != 0)
        return {};
    sqlite3* db = Esquema::AbrirArchivo(ruta, false, nullptr);
    const char* sql = "DELETE FROM precios WHERE OrdId IN (SELECT max(OrdId) FROM ordenes);"
                      "DELETE FROM ordenes WHERE OrdId IN (SELECT max(OrdId) FROM ordenes);"
                      "DELETE FROM sectores WHERE SecId = 2;"
                      "INSERT INTO productos (ProDescripcion, ProCodigo, CatId, ProCosto) "
                      "VALUES ('Ñandú de \"peluche\" 3/8''''', NULL, 2, 0.1);";
    bool ok = db && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    // History lines, chained on the file: a copy must carry their hashes as they are.
    ok = ok && CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), ruta) &&
         AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString()) &&
         Historial::Anotar(QStringLiteral("korva"), QStringLiteral("ordenes"), 1, 1,
                           {{QStringLiteral("Regla"), QStringLiteral("límite «Ñ»")},
                            {QStringLiteral("Motivo"), QString()}}) &&
         Historial::Anotar(QStringLiteral("ana"), QStringLiteral("sectores"), 3, 0,
                           {{QStringLiteral("SecDescripcion"), QString()}});
    CerrarConexion();
    return ok ? ruta : QString();
}

// The history's chain as `quimbel-db verificar` finds it; empty when it does not hold.
QString Cadena(const QString& ruta) {
    QString salida;
    return Tool({QStringLiteral("verificar"), ruta}, &salida) == 0 ? salida : QString();
}

} // namespace

class PruebaCopia : public QObject {
    Q_OBJECT
private slots:
    void copiaDeArchivoAArchivoYDestinoConDatos() {
        Entorno e(false);
        const QString origen = BaseDeOrigen(e);
        QVERIFY(!origen.isEmpty());
        const QString destino = e.Carpeta() + QStringLiteral("/destino.mdb");

        QString salida;
        QCOMPARE(Tool({QStringLiteral("copiar"), origen, destino}, &salida), 0);
        CompararContenido(origen, destino);
        // The demo's history and the two lines above, with their very hashes.
        const QString cadena = Cadena(origen);
        QVERIFY(cadena.contains(QStringLiteral("Historial íntegro: ")));
        QCOMPARE(Cadena(destino), cadena);
        QVERIFY2(salida.contains(QRegularExpression(QStringLiteral("\\nordenes +59 +59\\n"))),
                 qPrintable(salida));

        // The program itself works on the copy, and a new order takes a number never used.
        QVERIFY(CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), destino));
        QVERIFY(AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString()));
        e.Insertar("orden_insertar", {QDateTime(QDate(2026, 12, 7), QTime(9, 0)), 1, "u", 1, "", "",
                                      "Normal", 1, 1, 1, 0, "korva"});
        QCOMPARE(e.Valor(QStringLiteral("SELECT max(OrdId) FROM ordenes")).toInt(), 61);
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM productos WHERE ProDescripcion = "
                                        "'ñandú de \"PELUCHE\" 3/8'''''"))
                     .toInt(),
                 1);
        CerrarConexion();

        // A destination that already holds data is left exactly as it was.
        const QMap<QString, QStringList> antes = Contenido(destino);
        QString errores;
        QCOMPARE(Tool({QStringLiteral("copiar"), origen, destino}, &salida, &errores), 1);
        QVERIFY2(errores.contains(QStringLiteral("ya contiene datos")), qPrintable(errores));
        QCOMPARE(Contenido(destino), antes);

        const ResultadoCopia r = CopiarBaseDeDatos(origen, destino);
        QCOMPARE(r.estado, ResultadoCopia::Estado::DestinoConDatos);
        QVERIFY(r.filas.isEmpty());
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    // Moving an office onto the server and taking it back as a file loses nothing: every row,
    // every value's kind, and the key counters, so that no order number is given twice.
    void idaYVueltaPorElServidor() {
        if (!Entorno::EnServidor())
            QSKIP("Necesita el servidor de pruebas.");
        Entorno e;
        e.Sql(QStringLiteral("DELETE FROM usuarios"));
        CerrarConexion();
        const QString origen = BaseDeOrigen(e);
        QVERIFY(!origen.isEmpty());

        ResultadoCopia ida = CopiarBaseDeDatos(origen, e.RutaBase());
        QVERIFY2(ida.Hecha(), qPrintable(ida.causa));
        QCOMPARE(ida.filas.size(), Esquema::TablasDeDatos().size());
        for (const FilasDeTabla& f : ida.filas)
            QCOMPARE(f.destino, f.origen);
        // The hashes made on the file hold on the server, which chains its own lines after them.
        const QString cadena = Cadena(origen);
        QVERIFY(!cadena.isEmpty());
        QCOMPARE(Cadena(e.RutaBase()), cadena);
        const QString vuelta = e.Carpeta() + QStringLiteral("/vuelta.mdb");
        const ResultadoCopia r = CopiarBaseDeDatos(e.RutaBase(), vuelta);
        QVERIFY2(r.Hecha(), qPrintable(r.causa));
        CompararContenido(origen, vuelta);

        QCOMPARE(CopiarBaseDeDatos(origen, e.RutaBase()).estado,
                 ResultadoCopia::Estado::DestinoConDatos);
        QVERIFY(CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), e.RutaBase()));
        QVERIFY(AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString()));
        e.Insertar("orden_insertar", {QDateTime(QDate(2026, 12, 7), QTime(9, 0)), 1, "u", 1, "", "",
                                      "Normal", 1, 1, 1, 0, "korva"});
        QCOMPARE(e.Valor(QStringLiteral("SELECT max(OrdId) FROM ordenes")).toInt(), 61);
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM ordenes")).toInt(), 60);
        QVERIFY(Historial::Anotar(QStringLiteral("korva"), QStringLiteral("ordenes"), 61, 61,
                                  {{QStringLiteral("Regla"), QStringLiteral("en el servidor")}}));
        CerrarConexion();
        const int filas = QRegularExpression(QStringLiteral("íntegro: (\\d+) filas"))
                              .match(cadena)
                              .captured(1)
                              .toInt();
        QVERIFY(filas > 2);
        QVERIFY(Cadena(e.RutaBase())
                    .contains(QStringLiteral("Historial íntegro: %1 filas").arg(filas + 1)));
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    // A copy that cannot be read whole leaves no file behind under the destination's name; a
    // file of an earlier version is left as it was, and the person told how to bring it up to date.
    void origenDanadoNoDejaArchivo() {
        if (Entorno::EnServidor())
            QSKIP("Daña las páginas de un archivo de base de datos.");
        Entorno e(false);
        CerrarConexion();
        const QString destino = e.Carpeta() + QStringLiteral("/destino.mdb");
        const QString anterior = e.Carpeta() + QStringLiteral("/anterior.mdb");
        QVERIFY(QFile::copy(e.RutaBase(), anterior));
        sqlite3* db = Esquema::AbrirArchivo(anterior, false, nullptr);
        QVERIFY(db);
        QCOMPARE(sqlite3_exec(db,
                              "DROP TRIGGER historial_sin_modificar; DROP TRIGGER "
                              "historial_sin_borrar; ALTER TABLE historial DROP COLUMN HisHuella; "
                              "PRAGMA user_version = 3;",
                              nullptr, nullptr, nullptr),
                 SQLITE_OK);
        sqlite3_close(db);
        const QMap<QString, QStringList> antigua = Contenido(anterior);
        ResultadoCopia r = CopiarBaseDeDatos(anterior, destino);
        QCOMPARE(r.estado, ResultadoCopia::Estado::Fallo);
        QVERIFY2(r.causa.contains(QStringLiteral("versión anterior")), qPrintable(r.causa));
        QVERIFY(!QFileInfo::exists(destino));
        QCOMPARE(Contenido(anterior), antigua);
        // An earlier version whose upgrade changed nothing in the tables is copied as it stands.
        QVERIFY(QFile::remove(anterior) && QFile::copy(e.RutaBase(), anterior));
        db = Esquema::AbrirArchivo(anterior, false, nullptr);
        QVERIFY(db);
        const QByteArray previa =
            "PRAGMA user_version = " + QByteArray::number(Esquema::kVersion - 1);
        QCOMPARE(sqlite3_exec(db, previa.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        r = CopiarBaseDeDatos(anterior, destino);
        QVERIFY2(r.Hecha(), qPrintable(r.causa));
        QVERIFY(QFile::remove(destino));

        e.DanarSectores();
        r = CopiarBaseDeDatos(e.RutaBase(), destino);
        QCOMPARE(r.estado, ResultadoCopia::Estado::OrigenDanado);
        QVERIFY(!r.causa.isEmpty());
        QVERIFY(!QFileInfo::exists(destino));
    }
};

QUIMBEL_PRUEBA(PruebaCopia)
#include "PruebaCopia.moc"
