// Several workstations saving orders at once: 6 processes × 200 saves on the same database, each
// save an order with two quotes in one transaction, as the order window writes it. Prints the
// saves per second of all processes together and the slowest single save.
// Run by hand: bench_guardar [BASE] [PROCESOS] [GUARDADOS]. BASE is a database file or a server
// URI whose database holds the schema (its orders and quotes are deleted first); without it a
// new file is used.
#include "BaseNueva.h"
#include "Conexiones.h"
#include "Mensajes.h"
#include "Ordenes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

bool Guardar(int n) {
    Ordenes::OrdenAGuardar orden;
    orden.fecha = QDateTime::currentDateTime();
    orden.cantidad = 1 + n % 40;
    orden.unidad = QStringLiteral("Caja x 50");
    orden.productoId = QStringLiteral("1");
    orden.comentario = QStringLiteral("Medición");
    orden.lugarEntrega = QStringLiteral("Depósito");
    orden.prioridad = QStringLiteral("Normal");
    orden.sectorId = orden.centroCostoId = orden.solicitanteId = 1;
    orden.login = QStringLiteral("korva");
    QList<Ordenes::PrecioAGuardar> precios(2);
    for (int q = 0; q < 2; ++q) {
        precios[q].empId = 1 + q;
        precios[q].contacto = QStringLiteral("Ventas");
        precios[q].precio = 100.5 + q;
        precios[q].moneda = QStringLiteral("Pesos");
        precios[q].formaPago = QStringLiteral("Contado");
        precios[q].fecha = orden.fecha;
        precios[q].vigencia = orden.fecha.addDays(30);
        precios[q].aceptado = q == 0;
    }
    int ordid = 0;
    return static_cast<bool>(Ordenes::EscribirOrden(ordid, orden, precios));
}

// One workstation: prints how many saves failed and its slowest save in milliseconds.
int Puesto(const QString& base, int guardados) {
    if (!CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), base) ||
        !AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString()))
        return 1;
    int fallos = 0;
    double peor = 0;
    for (int i = 0; i < guardados; ++i) {
        QElapsedTimer reloj;
        reloj.start();
        fallos += !Guardar(i);
        peor = std::max(peor, reloj.nsecsElapsed() / 1e6);
    }
    CerrarConexion();
    std::printf("%d %.3f\n", fallos, peor);
    return 0;
}

bool Vaciar(const QString& base) {
    if (!CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), base) ||
        !AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString()))
        return false;
    const bool ok =
        Sql(QStringLiteral("DELETE FROM precios")) && Sql(QStringLiteral("DELETE FROM ordenes"));
    CerrarConexion();
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    Mensajes::ModoConsola(true);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("--puesto"))
        return Puesto(args[1], args[2].toInt());

    QTemporaryDir dir;
    QString base = args.value(0);
    if (base.isEmpty()) {
        if (!AbrirBaseNueva(dir))
            return 1;
        base = RutaDeOrigen(QString::fromLatin1(kOrigenDeDatos));
        CerrarConexion();
    } else if (!Vaciar(base)) {
        return 1;
    }
    const int procesos = args.value(1, QStringLiteral("6")).toInt();
    const int guardados = args.value(2, QStringLiteral("200")).toInt();

    QList<QProcess*> puestos;
    QElapsedTimer reloj;
    reloj.start();
    for (int i = 0; i < procesos; ++i) {
        auto* p = new QProcess(&app);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--puesto"), base, QString::number(guardados)});
        puestos << p;
    }
    int fallos = 0;
    double peor = 0;
    for (QProcess* p : puestos) {
        p->waitForFinished(-1);
        const QStringList partes =
            QString::fromUtf8(p->readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
        if (p->exitCode() != 0 || partes.size() != 2) {
            std::fprintf(stderr, "un puesto no terminó: %s\n",
                         p->readAllStandardError().constData());
            fallos += guardados;
            continue;
        }
        fallos += partes[0].toInt();
        peor = std::max(peor, partes[1].toDouble());
    }
    const double segundos = reloj.nsecsElapsed() / 1e9;
    std::printf("%9s %10s %10s %12s %12s\n", "procesos", "guardados", "fallidos", "por segundo",
                "peor ms");
    std::printf("%9d %10d %10d %12.1f %12.1f\n", procesos, procesos * guardados, fallos,
                (procesos * guardados - fallos) / segundos, peor);
    return fallos ? 1 : 0;
}
