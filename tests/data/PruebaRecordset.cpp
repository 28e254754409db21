#include "Conexiones.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "Ordenes.h"
#include "OtroPuesto.h"
#include "RegistroPruebas.h"

#include <QTest>

class PruebaRecordset : public QObject {
    Q_OBJECT
private slots:
    void consultaVaciaNoTieneFilaActual() {
        Entorno e;
        Recordset rs;
        QVERIFY(AbrirRecordset(QStringLiteral("SELECT * FROM sectores"), rs));
        QVERIFY(rs.Abierto());
        QVERIFY(rs.AbsolutePosition() <= 0);
        QVERIFY(rs.Eof());
        QCOMPARE(rs.RecordCount(), 0);
        QVERIFY(!rs.Campo(QStringLiteral("SecId")).isValid());
    }

    void recorreFilasYLeeCamposPorNombreEIndice() {
        Entorno e;
        e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        e.Insertar("sector_insertar", {QStringLiteral("Ventas")});
        Recordset rs;
        QVERIFY(AbrirRecordset(QStringLiteral("select * from sectores order by SecDescripcion ASC"),
                               rs));
        QCOMPARE(rs.RecordCount(), 2);
        QCOMPARE(rs.AbsolutePosition(), 1);
        QCOMPARE(rs.Campo(QStringLiteral("SECDESCRIPCION")).toString(), QStringLiteral("Compras"));
        QCOMPARE(rs.Campo(1).toString(), QStringLiteral("Compras"));
        QCOMPARE(rs.Campo(QStringLiteral("SecDesactivado")).typeId(), QMetaType::Bool);
        rs.MoveNext();
        QCOMPARE(rs.Texto(QStringLiteral("secdescripcion")), QStringLiteral("Ventas"));
        rs.MoveNext();
        QVERIFY(rs.Eof());
        QVERIFY(rs.AbsolutePosition() <= 0);
        QCOMPARE(rs.Source(), QStringLiteral("select * from sectores order by SecDescripcion ASC"));
    }

