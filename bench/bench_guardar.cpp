// Several workstations saving orders at once: 6 processes × 200 saves on the same database, each
// save an order with two quotes in one transaction, as the order window writes it. Prints the
// saves per second of all processes together and the slowest single save.
// On a server it also measures the floor: the same processes sending the same rows (the order,
// its quotes and the history lines a save of the program wrote) with bare libpq, one statement
// and so one round trip and one transaction per save; runs alternate, the best of three counts,
// and the ratio of the program's saves per second to the floor's is printed.
// Run by hand: bench_guardar [BASE] [PROCESOS] [GUARDADOS] [PUESTOS]. BASE is a database file or
// a server URI whose database holds the schema (its orders and quotes are deleted first); without
// it a new file is used. PUESTOS, for a protected server, is the URI the program's workstations
// connect with (a person's role, its password in PGPASSWORD or .pgpass); the floor and the
// clearing keep BASE, the owner's.
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
#include <libpq-fe.h>

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

// The history lines of the newest order the program saved, column by column, as PostgreSQL
// array literals: the floor writes the same lines for each of its orders.
struct Plantilla {
    QByteArray columnas[5];
};

bool LeerPlantilla(PGconn* c, Plantilla* p) {
    PGresult* r = PQexec(c, "SELECT array_agg(HisTipo ORDER BY HisId), array_agg(HisTabla ORDER "
                            "BY HisId), array_agg(HisCampo ORDER BY HisId), array_agg(HisAnterior "
                            "ORDER BY HisId), array_agg(HisNuevo ORDER BY HisId) FROM historial "
                            "WHERE HisOrdId = (SELECT max(HisOrdId) FROM historial)");
    const bool ok =
        PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1 && !PQgetisnull(r, 0, 0);
    for (int i = 0; ok && i < 5; ++i)
        p->columnas[i] = PQgetvalue(r, 0, i);
    PQclear(r);
    return ok;
}

const char kGuardarPiso[] =
    "WITH o AS (INSERT INTO ordenes (OrdFecha, OrdCantidad, OrdUnidadMedida, ProId, OrdComentario, "
    "OrdLugarEntrega, OrdPrioridad, SecId, CenCosId, SolicitanteId, AutorizanteId, UsuLogin) "
    "VALUES (localtimestamp(0), $1::int, 'Caja x 50', 1, 'Medición', 'Depósito', 'Normal', 1, 1, "
    "1, 0, 'korva') RETURNING OrdId), "
    "p AS (INSERT INTO precios (OrdId, EmpId, PreContacto, PrePrecio, PreMoneda, PreFormaPago, "
    "PreFecha, PreFecVigencia, PreAceptado) SELECT OrdId, e, 'Ventas', 99.5 + e, 'Pesos', "
    "'Contado', current_date, current_date + 30, (e = 1)::int FROM o, generate_series(1, 2) e), "
    "h AS (INSERT INTO historial (HisFecha, HisLogin, HisTipo, HisTabla, HisClave, HisOrdId, "
    "HisCampo, HisAnterior, HisNuevo) SELECT localtimestamp(0), 'korva', t.tipo, t.tabla, OrdId, "
    "OrdId, t.campo, t.anterior, t.nuevo FROM o, unnest($2::text[], $3::text[], $4::text[], "
    "$5::text[], $6::text[]) AS t(tipo, tabla, campo, anterior, nuevo)) "
    "SELECT OrdId FROM o";

// One workstation of the floor: prints its failures and slowest save as Puesto does.
int PuestoPiso(const QString& base, int guardados) {
    PGconn* c = PQconnectdb(base.toUtf8().constData());
    Plantilla plantilla;
    if (PQstatus(c) != CONNECTION_OK || !LeerPlantilla(c, &plantilla)) {
        std::fprintf(stderr, "%s", PQerrorMessage(c));
        PQfinish(c);
        return 1;
    }
    int fallos = 0;
    double peor = 0;
    for (int i = 0; i < guardados; ++i) {
        const QByteArray cantidad = QByteArray::number(1 + i % 40);
        const char* valores[6] = {cantidad.constData()};
        for (int k = 0; k < 5; ++k)
            valores[k + 1] = plantilla.columnas[k].constData();
        QElapsedTimer reloj;
        reloj.start();
        PGresult* r = PQexecParams(c, kGuardarPiso, 6, nullptr, valores, nullptr, nullptr, 0);
        fallos += PQresultStatus(r) != PGRES_TUPLES_OK;
        PQclear(r);
        peor = std::max(peor, reloj.nsecsElapsed() / 1e6);
    }
    PQfinish(c);
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

struct Medida {
    int fallos = 0;
    double porSegundo = 0;
    double peor = 0;
};

// All workstations at once, each a process of this program in `modo` (--puesto or --piso).
Medida Medir(QCoreApplication& app, const QString& modo, const QString& base, int procesos,
             int guardados) {
    QList<QProcess*> puestos;
    QElapsedTimer reloj;
    reloj.start();
    for (int i = 0; i < procesos; ++i) {
        auto* p = new QProcess(&app);
        p->start(QCoreApplication::applicationFilePath(), {modo, base, QString::number(guardados)});
        puestos << p;
    }
    Medida m;
    for (QProcess* p : puestos) {
        p->waitForFinished(-1);
        const QStringList partes =
            QString::fromUtf8(p->readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
        if (p->exitCode() != 0 || partes.size() != 2) {
            std::fprintf(stderr, "un puesto no terminó: %s\n",
                         p->readAllStandardError().constData());
            m.fallos += guardados;
            continue;
        }
        m.fallos += partes[0].toInt();
        m.peor = std::max(m.peor, partes[1].toDouble());
    }
    m.porSegundo = (procesos * guardados - m.fallos) / (reloj.nsecsElapsed() / 1e9);
    qDeleteAll(puestos);
    return m;
}

void Imprimir(const char* que, int procesos, int guardados, const Medida& m) {
    std::printf("%-9s %9d %10d %10d %12.1f %12.1f\n", que, procesos, procesos * guardados, m.fallos,
                m.porSegundo, m.peor);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    Mensajes::ModoConsola(true);
    QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("--puesto"))
        return Puesto(args[1], args[2].toInt());
    if (args.size() == 3 && args[0] == QLatin1String("--piso"))
        return PuestoPiso(args[1], args[2].toInt());

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
    const bool servidor = base.startsWith(QLatin1String("postgres"));
    const QString puestos = args.value(3, base);

    std::printf("%-9s %9s %10s %10s %12s %12s\n", "", "procesos", "guardados", "fallidos",
                "por segundo", "peor ms");
    Medida programa, piso;
    for (int vuelta = 0; vuelta < (servidor ? 3 : 1); ++vuelta) {
        const Medida m = Medir(app, QStringLiteral("--puesto"), puestos, procesos, guardados);
        if (m.porSegundo > programa.porSegundo)
            programa = m;
        if (!servidor)
            break;
        const Medida f = Medir(app, QStringLiteral("--piso"), base, procesos, guardados);
        if (f.porSegundo > piso.porSegundo)
            piso = f;
    }
    Imprimir("Quimbel", procesos, guardados, programa);
    if (servidor) {
        Imprimir("libpq", procesos, guardados, piso);
        std::printf("proporción: %.2f× los guardados por segundo del piso\n",
                    piso.porSegundo > 0 ? programa.porSegundo / piso.porSegundo : 0.0);
    }
    return programa.fallos || piso.fallos ? 1 : 0;
}
