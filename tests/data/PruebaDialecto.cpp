#include "Conexiones.h"
#include "DialectoPg.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"

#include <QTest>
#include <optional>

class PruebaDialecto : public QObject {
    Q_OBJECT
private slots:
    void textoSinDistinguirMayusculasNiEnLetrasAcentuadas() {
        Entorno e;
        e.Insertar("categoria_insertar", {QStringLiteral("Papelería")});
        e.Insertar("categoria_insertar", {QStringLiteral("Ferretería")});
        e.Usuario(QStringLiteral("ñandú"), QString(), QStringLiteral("Ñandú Pérez"), 1, 0, 0);

        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM categorias WHERE "
                                        "CatDescripcion='PAPELERÍA'"))
                     .toInt(),
                 1);
        QCOMPARE(e.Valor(QStringLiteral("select count(*) from categorias where "
                                        "CatDescripcion like '%ERÍA%'"))
                     .toInt(),
                 2);
        QCOMPARE(e.Valor(QStringLiteral("SELECT CatDescripcion FROM CATEGORIAS WHERE "
                                        "INSTR(CATDESCRIPCION,'PAPELERÍ')"))
                     .toString(),
                 QStringLiteral("Papelería"));
        QCOMPARE(e.Valor(QStringLiteral("SELECT UsuNombre FROM usuarios WHERE UsuLogin='ÑANDÚ'"))
                     .toString(),
                 QStringLiteral("Ñandú Pérez"));
        // Accents still matter: "papeleria" without the accent is another word.
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM categorias WHERE "
                                        "CatDescripcion='papeleria'"))
                     .toInt(),
                 0);
        e.Insertar("categoria_insertar", {QStringLiteral("PAPELERÍA")});
        QCOMPARE(
            e.Sql(QStringLiteral("select distinct CatDescripcion from categorias")).RecordCount(),
            2);
    }

    void ordenAlfabeticoEspanol() {
        Entorno e;
        for (const char* s : {"zapallo", "Ávila", "avena", "Ñandú", "nube", "Bote"})
            e.Insertar("sector_insertar", {QString::fromUtf8(s)});
        Recordset rs = e.Sql(QStringLiteral("SELECT * FROM SECTORES ORDER BY SECDESCRIPCION ASC"));
        QStringList orden;
        for (; !rs.Eof(); rs.MoveNext())
            orden << rs.Texto(QStringLiteral("SecDescripcion"));
        QCOMPARE(orden, QStringList({QStringLiteral("avena"), QStringLiteral("Ávila"),
                                     QStringLiteral("Bote"), QStringLiteral("nube"),
                                     QStringLiteral("Ñandú"), QStringLiteral("zapallo")}));
    }

    // Every SQL text the windows send must run as written on this engine.
    void todosLosTextosDelProgramaCorren() {
        Entorno e;
        e.Insertar("categoria_insertar", {QStringLiteral("Ferretería")});
        e.Sql(QStringLiteral("UPDATE categorias SET CatDesactivada=1"));
        const int prod = e.Producto(QStringLiteral("Tuerca"), 1);
        const int orden = e.Insertar(
            "orden_insertar", {QDateTime(QDate(2026, 1, 5), QTime(9, 0)), 3.0,
                               QStringLiteral("Caja"), prod, QString(), QStringLiteral("Planta"),
                               QStringLiteral("Normal"), 1, 1, 1, 0, QStringLiteral("korva")});
        const QString n = QString::number(orden);
        const QStringList textos = {
            "SELECT o.*,p.ProDescripcion FROM ordenes o inner join productos p on o.ProId=p.ProId "
            "WHERE o.OrdId=" +
                n,
            "SELECT MAX(OrdId) FROM ordenes",
            "select AutorizanteId from ordenes where OrdId=" + n,
            "update ordenes set OrdEstado='En trámite',ProcesadoId=1 where OrdId=" + n,
            "select distinct OrdUnidadMedida from ordenes where OrdEstado<>'Anulada' order by "
            "OrdUnidadMedida ASC",
            "select distinct OrdLugarEntrega from ordenes where OrdEstado<>'Anulada' order by "
            "OrdLugarEntrega ASC",
            "select distinct PreMoneda from precios",
            "select distinct PreFormaPago from precios",
            "select * from v_ordenes_preciosaceptados where OrdEstado='Pendiente' and 1",
            "select * from v_ordenes_preciosaceptados where OrdEstado='Pendiente' and "
            "OrdDescripcion like '%tu%'",
            "select * from v_ordenes_preciosaceptados where OrdId in (" + n + ",999)",
            "select sum(PrePrecio) as Suma,PreMoneda from v_ordenes_preciosaceptados where OrdId "
            "in (" +
                n + ") group by PreMoneda",
            "select * from v_ordenes_preciosaceptados where OrdId=" + n,
            "SELECT * FROM v_precios_proveedores WHERE OrdId=" + n,
            "SELECT * FROM usuarios WHERE UsuLogin='korva'",
            "select UsuId,UsuPuedeSolicitar,UsuPuedeCumplir from usuarios where UsuLogin='KORVA'",
            "select UsuPassword from usuarios where UsuId=1",
            "select UsuLogin from usuarios where UsuId=1",
            "select UsuId,UsuNombre from usuarios where UsuPuedeSolicitar=1 and UsuDesactivado=0 "
            "order by UsuNombre ASC",
            "select UsuId,UsuNombre from usuarios where UsuPuedeAutorizar=1 and UsuDesactivado=0 "
            "order by UsuNombre ASC",
            "SELECT * FROM usuarios ORDER BY UsuNombre ASC",
            "select SecId,SecDescripcion from sectores where SecDesactivado=0 order by "
            "SecDescripcion ASC",
            "SELECT * FROM SECTORES ORDER BY SECDESCRIPCION ASC",
            "SELECT * FROM SECTORES WHERE INSTR(SECDESCRIPCION,'co')",
            "select CenCosId,CenCosDescripcion from centrosdecosto where CenCosDesactivado=0 order "
            "by CenCosDescripcion ASC",
            "SELECT * FROM centrosdecosto WHERE INSTR(CenCosDescripcion,'x')",
            "SELECT * FROM proveedores WHERE INSTR(EmpNombreFantasia,'x')",
            "select * from proveedores where EmpNombreFantasia like '%x%' or EmpRazonSocial like "
            "'%x%'",
            "SELECT * FROM PRODUCTOS WHERE INSTR(PRODESCRIPCION,'tu')",
            "select * from productos where ProDescripcion like '%tu%'",
            "select * from categorias order by catdescripcion asc",
            "SELECT * FROM CATEGORIAS WHERE INSTR(CATDESCRIPCION,'fe')",
            "SELECT * FROM CATEGORIAS WHERE CATDESACTIVADA=FALSE OR CATID IN(SELECT CATID FROM "
            "PRODUCTOS) ORDER BY CATDESCRIPCION ASC",
            "DELETE FROM CATEGORIAS WHERE CatDesactivada=True AND CatId NOT IN (SELECT CatId FROM "
            "PRODUCTOS)",
            "SELECT * FROM PRODUCTOS ORDER BY PRODESCRIPCION ASC",
            "SELECT DISTINCT ProMoneda FROM PRODUCTOS ORDER BY ProMoneda ASC",
            "SELECT DISTINCT ProUnidadMedida FROM PRODUCTOS ORDER BY ProUnidadMedida ASC",
            "SELECT * FROM CATEGORIAS WHERE CATDESACTIVADA=FALSE order BY CatDescripcion ASC",
            "delete from precios where OrdId=" + n,
        };
        for (const QString& t : textos) {
            // A person of a protected server changes nothing directly (the program sends its
            // writes there through the server's functions); the owner's tools still run them.
            const bool escritura = t.startsWith(QLatin1String("update"), Qt::CaseInsensitive) ||
                                   t.startsWith(QLatin1String("delete"), Qt::CaseInsensitive);
            std::optional<Entorno::ComoDueno> dueno;
            if (escritura)
                dueno.emplace();
            Recordset rs;
            QVERIFY2(AbrirRecordset(t, rs), qPrintable(t));
        }
        QVERIFY(Mensajes::Mostrados().isEmpty());
        // The retired category is still used by a product, so the clean-up kept it.
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM categorias")).toInt(), 1);
        QCOMPARE(e.Valor(QStringLiteral("SELECT OrdEstado FROM ordenes")).toString(),
                 QStringLiteral("En trámite"));
    }

    // The server's rewrite touches only what the server lacks, never a quoted literal.
    void reescrituraParaElServidor() {
        auto uno = [](const char* sql) {
            const QList<DialectoPg::Sentencia> s = DialectoPg::Traducir(QString::fromUtf8(sql));
            return s.size() == 1 ? s[0].texto : QStringLiteral("<%1 sentencias>").arg(s.size());
        };
        QCOMPARE(uno("select * from v where OrdEstado='Pendiente' and 1"),
                 QStringLiteral("select * from v where OrdEstado='Pendiente' and TRUE"));
        QCOMPARE(uno("select * from v where a=1 and 1 = b or x in (1, 0)"),
                 QStringLiteral("select * from v where a=1 and 1 = b or x in (1, 0)"));
        QCOMPARE(uno("SELECT * FROM T WHERE INSTR(C,'a'';b) and 1') ORDER BY C"),
                 QStringLiteral("SELECT * FROM T WHERE (INSTR(C,'a'';b) and 1') > 0) ORDER BY C"));
        QCOMPARE(uno("select * from t where instr(lower(c), ?) > 0 and not INSTR(d, 'x')"),
                 QStringLiteral("select * from t where instr(lower(c), $1) > 0 and not "
                                "(INSTR(d, 'x') > 0)"));
        QCOMPARE(uno("select \"and 1\" from t where c = '?'"),
                 QStringLiteral("select \"and 1\" from t where c = '?'"));

        const QList<DialectoPg::Sentencia> dos = DialectoPg::Traducir(
            QStringLiteral("DELETE FROM p WHERE OrdId = ?1;\nDELETE FROM o WHERE OrdId = ?1 "
                           "AND x = ?3; -- fin\n"));
        QCOMPARE(dos.size(), 2);
        QCOMPARE(DialectoPg::Traducir(QStringLiteral("CREATE FUNCTION f() RETURNS int AS $x$ "
                                                     "BEGIN RETURN 1; END $x$ LANGUAGE plpgsql; "
                                                     "SELECT f()"))
                     .size(),
                 2);
        QCOMPARE(dos[1].texto, QStringLiteral("DELETE FROM o WHERE OrdId = $1 AND x = $3"));
        QCOMPARE(dos[1].parametros, 3);
        // A bare ? counts from 1 again in each statement, as the file engine binds them.
        const QList<DialectoPg::Sentencia> sueltos =
            DialectoPg::Traducir(QStringLiteral("UPDATE t SET a=?, b=? WHERE c=?; SELECT ?"));
        QCOMPARE(sueltos[0].texto, QStringLiteral("UPDATE t SET a=$1, b=$2 WHERE c=$3"));
        QCOMPARE(sueltos[1].texto, QStringLiteral("SELECT $1"));
    }
};

QUIMBEL_PRUEBA(PruebaDialecto)
#include "PruebaDialecto.moc"
