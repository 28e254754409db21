#include "Clave.h"
#include "Conexiones.h"
#include "Contrasena.h"
#include "Copia.h"
#include "Entorno.h"
#include "Esquema.h"
#include "ImportarAccess.h"
#include "RegistroPruebas.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QtEndian>
#include <sqlite3.h>

class PruebaImportarAccess : public QObject {
    Q_OBJECT

private:
    static QString Binario(const QString& nombre) {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/") + nombre;
    }

    static int Ejecutar(const QString& programa, const QStringList& args, QString* salida = nullptr,
                        QString* errores = nullptr) {
        QProcess p;
        p.start(programa, args);
        if (!p.waitForFinished(120000))
            return -1;
        if (salida)
            *salida = QString::fromUtf8(p.readAllStandardOutput());
        if (errores)
            *errores = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    static bool SqlArchivo(const QString& ruta, const char* sql) {
        sqlite3* db = Esquema::AbrirArchivo(ruta, false, nullptr);
        const bool ok = db && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return ok;
    }

    // The demo with what an office's years leave: a deleted last order (its number must not be
    // given again), a long comment with accents, "ñ", the euro sign and quotes, a date before the
    // Jet engine's day zero (its day numbers count back, the hours forward), empty texts beside
    // missing ones, and rows in the tables later versions added.
    static constexpr const char* kAgregados =
        "DELETE FROM precios WHERE OrdId IN (SELECT max(OrdId) FROM ordenes);"
        "DELETE FROM ordenes WHERE OrdId IN (SELECT max(OrdId) FROM ordenes);"
        "UPDATE ordenes SET OrdComentario = 'Árbol, ñandú y «comillas» \"dobles\" 3/8'' € ' || "
        "  printf('%.300c', 'x') || ' fin' WHERE OrdId = 2;"
        "UPDATE ordenes SET OrdComentario = '', OrdLugarEntrega = NULL WHERE OrdId = 3;"
        "UPDATE ordenes SET OrdComentario = 'Más de un mega: ' || printf('%.1100000c', 'x') || "
        "  ' fin' WHERE OrdId = 6;"
        "UPDATE ordenes SET OrdFecha = '1899-12-29 06:30:15' WHERE OrdId = 5;"
        "INSERT INTO reglas (ReglaNombre, ReglaActiva) VALUES ('dos_cotizaciones', 1);"
        "INSERT INTO limitesautorizacion VALUES (5, 'Pesos', 1500.25), (5, 'Dólares', 300);"
        "INSERT INTO historial (HisCambio, HisFecha, HisLogin, HisTipo, HisTabla, HisClave, "
        "  HisOrdId, HisCampo, HisAnterior, HisNuevo) VALUES (NULL, '2026-11-30 17:45:09', "
        "  'zelti', 'Cambio', 'ordenes', 4, 4, 'OrdCantidad', '2', '3,5');";

    static QString Demo(const QString& carpeta, const char* cambios = nullptr) {
        const QString ruta = carpeta + QStringLiteral("/origen.mdb");
        QFile::remove(ruta);
        if (Ejecutar(Binario(QStringLiteral("quimbel-db")),
                     {QStringLiteral("crear"), QStringLiteral("--demo"), ruta}) != 0 ||
            !SqlArchivo(ruta, cambios ? cambios : kAgregados))
            return {};
        return ruta;
    }

    static QString Access(const QString& origen, const QString& destino, bool jet3 = false) {
        QStringList args{origen, destino};
        if (jet3)
            args.prepend(QStringLiteral("--jet3"));
        QFile::remove(destino);
        return Ejecutar(Binario(QStringLiteral("jet-prueba")), args) == 0 ? destino : QString();
    }

    static QByteArray Huella(const QString& ruta) {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly)
                   ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                   : QByteArray();
    }

