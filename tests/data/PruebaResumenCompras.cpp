#include "Entorno.h"
#include "RegistroPruebas.h"
#include "ResumenCompras.h"

#include <QTest>

namespace {

const QDate kHoy(2026, 3, 20);

} // namespace

class PruebaResumenCompras : public QObject {
    Q_OBJECT

    // Two sectors and two cost centres; orders with an accepted price in a currency.
    struct Datos {
        Entorno e;
        int producto = 0;
        Datos() {
            producto = e.Producto(QStringLiteral("Tornillo"));
            for (const char* s : {"Compras", "Planta"}) {
                e.Insertar("sector_insertar", {QString::fromUtf8(s)});
                e.Insertar("centrodecosto_insertar", {QString::fromUtf8(s)});
            }
        }
        int Orden(const QDateTime& fecha, double precio, const QString& moneda, int sector = 1,
                  const QString& estado = QStringLiteral("Pendiente")) {
            const int id =
                e.Insertar("orden_insertar", {fecha, 1.0, QStringLiteral("Caja"), producto,
                                              QString(), QString(), QStringLiteral("Normal"),
                                              sector, 3 - sector, 1, 0, QStringLiteral("korva")});
            e.Sql(QStringLiteral("update ordenes set OrdEstado=? where OrdId=?"), {estado, id});
            if (!moneda.isEmpty()) {
                e.Insertar("precio_Insertar",
                           {id, 1, QString(), precio * 3, moneda, QString(), kHoy, kHoy, 0});
                e.Insertar("precio_Insertar",
                           {id, 1, QString(), precio, moneda, QString(), kHoy, kHoy, 1});
            }
            return id;
        }
    };

private slots:
    // Month edges, the oldest month of the twelve, today's hours, currencies kept apart (and
    // told apart only by case taken as one), annulled orders and orders without an accepted
    // price left out.
    void comprasPorMesYMoneda() {
        Datos d;
        d.Orden(QDate(2026, 3, 1).startOfDay(), 100, QStringLiteral("Pesos"));
        d.Orden(QDateTime(QDate(2026, 2, 28), QTime(23, 59, 59)), 50, QStringLiteral("Pesos"));
        d.Orden(QDateTime(kHoy, QTime(18, 0)), 5, QStringLiteral("Dólares"));
        d.Orden(QDate(2025, 4, 1).startOfDay(), 10, QStringLiteral("Dólares"));
        d.Orden(QDateTime(QDate(2025, 3, 31), QTime(23, 59, 59)), 999, QStringLiteral("Pesos"));
        d.Orden(QDate(2026, 3, 2).startOfDay(), 7, QStringLiteral("pesos"));
        d.Orden(QDate(2026, 3, 3).startOfDay(), 1000, QStringLiteral("Pesos"), 1,
                QStringLiteral("Anulada"));
        d.Orden(QDate(2026, 3, 4).startOfDay(), 0, QString());
        d.Orden(QDate(2026, 4, 1).startOfDay(), 3000, QStringLiteral("Pesos"));

        ResumenCompras::ComprasPorMes r;
        QVERIFY(ResumenCompras::LeerComprasPorMes(kHoy, 12, &r));
        QCOMPARE(r.meses.size(), 12);
        QCOMPARE(r.meses.first(), QDate(2025, 4, 1));
        QCOMPARE(r.meses.last(), QDate(2026, 3, 1));
        QCOMPARE(r.monedas, (QStringList{"Pesos", "Dólares"}));
        QVector<double> pesos(12, 0.0), dolares(12, 0.0);
        pesos[10] = 50;
        pesos[11] = 107;
        dolares[0] = 10;
        dolares[11] = 5;
        QCOMPARE(r.totales[0], pesos);
        QCOMPARE(r.totales[1], dolares);
    }

    // Period edges are whole days; sector and cost centre totals per currency; states counted
    // in their order; overdue pending orders as the list colours them red.
    void totalesEstadosYVencidas() {
        Datos d;
        d.Orden(QDate(2026, 1, 1).startOfDay(), 10, QStringLiteral("Pesos"), 1);
        d.Orden(QDateTime(QDate(2026, 1, 31), QTime(23, 0)), 20, QStringLiteral("Pesos"), 2);
        d.Orden(QDateTime(QDate(2026, 1, 15), QTime(12, 0)), 4, QStringLiteral("Dólares"), 2);
        d.Orden(QDateTime(QDate(2025, 12, 31), QTime(23, 59)), 500, QStringLiteral("Pesos"), 1);
        d.Orden(QDate(2026, 2, 1).startOfDay(), 500, QStringLiteral("Pesos"), 1,
                QStringLiteral("Cumplida"));
        d.Orden(kHoy.addDays(-15).startOfDay(), 1, QStringLiteral("Pesos"), 2);
        d.Orden(QDateTime(kHoy.addDays(-16), QTime(23, 59)), 1, QStringLiteral("Pesos"), 2,
                QStringLiteral("En trámite"));

        QList<ResumenCompras::Total> sectores;
        QVERIFY(
            ResumenCompras::LeerTotalesPorSector(QDate(2026, 1, 1), QDate(2026, 1, 31), &sectores));
        QCOMPARE(sectores.size(), 3);
        auto total = [](const QList<ResumenCompras::Total>& t, const char* grupo,
                        const char* moneda) {
            for (const ResumenCompras::Total& x : t)
                if (x.grupo == QString::fromUtf8(grupo) && x.moneda == QString::fromUtf8(moneda))
                    return x.importe;
            return -1.0;
        };
        QCOMPARE(sectores.first().importe, 20.0); // largest first
        QCOMPARE(total(sectores, "Compras", "Pesos"), 10.0);
        QCOMPARE(total(sectores, "Planta", "Pesos"), 20.0);
        QCOMPARE(total(sectores, "Planta", "Dólares"), 4.0);
        QList<ResumenCompras::Total> centros;
        QVERIFY(ResumenCompras::LeerTotalesPorCentroDeCosto(QDate(2026, 1, 1), QDate(2026, 1, 31),
                                                            &centros));
        QCOMPARE(total(centros, "Planta", "Pesos"), 10.0); // sector 1 charges centre 2
        QCOMPARE(total(centros, "Compras", "Dólares"), 4.0);
        QVERIFY(
            ResumenCompras::LeerTotalesPorSector(QDate(2026, 2, 1), QDate(2026, 1, 1), &sectores));
        QVERIFY(sectores.isEmpty());

        QList<ResumenCompras::Cantidad> estados;
        QVERIFY(ResumenCompras::LeerOrdenesPorEstado(&estados));
        QCOMPARE(estados.size(), 4);
        QCOMPARE(estados[0].nombre, QStringLiteral("Pendiente"));
        QCOMPARE(estados[0].cantidad, 5);
        QCOMPARE(estados[1].cantidad, 1);
        QCOMPARE(estados[2].cantidad, 1);
        QCOMPARE(estados[3].nombre, QStringLiteral("Anulada"));
        QCOMPARE(estados[3].cantidad, 0);

        QList<ResumenCompras::Cantidad> vencidas;
        QVERIFY(ResumenCompras::LeerPendientesVencidas(kHoy, 15, &vencidas));
        QCOMPARE(vencidas.size(), 2);
        QCOMPARE(vencidas[0].nombre, QStringLiteral("Compras"));
        QCOMPARE(vencidas[0].cantidad, 2);
        QCOMPARE(vencidas[1].nombre, QStringLiteral("Planta"));
        QCOMPARE(vencidas[1].cantidad, 2);
    }
};

QUIMBEL_PRUEBA(PruebaResumenCompras)
#include "PruebaResumenCompras.moc"
