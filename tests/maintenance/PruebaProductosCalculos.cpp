#include "ProductosCalculos.h"
#include "RegistroPruebas.h"

#include <QTest>

using namespace ProductosCalculos;

class PruebaProductosCalculos : public QObject {
    Q_OBJECT
private slots:
    void margenes() {
        Margen m = CalcularMargen(150.0, 120.0);
        QCOMPARE(m.porcentual, QStringLiteral("25"));
        QCOMPARE(m.absoluto, QStringLiteral("30"));
        m = CalcularMargen(10.0, 3.0);
        QCOMPARE(m.porcentual, QStringLiteral("233,33")); // es_AR in every test run
        QCOMPARE(m.absoluto, QStringLiteral("7"));
        m = CalcularMargen(1234.5, 1000.0);
        QCOMPARE(m.absoluto, QStringLiteral("234,5"));
        QCOMPARE(CalcularMargen(80.0, 100.0).porcentual, QStringLiteral("-20"));

        // No usable cost or price: nothing to divide by or subtract from.
        for (const auto& [precio, costo] : {std::pair<QVariant, QVariant>{150.0, 0.0},
                                            {150.0, QVariant()},
                                            {150.0, -5.0},
                                            {QVariant(), 120.0},
                                            {QVariant(QMetaType(QMetaType::Double)), 120.0}}) {
            m = CalcularMargen(precio, costo);
            QCOMPARE(m.porcentual, QStringLiteral("0"));
            QCOMPARE(m.absoluto, QStringLiteral("0"));
        }
    }

    void redondeoALaCifraPar() {
        QCOMPARE(RedondearPar(0.125, 2), 0.12);
        QCOMPARE(RedondearPar(0.375, 2), 0.38);
        QCOMPARE(RedondearPar(2.5, 0), 2.0);
        QCOMPARE(RedondearPar(3.5, 0), 4.0);
        QCOMPARE(RedondearPar(-0.125, 2), -0.12);
        QCOMPARE(RedondearPar(233.33333333333334, 2), 233.33);
        QCOMPARE(RedondearPar(-0.001, 2), 0.0);
    }

    void busquedaAlTeclear() {
        // In the order the file engine sorts them: ñ after n.
        const QStringList lista{QStringLiteral("Arandela"), QStringLiteral("Bulón"),
                                QStringLiteral("Ñandú"), QStringLiteral("tornillo"),
                                QStringLiteral("Tuerca")};
        QCOMPARE(BuscarDesde(lista, 0, QStringLiteral("TO")), 3);
        QCOMPARE(BuscarDesde(lista, 0, QStringLiteral("Tp")), 4);
        QCOMPARE(BuscarDesde(lista, 0, QStringLiteral("b")), 1);
        QCOMPARE(BuscarDesde(lista, 0, QStringLiteral("o")), 3);
        // The current row counts, and the search never goes back.
        QCOMPARE(BuscarDesde(lista, 3, QStringLiteral("A")), 3);
        QCOMPARE(BuscarDesde(lista, 0, QStringLiteral("Z")), -1);
        QCOMPARE(BuscarDesde(lista, 0, QStringLiteral("O'Brien")), 3);
        QCOMPARE(BuscarDesde({QString(), QStringLiteral("Clavo")}, 0, QStringLiteral("A")), 1);
        // A server sorts signs otherwise: the same product is reached all the same.
        const QStringList servidor{QStringLiteral("Tuerca"), QStringLiteral("Tuerca_mariposa"),
                                   QStringLiteral("Tuerca-M8"), QStringLiteral("Tuerca.M6")};
        QCOMPARE(BuscarDesde(servidor, 0, QStringLiteral("Tuerca-")), 2);
        QCOMPARE(BuscarDesde(servidor, 0, QStringLiteral("tuerca.")), 3);
        // "Never back" is judged in that order too: from Tuerca-M8, Tuerca.M6 still lies ahead
        // and Tuerca_mariposa is passed to, wherever the list put them.
        QCOMPARE(BuscarDesde(servidor, 2, QStringLiteral("tuerca.")), 3);
        QCOMPARE(BuscarDesde(servidor, 3, QStringLiteral("tuerca")), 3);
        QCOMPARE(BuscarDesde(servidor, 3, QStringLiteral("tuerca_")), 1);
        QCOMPARE(BuscarDesde(servidor, 0, QStringLiteral("TUERCA_")), 1);

        QCOMPARE(TituloBusqueda(QStringLiteral("TO")),
                 QStringLiteral("Búsqueda: TO (BackSapce comienza de nuevo)"));
        QCOMPARE(
            TituloBusqueda(QString()),
            QStringLiteral("PARA IR A UN PRODUCTO DIGITE LAS PRIMERAS LETRAS DE LA DESCRIPCION"));
    }
};

QUIMBEL_PRUEBA(PruebaProductosCalculos)
#include "PruebaProductosCalculos.moc"
