// How long the "Resumen de compras" window takes to open: its queries, the charts drawn and the
// window painted. Run by hand: bench_resumen [ORDERS...] (default 1000 20000 100000).
#include "BaseNueva.h"
#include "Conexiones.h"
#include "Configuracion.h"
#include "Mensajes.h"
#include "Reloj.h"
#include "ResumenCompras.h"
#include "frmResumenCompras.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Orders spread over two years in the four states, two quotes each, about two in three with an
// accepted quote, one in five of those in dollars.
bool Poblar(int ordenes) {
    Transaccion t;
    for (int i = 1; i <= 8; ++i) {
        Recordset rs;
        Exigir(EjecutarComando(QStringLiteral("sector_insertar"), rs,
                               {QStringLiteral("Sector %1").arg(i)}),
               "EjecutarComando");
        Exigir(EjecutarComando(QStringLiteral("centrodecosto_insertar"), rs,
                               {QStringLiteral("Centro de costo %1").arg(i)}),
               "EjecutarComando");
    }
    const bool ok =
        Sql(QStringLiteral(
            "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE i<200) "
            "INSERT INTO productos (ProDescripcion, CatId, ProUnidadMedida, ProMoneda, ProCosto, "
            "ProPrecio, ProMinimo) SELECT 'Producto ' || i, 1, 'Caja', 'Pesos', i, i, 0 FROM k")) &&
        Sql(QStringLiteral(
                "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE i<%1) "
                "INSERT INTO ordenes (OrdFecha, OrdCantidad, OrdUnidadMedida, ProId, SecId, "
                "CenCosId, SolicitanteId, AutorizanteId, UsuLogin, OrdEstado) "
                "SELECT datetime('2026-12-07', '-' || (i % 730) || ' days', "
                "'+' || (i % 9) || ' hours'), 1 + i % 40, 'Caja', 1 + i % 200, 1 + i % 8, "
                "1 + i % 7, 1, CASE WHEN i % 4 = 0 THEN 1 ELSE 0 END, 'korva', "
                "CASE i % 4 WHEN 0 THEN 'Pendiente' WHEN 1 THEN 'En trámite' "
                "WHEN 2 THEN 'Cumplida' ELSE 'Anulada' END FROM k")
                .arg(ordenes)) &&
        PoblarPrecios();
    return ok && t.Confirmar();
}

int Medir(int ordenes) {
    QTemporaryDir dir;
    if (!AbrirBaseNueva(dir) || !Poblar(ordenes))
        return 1;
    gAvisoDias = 15;
    Reloj::Fijar(QDateTime(QDate(2026, 12, 7), QTime(12, 0)));

    const double consultas = Mejor([] {
        const QDate hoy = Reloj::Hoy();
        ResumenCompras::ComprasPorMes meses;
        QList<ResumenCompras::Total> totales;
        QList<ResumenCompras::Cantidad> cantidades;
        Exigir(ResumenCompras::LeerComprasPorMes(hoy, 12, &meses), "LeerComprasPorMes");
        Exigir(ResumenCompras::LeerTotalesPorSector(hoy.addMonths(-12), hoy, &totales),
               "LeerTotalesPorSector");
        Exigir(ResumenCompras::LeerTotalesPorCentroDeCosto(hoy.addMonths(-12), hoy, &totales),
               "LeerTotalesPorCentroDeCosto");
        Exigir(ResumenCompras::LeerOrdenesPorEstado(&cantidades), "LeerOrdenesPorEstado");
        Exigir(ResumenCompras::LeerPendientesVencidas(hoy, gAvisoDias, &cantidades),
               "LeerPendientesVencidas");
    });
    // What a person waits for: from the menu entry to the window painted with its first chart.
    const double apertura = Mejor([] {
        frmResumenCompras* w = frmResumenCompras::Instancia();
        QCoreApplication::processEvents();
        w->grab();
        delete w;
    });
    std::printf("%9d %14.1f %14.1f\n", ordenes, consultas, apertura);
    std::fflush(stdout);
    CerrarConexion();
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Mensajes::ModoConsola(true);
    QStringList tamanos = app.arguments().mid(1);
    if (tamanos.isEmpty())
        tamanos = {QStringLiteral("1000"), QStringLiteral("20000"), QStringLiteral("100000")};
    std::printf("%9s %14s %14s\n", "ordenes", "consultas ms", "apertura ms");
    int fallos = 0;
    for (const QString& n : tamanos)
        fallos += Medir(n.toInt());
    return fallos ? 1 : 0;
}