    void sentenciaDeAccionSeEjecutaYDejaElRecordsetCerrado() {
        Entorno e;
        const int orden = e.Insertar("orden_insertar", {QDateTime(QDate(2026, 1, 2), QTime(10, 0)),
                                                        2.5, QStringLiteral("Caja"), 1, QString(),
                                                        QString(), QStringLiteral("Normal"), 1, 1,
                                                        1, 0, QStringLiteral("korva")});
        e.Insertar("precio_Insertar", {orden, 1, QString(), 10.0, QStringLiteral("Pesos"),
                                       QString(), QDate(2026, 1, 2), QDate(2026, 2, 2), 1});
        Recordset rs;
        // On a protected server only the owner's tools write directly.
        const Entorno::ComoDueno dueno;
        QVERIFY(AbrirRecordset(
            QStringLiteral("delete from precios where OrdId=") + QString::number(orden), rs));
        QVERIFY(!rs.Abierto());
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM precios")).toInt(), 0);
        CerrarRecordset(rs, true);
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    void comillaSueltaDaElInformeDeErrorYRecordsetCerrado() {
        Entorno e;
        Recordset rs;
        QVERIFY(
            !AbrirRecordset(QStringLiteral("SELECT * FROM usuarios WHERE UsuLogin='O'Brien'"), rs));
        QVERIFY(!rs.Abierto());
        const auto mostrados = Mensajes::Mostrados();
        QCOMPARE(mostrados.size(), 1);
        QVERIFY(mostrados[0].texto.startsWith(QStringLiteral("Error número: ")));
        QVERIFY(mostrados[0].texto.contains(QLatin1Char('\r')));
        QCOMPARE(mostrados[0].titulo, QStringLiteral("Quimbel"));
        QCOMPARE(mostrados[0].botones, Mensajes::Botones::OK);
        // A second statement smuggled after the first is never run.
        QVERIFY(!AbrirRecordset(QStringLiteral("SELECT 1; DELETE FROM usuarios"), rs));
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM usuarios")).toInt(), 1);
        // Statements sent together: the one that fails is told once, and the connection, which
        // on the server had them all on their way, takes the next statement as usual.
        Mensajes::Limpiar();
        QList<Recordset> varios;
        QVERIFY(!AbrirRecordsets({{QStringLiteral("SELECT count(*) FROM usuarios"), {}},
                                  {QStringLiteral("SELECT * FROM ninguna WHERE x=?"), {1}},
                                  {QStringLiteral("SELECT 1"), {}}},
                                 &varios));
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QVERIFY(Mensajes::Mostrados()[0].texto.contains(QStringLiteral("ninguna")));
        QVERIFY(
            AbrirRecordsets({{QStringLiteral("SELECT count(*) FROM usuarios"), {}},
                             {QStringLiteral("SELECT UsuLogin FROM usuarios WHERE UsuId=?"), {1}}},
                            &varios));
        QCOMPARE(varios.size(), 2);
        QCOMPARE(varios[0].Campo(0).toInt(), 1);
        QCOMPARE(varios[1].Texto(QStringLiteral("UsuLogin")), QStringLiteral("korva"));
    }

    // Statements are kept prepared from one run to the next. A table that gained a column
    // meanwhile, at another workstation or on this connection, must show it at the next run.
    void unaTablaCambiadaSeLeeConSusColumnasNuevas() {
        Entorno e;
        e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        const QString sql = QStringLiteral("SELECT * FROM sectores WHERE SecId=?");
        Recordset rs;
        for (int i = 0; i < 3; ++i)
            QVERIFY(AbrirRecordset(sql, rs, {1}));
        OtroPuesto otro(e.RutaBase());
        QVERIFY(otro.Ejecutar("ALTER TABLE sectores ADD COLUMN SecNota VARCHAR(20)"));
        QVERIFY(AbrirRecordset(sql, rs, {1}));
        QVERIFY(rs.IndiceCampo(QStringLiteral("SecNota")) >= 0);
        QCOMPARE(rs.Texto(QStringLiteral("SecDescripcion")), QStringLiteral("Compras"));
        // A change of the table on the connection itself: on a protected server only the owner
        // may make one, on a connection of its own.
        const Entorno::ComoDueno dueno;
        QVERIFY(AbrirRecordset(sql, rs, {1}));
        QVERIFY(
            AbrirRecordset(QStringLiteral("ALTER TABLE sectores ADD COLUMN SecOtra INTEGER"), rs));
        QVERIFY(AbrirRecordset(sql, rs, {1}));
        QVERIFY(rs.IndiceCampo(QStringLiteral("SecOtra")) >= 0);
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    // A long list shows its first rows before the rest is read, on either engine: they must be
    // the list's own first rows, in a copy the rest does not change. A statement kept prepared
    // whose table changed shape meanwhile is still read whole, new column included.
    void primerasFilasSeMuestranAntesDelResto() {
        Entorno e;
        for (int i = 1; i <= 7; ++i)
            e.Insertar("sector_insertar", {QStringLiteral("Sector %1").arg(i)});
        const Ordenes::Vista vista(
            QStringLiteral("SELECT * FROM sectores WHERE SecId>? ORDER BY SecDescripcion DESC"),
            {1});
        const auto textos = [](Recordset rs) {
            QStringList t;
            for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
                t << rs.Texto(QStringLiteral("SecDescripcion"));
            return t;
        };
        const auto abrir = [&](Recordset& rs) {
            Recordset primeras;
            QVERIFY(Ordenes::AbrirVista(vista, rs, 3, [&](const Recordset& p) {
                QCOMPARE(primeras.RecordCount(), 0);
                primeras = p;
            }));
            QCOMPARE(textos(primeras), textos(rs).mid(0, 3));
        };
        Recordset rs;
        for (int i = 0; i < 3; ++i) {
            abrir(rs);
            QCOMPARE(textos(rs), (QStringList{"Sector 7", "Sector 6", "Sector 5", "Sector 4",
                                              "Sector 3", "Sector 2"}));
        }
        OtroPuesto otro(e.RutaBase());
        QVERIFY(otro.Ejecutar("ALTER TABLE sectores ADD COLUMN SecNota VARCHAR(20)"));
        abrir(rs);
        QCOMPARE(rs.RecordCount(), 6);
        QVERIFY(rs.IndiceCampo(QStringLiteral("SecNota")) >= 0);
        QVERIFY(Mensajes::Mostrados().isEmpty());
        // Statements sent together right after a list read that way are read whole: the
        // server's client library once kept the list's row-by-row reading for the first of them.
        QList<Recordset> varios;
        QVERIFY(
            AbrirRecordsets({{QStringLiteral("SELECT SecId FROM sectores ORDER BY SecId"), {}},
                             {QStringLiteral("SELECT count(*) FROM sectores WHERE SecId>?"), {1}}},
                            &varios));
        QCOMPARE(varios[0].RecordCount(), 7);
        QCOMPARE(varios[1].Campo(0).toInt(), 6);
    }

    void tiposDeLasColumnas() {
        Entorno e;
        const int orden = e.Insertar(
            "orden_insertar", {QStringLiteral("2026-03-04 05:06:07"), QStringLiteral("1.5"),
                               QStringLiteral("Caja"), QStringLiteral(" 7 "), QString(), QString(),
                               QStringLiteral("Normal"), 1, 1, 1, 0, QStringLiteral("korva")});
        Recordset rs =
            e.Sql(QStringLiteral("SELECT * FROM v_ordenes_preciosaceptados WHERE OrdId=") +
                  QString::number(orden));
        QCOMPARE(rs.Campo(QStringLiteral("OrdFecha")).toDateTime(),
                 QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
        QCOMPARE(rs.Campo(QStringLiteral("OrdCantidad")).typeId(), QMetaType::Double);
        QCOMPARE(rs.Campo(QStringLiteral("OrdCantidad")).toDouble(), 1.5);
        QCOMPARE(rs.Campo(QStringLiteral("ProId")).toInt(), 7);
        QVERIFY(rs.Campo(QStringLiteral("PrePrecio")).isNull());
        QVERIFY(rs.Campo(QStringLiteral("NomAutorizante")).isNull());
        QCOMPARE(rs.Texto(QStringLiteral("OrdEstado")), QStringLiteral("Pendiente"));

        // Values repeated down a column are read once and shared: each row must still get its
        // own, and a date column's text that is no date stays that text on every row. Dates
        // before 1900 and after 2036 are kept apart from the others, and must read back whole.
        const auto otra = [&](const char* fecha, const char* medida) {
            return e.Insertar("orden_insertar", {QString::fromLatin1(fecha), QStringLiteral("2"),
                                                 QString::fromLatin1(medida), QStringLiteral(" 7 "),
                                                 QString(), QString(), QStringLiteral("Normal"), 1,
                                                 1, 1, 0, QStringLiteral("korva")});
        };
        otra("1899-12-31 23:59:59", "Caja");
        otra("2040-03-05 00:00:01", "Kg");
        otra("2026-03-04 05:06:07", "Caja");
        if (!Entorno::EnServidor())
            e.Sql(QStringLiteral("UPDATE ordenes SET OrdFecha='pronto' WHERE OrdId>") +
                  QString::number(orden + 1));
        rs = e.Sql(QStringLiteral("SELECT OrdFecha, OrdUnidadMedida FROM ordenes ORDER BY OrdId"));
        QCOMPARE(rs.RecordCount(), 4);
        const QStringList medidas{"Caja", "Caja", "Kg", "Caja"};
        const QList<QDateTime> fechas{{{2026, 3, 4}, {5, 6, 7}},
                                      {{1899, 12, 31}, {23, 59, 59}},
                                      {{2040, 3, 5}, {0, 0, 1}},
                                      {{2026, 3, 4}, {5, 6, 7}}};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(rs.Valor(i, 1).toString(), medidas[i]);
            if (i >= 2 && !Entorno::EnServidor())
                QCOMPARE(rs.Valor(i, 0), QVariant(QStringLiteral("pronto")));
            else
                QCOMPARE(rs.Valor(i, 0).toDateTime(), fechas[i]);
        }

        // Rows are kept compact and each value made when asked for: a text past any small
        // buffer or outside the basic plane, empty text beside NULL, a NULL between repeated
        // texts, each row still its own, whatever was asked before.
        const QString largo = QString(70000, QLatin1Char('x')) + QStringLiteral("\U0001F99Cñ");
        const QVariantList notas{largo, QVariant(), QStringLiteral(""),
                                 QStringLiteral("\U0001F99C")};
        for (int i = 0; i < notas.size(); ++i)
            e.Sql(QStringLiteral("UPDATE ordenes SET OrdComentario=? WHERE OrdId=?"),
                  {notas[i], orden + i});
        rs = e.Sql(QStringLiteral("SELECT OrdComentario, ProId FROM ordenes ORDER BY OrdId"));
        for (int i = notas.size() - 1; i >= 0; --i) {
            QCOMPARE(rs.Valor(i, 0), notas[i]);
            QCOMPARE(rs.Valor(i, 0).isValid(), notas[i].isValid());
            QCOMPARE(rs.Valor(i, 1).typeId(), QMetaType::Int);
        }
        QVERIFY(rs.Valor(1, 0).isNull());
        QCOMPARE(rs.Valor(2, 0).typeId(), QMetaType::QString);
        if (Entorno::EnServidor())
            return;
        // A column of the file holds what each row put in it, and each value keeps its kind.
        rs = e.Sql(QStringLiteral("SELECT column1 FROM (VALUES (7), (NULL), ('7'), (2.5), "
                                  "(5000000000), (-3), (x'00ff'), (7))"));
        const QVariantList mezcla{7,
                                  QVariant(),
                                  QStringLiteral("7"),
                                  2.5,
                                  qlonglong(5000000000),
                                  -3,
                                  QByteArray("\x00\xff", 2),
                                  7};
        QCOMPARE(rs.RecordCount(), mezcla.size());
        for (int i = 0; i < mezcla.size(); ++i) {
            QCOMPARE(rs.Valor(i, 0).typeId(), mezcla[i].typeId());
            QCOMPARE(rs.Valor(i, 0), mezcla[i]);
        }
    }
};

QUIMBEL_PRUEBA(PruebaRecordset)
#include "PruebaRecordset.moc"