    // Every row of every table and the key counters, each value with its storage class, so that a
    // date kept in another form or a flag turned into text shows as a difference.
    static QMap<QString, QStringList> Contenido(const QString& ruta) {
        QMap<QString, QStringList> r;
        sqlite3* db = Esquema::AbrirArchivo(ruta, false, nullptr);
        const QStringList tablas = Esquema::TablasDeDatos() << QStringLiteral("sqlite_sequence");
        for (const QString& t : tablas) {
            sqlite3_stmt* st = nullptr;
            const QByteArray sql = "SELECT * FROM " + t.toUtf8() + " ORDER BY 1, 2";
            if (!db || sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
                r[t] << QStringLiteral("error");
            while (st && sqlite3_step(st) == SQLITE_ROW) {
                QStringList celdas;
                for (int c = 0; c < sqlite3_column_count(st); ++c)
                    celdas << QString::number(sqlite3_column_type(st, c)) + QLatin1Char(':') +
                                  QString::fromUtf8(
                                      reinterpret_cast<const char*>(sqlite3_column_text(st, c)));
                r[t] << celdas.join(QLatin1Char('|'));
            }
            sqlite3_finalize(st);
        }
        sqlite3_close(db);
        return r;
    }

    // The destination of this run's engine: a new file, or the test's empty server database.
    static QString Destino(Entorno& e) {
        if (!Entorno::EnServidor())
            return e.Carpeta() + QStringLiteral("/importada.mdb");
        e.Sql(QStringLiteral("DELETE FROM usuarios"));
        CerrarConexion();
        return e.RutaBase();
    }

    // What the destination holds, read back as a file whatever the engine.
    static QMap<QString, QStringList> ContenidoDe(Entorno& e, const QString& destino) {
        if (!Entorno::EnServidor())
            return Contenido(destino);
        const QString vuelta = e.Carpeta() + QStringLiteral("/vuelta.mdb");
        QFile::remove(vuelta);
        const ResultadoCopia r = CopiarBaseDeDatos(destino, vuelta);
        return r.Hecha() ? Contenido(vuelta) : QMap<QString, QStringList>();
    }

    // Nothing of a failed import is left: no file, or a server database without rows.
    static bool SinNada(Entorno& e, const QString& destino) {
        if (!Entorno::EnServidor())
            return !QFileInfo::exists(destino);
        const QMap<QString, QStringList> c = ContenidoDe(e, destino);
        return !c.isEmpty() && c.value(QStringLiteral("ordenes")).isEmpty() &&
               c.value(QStringLiteral("usuarios")).isEmpty();
    }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(QStringLiteral("mdb-export")).isEmpty())
            QSKIP("mdbtools no está instalado");
    }

    void idaYVuelta_data() {
        QTest::addColumn<bool>("jet3");
        QTest::newRow("jet4") << false;
        QTest::newRow("jet3") << true;
    }

    // An office's file in either format arrives whole: every row, every value's kind, the key
    // counters; the reconciliation agrees on both sides; the file itself is not touched.
    void idaYVuelta() {
        QFETCH(bool, jet3);
        Entorno e(Entorno::EnServidor());
        const QString origen = Demo(e.Carpeta());
        QVERIFY(!origen.isEmpty());
        // An office's users come with the reversible passwords of older versions.
        const QString antigua = CodificarClave(QStringLiteral("Añil ñandú"));
        QVERIFY(SqlArchivo(origen, QStringLiteral("UPDATE usuarios SET UsuPassword = '%1' WHERE "
                                                  "UsuLogin = 'zelti'")
                                       .arg(antigua)
                                       .toUtf8()
                                       .constData()));
        const QString acc = Access(origen, e.Carpeta() + QStringLiteral("/acc.mdb"), jet3);
        QVERIFY(!acc.isEmpty());
        QVERIFY(EsArchivoAccess(acc));
        QVERIFY(!EsArchivoAccess(origen));
        const QByteArray antes = Huella(acc);
        const QString destino = Destino(e);

        QString salida, errores;
        QCOMPARE(Ejecutar(Binario(QStringLiteral("quimbel-db")),
                          {QStringLiteral("importar"), acc, destino}, &salida, &errores),
                 0);
        QVERIFY2(salida.contains(QRegularExpression(QStringLiteral("\\nordenes +59 +59\\n"))),
                 qPrintable(salida + errores));
        QVERIFY2(
            salida.contains(QRegularExpression(QStringLiteral("\\n  Pendiente +\\d+ +\\d+\\n"))),
            qPrintable(salida));
        QVERIFY(!salida.contains(QStringLiteral("DIFERENCIA")));
        QCOMPARE(Huella(acc), antes);

        QMap<QString, QStringList> esperado = Contenido(origen);
        QMap<QString, QStringList> importado = ContenidoDe(e, destino);
        // Read back through a copy, the server's counters come with one for every keyed table.
        if (Entorno::EnServidor())
            importado[QStringLiteral("sqlite_sequence")].removeIf([](const QString& fila) {
                return fila.startsWith(QLatin1String("3:limitesautorizacion|"));
            });
        // That password arrives as a hash that signs in, and only it differs.
        QStringList& usuarios = importado[QStringLiteral("usuarios")];
        int halladas = 0;
        for (qsizetype u = 0; u < usuarios.size(); ++u) {
            const QStringList llegada = usuarios[u].split(QLatin1Char('|'));
            const QStringList partida =
                esperado.value(QStringLiteral("usuarios")).value(u).split(QLatin1Char('|'));
            if (!partida.contains(QStringLiteral("3:") + antigua))
                continue;
            const qsizetype c = partida.indexOf(QStringLiteral("3:") + antigua);
            QVERIFY(Contrasena::Coincide(llegada.value(c).mid(2), QStringLiteral("Añil ñandú")));
            usuarios[u] = partida.join(QLatin1Char('|'));
            ++halladas;
        }
        QCOMPARE(halladas, 1);
        // A history line the source kept without its hash arrives chained.
        QStringList& lineas = importado[QStringLiteral("historial")];
        for (qsizetype l = 0; l < lineas.size(); ++l)
            if (esperado.value(QStringLiteral("historial")).value(l).endsWith(QLatin1String("|5:")))
                lineas[l].replace(QRegularExpression(QStringLiteral("\\|3:[0-9a-f]{64}$")),
                                  QStringLiteral("|5:"));
        QCOMPARE(importado.keys(), esperado.keys());
        for (auto it = esperado.cbegin(); it != esperado.cend(); ++it)
            QCOMPARE(importado.value(it.key()), it.value());

        // A second import onto it is refused and changes nothing.
        QCOMPARE(Ejecutar(Binario(QStringLiteral("quimbel-db")),
                          {QStringLiteral("importar"), acc, destino}, &salida, &errores),
                 1);
        QVERIFY2(errores.contains(QStringLiteral("ya contiene datos")), qPrintable(errores));
        QCOMPARE(ContenidoDe(e, destino).value(QStringLiteral("ordenes")),
                 importado.value(QStringLiteral("ordenes")));
    }

    // Files that cannot be brought in as they are: each told in words that say what to do, and
    // nothing half-written.
    void entradasMalas() {
        Entorno e(Entorno::EnServidor());
        const QString destino = Destino(e);
        const QString origen = Demo(e.Carpeta());
        const QString acc = Access(origen, e.Carpeta() + QStringLiteral("/acc.mdb"));
        QVERIFY(!acc.isEmpty());
        const auto falla = [&](const QString& archivo, ResultadoCopia::Estado estado,
                               const QStringList& dice) {
            const ResultadoImportacion r = ImportarAccess(archivo, destino, {}, 200);
            QVERIFY2(r.copia.estado == estado, qPrintable(r.copia.causa));
            for (const QString& d : dice)
                QVERIFY2(r.copia.causa.contains(d), qPrintable(r.copia.causa));
            QVERIFY(r.copia.filas.isEmpty());
            QVERIFY(SinNada(e, destino));
        };

        // Cut short, in the middle of a page and at a page's end.
        const QByteArray bytes = [&] {
            QFile f(acc);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        const QString cortado = e.Carpeta() + QStringLiteral("/cortado.mdb");
        for (qsizetype largo : {bytes.size() / 2 + 100, bytes.size() - 4096}) {
            QFile f(cortado);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes.left(largo));
            f.close();
            falla(cortado, ResultadoCopia::Estado::OrigenDanado, {QStringLiteral("dañado")});
        }

        // A memo that claims more bytes than the whole file holds is damage, not a value to
        // ask that much memory for. The long comment is kept compressed: a two-byte mark, then
        // one byte a letter.
        const qsizetype letras = QStringLiteral("Más de un mega: ").size() + 1100000 + 4;
        QByteArray largo(4, 0);
        qToLittleEndian<quint32>(quint32(2 + letras), largo.data());
        QCOMPARE(bytes.count(largo), 1);
        QByteArray enorme(4, 0);
        qToLittleEndian<quint32>(0x3ffffff0, enorme.data());
        QByteArray mentira = bytes;
        mentira.replace(mentira.indexOf(largo), 4, enorme);
        {
            QFile f(cortado);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(mentira);
        }
        falla(cortado, ResultadoCopia::Estado::OrigenDanado, {QStringLiteral("OrdComentario")});

        // Held open by the engine of another program: its lock file lies beside it.
        QFile bloqueo(e.Carpeta() + QStringLiteral("/acc.ldb"));
        QVERIFY(bloqueo.open(QIODevice::WriteOnly));
        bloqueo.close();
        falla(acc, ResultadoCopia::Estado::EnUso,
              {QStringLiteral("Otro programa tiene abierto"), QStringLiteral("acc.ldb")});
        QVERIFY(bloqueo.remove());

        // Nor is an Access file written to when named as the destination.
        const QByteArray huella = Huella(acc);
        QVERIFY(ImportarAccess(acc, acc).copia.causa.contains(
            QStringLiteral("es un archivo de Access")));
        QCOMPARE(Huella(acc), huella);

        // The program's own file is not taken for an Access one.
        falla(origen, ResultadoCopia::Estado::OrigenDanado,
              {QStringLiteral("no es una base de datos de Access")});

        // Tables and columns it lacks are all named; those it has besides are listed, not read.
        QVERIFY(
            !Access(Demo(e.Carpeta(), "DROP VIEW v_ordenes_preciosaceptados; DROP TABLE sectores;"
                                      "DROP TABLE historial;"
                                      "ALTER TABLE productos DROP COLUMN ProMinimo;"),
                    acc)
                 .isEmpty());
        falla(acc, ResultadoCopia::Estado::Fallo,
              {QStringLiteral("sectores"), QStringLiteral("productos.ProMinimo")});
        QVERIFY(!Access(Demo(e.Carpeta(), "DROP TABLE historial; CREATE TABLE notas (n TEXT);"
                                          "ALTER TABLE ordenes ADD COLUMN OrdViejo TEXT;"),
                        acc)
                     .isEmpty());
        ResultadoImportacion r = ImportarAccess(acc, destino);
        QVERIFY2(r.Hecha(), qPrintable(r.copia.causa));
        QCOMPARE(r.ignoradas,
                 QStringList({QStringLiteral("notas"), QStringLiteral("ordenes.OrdViejo")}));
        QCOMPARE(r.ausentes, QStringList{QStringLiteral("historial")});
        QVERIFY(InformeImportacion(r).join(QLatin1Char('\n')).contains(QStringLiteral("OrdViejo")));
        QCOMPARE(r.origen, r.destino);
        qint64 ordenes = 0;
        for (qint64 n : r.destino.ordenesPorEstado)
            ordenes += n;
        QCOMPARE(ordenes, r.copia.filas.value(0).destino);
        QCOMPARE(r.copia.filas.value(0).tabla, QStringLiteral("ordenes"));
        Entorno limpio(Entorno::EnServidor());
        const QString otro = Destino(limpio);

        // A row that breaks a rule, named by its table and key whether the engine refuses it or
        // the value cannot be what the column keeps. The orders are rebuilt without their rules
        // (and their dates as plain text) to write such rows.
        const QByteArray sinReglas =
            "DROP VIEW v_ordenes_preciosaceptados; DROP VIEW v_precios_proveedores;"
            "CREATE TABLE o2 AS SELECT * FROM ordenes; DROP TABLE ordenes;"
            "ALTER TABLE o2 RENAME TO ordenes;";
        const QList<QPair<QByteArray, QStringList>> filas = {
            {"UPDATE ordenes SET OrdEstado = NULL WHERE OrdId = 7;", {QStringLiteral("OrdId = 7")}},
            {"UPDATE ordenes SET OrdFecha = 'ayer' WHERE OrdId = 9;",
             {QStringLiteral("OrdId = 9"), QStringLiteral("«ayer»")}},
        };
        for (const auto& [cambio, dice] : filas) {
            QVERIFY(!Access(Demo(e.Carpeta(), (sinReglas + cambio).constData()), acc).isEmpty());
            const ResultadoImportacion m = ImportarAccess(acc, otro, {}, 200);
            QVERIFY(!m.Hecha());
            for (const QString& d : dice + QStringList{QStringLiteral("tabla ordenes")})
                QVERIFY2(m.copia.causa.contains(d), qPrintable(m.copia.causa));
            QVERIFY(SinNada(limpio, otro));
        }

        // A destination that does not keep what it is given (a rule of its own changes an
        // accepted price) is caught by the reconciliation, and nothing is kept.
        Entorno cambia;
        cambia.Sql(QStringLiteral("DELETE FROM usuarios"));
        cambia.Disparador("duplica", "AFTER INSERT", "precios", "NEW.PreId = 1",
                          "UPDATE precios SET PrePrecio = PrePrecio * 2 WHERE PreId = NEW.PreId",
                          "UPDATE precios SET PrePrecio = PrePrecio * 2 WHERE PreId = NEW.PreId");
        CerrarConexion();
        QVERIFY(!Access(Demo(e.Carpeta()), acc).isEmpty());
        const ResultadoImportacion c = ImportarAccess(acc, cambia.RutaBase());
        QVERIFY2(c.copia.causa.contains(QStringLiteral("conciliación")), qPrintable(c.copia.causa));
        QVERIFY(c.origen.aceptadoPorMoneda != c.destino.aceptadoPorMoneda);
        QCOMPARE(c.origen.ordenesPorEstado, c.destino.ordenesPorEstado);
        const QMap<QString, QStringList> quedo = ContenidoDe(cambia, cambia.RutaBase());
        QVERIFY(!quedo.isEmpty() && quedo.value(QStringLiteral("precios")).isEmpty() &&
                quedo.value(QStringLiteral("ordenes")).isEmpty());
    }
};

QUIMBEL_PRUEBA(PruebaImportarAccess)
#include "PruebaImportarAccess.moc"
