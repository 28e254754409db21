#include "Conexiones.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "dteQuimbel.h"

#include <QTest>

class PruebaDteQuimbel : public QObject {
    Q_OBJECT

    static dteQuimbel& dte() { return dteQuimbel::Instancia(); }

    static int Contar(Entorno& e,
                      const QString& sql = QStringLiteral("SELECT count(*) FROM productos")) {
        return e.Valor(sql).toInt();
    }

private slots:
    void cleanup() {
        dte().CerrarTodo();
        dte().RestaurarComandos();
    }

    void comandosLeenLaMismaBaseYSuTextoSeReemplaza() {
        Entorno e;
        e.Insertar("categoria_insertar", {QStringLiteral("Ferretería")});
        e.Insertar("categoria_insertar", {QStringLiteral("Bulonería")});
        e.Sql(QStringLiteral(
            "UPDATE categorias SET CatDesactivada=1 WHERE CatDescripcion='Ferretería'"));
        e.Producto(QStringLiteral("Tornillo"));
        e.Sql(QStringLiteral("UPDATE productos SET ProMoneda='Dólares'"));
        e.Producto(QStringLiteral("Arandela"));

        QVERIFY(dte().Abrir(QStringLiteral("monedas")));
        Recordset& monedas = dte().rsMonedas();
        QCOMPARE(monedas.RecordCount(), 2);
        QCOMPARE(monedas.Texto(QStringLiteral("ProMoneda")), QStringLiteral("Dólares"));

        QVERIFY(dte().Abrir(QString::fromLatin1(dteQuimbel::kCCategoriasActivas)));
        QCOMPARE(dte().rsCCategoriasActivas().RecordCount(), 1);

        QVERIFY(dte().Abrir(QString::fromLatin1(dteQuimbel::kCProductos)));
        QCOMPARE(dte().rsCProductos().RecordCount(), 2);
        QCOMPARE(dte().rsCProductos().Texto(QStringLiteral("ProDescripcion")),
                 QStringLiteral("Arandela"));

        const QString filtro =
            QStringLiteral("SELECT * FROM PRODUCTOS WHERE INSTR(PRODESCRIPCION,'TORN')");
        QVERIFY(dte().SetComandoSql(QStringLiteral("CPRODUCTOS"), filtro));
        QVERIFY(dte().Abrir(QStringLiteral("CProductos")));
        QCOMPARE(dte().rsCProductos().RecordCount(), 1);
        QCOMPARE(dte().rsCProductos().Source(), filtro);
        QVERIFY(!dte().SetComandoSql(QStringLiteral("Otro"), filtro));

        dte().RestaurarComandos();
        QCOMPARE(dte().ComandoSql(QStringLiteral("CProductos")),
                 QStringLiteral("SELECT * FROM PRODUCTOS ORDER BY PRODESCRIPCION ASC"));
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    void nuevoRegistroSeInsertaConSuClaveYLosValoresDeLaTabla() {
        Entorno e;
        e.Producto(QStringLiteral("Arandela"));
        QVERIFY(dte().Abrir(QStringLiteral("CProductos")));
        RecordsetEditable& rs = dte().rsCProductos();
        QVERIFY(rs.AgregarNuevo({{QStringLiteral("ProSinVencimiento"), true}}));
        QCOMPARE(rs.AbsolutePosition(), 2);
        QVERIFY(rs.EsNuevo());
        rs.SetCampo(QStringLiteral("prodescripcion"), QStringLiteral("Tuerca 3/8'' zincada"));
        rs.SetCampo(QStringLiteral("ProPrecio"), 12.5);
        QVERIFY(!rs.Campo(QStringLiteral("ProId")).isValid());
        QVERIFY(rs.Grabar());
        QVERIFY(!rs.Modificado());

        const int id = rs.Campo(QStringLiteral("ProId")).toInt();
        QVERIFY(id > 0);
        QCOMPARE(rs.Campo(QStringLiteral("ProDesactivado")).toBool(), false);
        Recordset guardado = e.Sql(QStringLiteral("SELECT * FROM productos WHERE ProId=?"), {id});
        QCOMPARE(guardado.Texto(QStringLiteral("ProDescripcion")),
                 QStringLiteral("Tuerca 3/8'' zincada"));
        QCOMPARE(guardado.Campo(QStringLiteral("ProPrecio")).toDouble(), 12.5);
        QCOMPARE(guardado.Campo(QStringLiteral("ProSinVencimiento")).toBool(), true);

        // Writing again changes that row instead of inserting another.
        rs.SetCampo(QStringLiteral("ProPrecio"), 13.0);
        QVERIFY(rs.Grabar());
        QCOMPARE(Contar(e), 2);
        QCOMPARE(e.Valor(QStringLiteral("SELECT ProPrecio FROM productos WHERE ProId=?"), {id})
                     .toDouble(),
                 13.0);
    }

    void cancelarYSalirDeLaFilaDescartanSinEscribir() {
        Entorno e;
        e.Producto(QStringLiteral("Arandela"));
        e.Producto(QStringLiteral("Bulón"));
        QVERIFY(dte().Abrir(QStringLiteral("CProductos")));
        RecordsetEditable& rs = dte().rsCProductos();

        rs.MoveNext();
        QVERIFY(rs.AgregarNuevo());
        rs.SetCampo(QStringLiteral("ProDescripcion"), QStringLiteral("Clavo"));
        QCOMPARE(rs.RecordCount(), 3);
        rs.CancelarCambios();
        QCOMPARE(rs.RecordCount(), 2);
        QCOMPARE(rs.AbsolutePosition(), 2);
        QCOMPARE(rs.Texto(QStringLiteral("ProDescripcion")), QStringLiteral("Bulón"));

        rs.SetCampo(QStringLiteral("ProDescripcion"), QStringLiteral("Cambiado"));
        rs.CancelarCambios();
        QCOMPARE(rs.Texto(QStringLiteral("ProDescripcion")), QStringLiteral("Bulón"));

        // Clicking another row never writes a half-done entry.
        QVERIFY(rs.AgregarNuevo());
        rs.SetCampo(QStringLiteral("ProDescripcion"), QStringLiteral("Clavo"));
        rs.SetAbsolutePosition(1);
        QCOMPARE(rs.RecordCount(), 2);
        rs.SetCampo(QStringLiteral("ProDescripcion"), QStringLiteral("Cambiado"));
        rs.MoveNext();
        rs.MoveFirst();
        QCOMPARE(rs.Texto(QStringLiteral("ProDescripcion")), QStringLiteral("Arandela"));
        QVERIFY(rs.Grabar());
        QCOMPARE(Contar(e), 2);
        QCOMPARE(Contar(e, QStringLiteral("SELECT count(*) FROM productos WHERE "
                                          "ProDescripcion IN ('Clavo','Cambiado')")),
                 0);
    }

    void errorAlEscribirSeInformaYNoDejaNadaAMedias() {
        Entorno e;
        const int a = e.Producto(QStringLiteral("Arandela"));
        e.Rechazar("sin_precio_negativo", "BEFORE INSERT", "productos", "NEW.ProPrecio < 0",
                   "precio negativo");
        QVERIFY(dte().Abrir(QStringLiteral("CProductos")));
        RecordsetEditable& rs = dte().rsCProductos();
        QVERIFY(rs.AgregarNuevo());
        rs.SetCampo(QStringLiteral("ProDescripcion"), QStringLiteral("Clavo"));
        rs.SetCampo(QStringLiteral("ProPrecio"), -1.0);
        QVERIFY(!rs.Grabar());
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QVERIFY(Mensajes::UltimoTexto().startsWith(QStringLiteral("Error número: ")));
        QVERIFY(Mensajes::UltimoTexto().contains(QStringLiteral("precio negativo")));
        QCOMPARE(Contar(e), 1);
        // The entry is still there to be corrected and written.
        QVERIFY(rs.EsNuevo());
        QCOMPARE(rs.Texto(QStringLiteral("ProDescripcion")), QStringLiteral("Clavo"));
        rs.SetCampo(QStringLiteral("ProPrecio"), 1.0);
        QVERIFY(rs.Grabar());
        QCOMPARE(Contar(e), 2);

        // A row removed by another workstation is not silently "updated".
        Mensajes::Limpiar();
        rs.MoveFirst();
        e.Sql(QStringLiteral("DELETE FROM productos WHERE ProId=?"), {a});
        rs.SetCampo(QStringLiteral("ProDescripcion"), QStringLiteral("Arandela plana"));
        QVERIFY(!rs.Grabar());
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QVERIFY(rs.Modificado());
    }
};

QUIMBEL_PRUEBA(PruebaDteQuimbel)
#include "PruebaDteQuimbel.moc"
