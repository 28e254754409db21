// A workstation saving orders while the server ends its session and restarts: 15 sessions
// terminated (pg_terminate_backend from another connection) and 3 restarts of the server, at
// random moments of a loop of saves. Prints how many saves failed, how many of those were told
// exactly once (and how many not at all or more than once), how many were told as failed yet
// kept, and after how many of the 18 events a later save went through again.
// Run by hand against a server of scripts/servidor-pruebas.sh (its data folder is restarted
// with pg_ctl): bench_reconexion URI CARPETA. URI names an empty database.
#include "BaseNueva.h"
#include "Conexiones.h"
#include "Mensajes.h"
#include "Ordenes.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <atomic>
#include <chrono>
#include <libpq-fe.h>
#include <thread>
#include <unistd.h>

namespace {

int ultimoMotivo = 0;

bool Guardar(int n) {
    Ordenes::OrdenAGuardar orden;
    orden.fecha = QDateTime::currentDateTime();
    orden.cantidad = 1;
    orden.unidad = QStringLiteral("Caja");
    orden.productoId = QStringLiteral("1");
    orden.comentario = QString::number(n);
    orden.lugarEntrega = QStringLiteral("Depósito");
    orden.prioridad = QStringLiteral("Normal");
    orden.sectorId = orden.centroCostoId = orden.solicitanteId = 1;
    orden.login = QStringLiteral("korva");
    Ordenes::PrecioAGuardar p;
    p.empId = 1;
    p.precio = 10;
    p.moneda = QStringLiteral("Pesos");
    p.fecha = orden.fecha;
    p.vigencia = orden.fecha.addDays(30);
    int ordid = 0;
    const Ordenes::ResultadoGuardado r = Ordenes::EscribirOrden(ordid, orden, {p, p});
    ultimoMotivo = static_cast<int>(r.motivo);
    return static_cast<bool>(r);
}

void Servidor(const QString& carpeta, const char* orden) {
    const QString pg =
        qEnvironmentVariable("PG_BIN", QStringLiteral("/usr/lib/postgresql/15/bin")) +
        QStringLiteral("/pg_ctl");
    QStringList args{pg,
                     QStringLiteral("-D"),
                     carpeta + QStringLiteral("/datos"),
                     QStringLiteral("-l"),
                     carpeta + QStringLiteral("/servidor.log"),
                     QStringLiteral("-m"),
                     QStringLiteral("fast"),
                     QStringLiteral("-w"),
                     QString::fromLatin1(orden)};
    if (geteuid() == 0)
        args = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--")} +
               args;
    QProcess::execute(geteuid() == 0 ? QStringLiteral("runuser") : args.takeFirst(), args);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    Mensajes::ModoPrueba(true);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2) {
        std::fprintf(stderr, "Uso: bench_reconexion URI CARPETA\n");
        return 2;
    }
    Exigir(AbrirBaseNueva(args[0]), "abrir la base");
    NombrarSesion(QStringLiteral("korva"));

    std::atomic<int> hechos{0};
    std::atomic<bool> fin{false};
    std::thread otro([&] {
        for (int e = 0; e < 18; ++e) {
            std::this_thread::sleep_for(
                std::chrono::milliseconds(200 + QRandomGenerator::global()->bounded(300)));
            if (e % 6 == 5) {
                Servidor(args[1], "restart");
            } else if (PGconn* c = PQconnectdb(args[0].toUtf8().constData())) {
                PQclear(PQexec(c, "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE "
                                  "application_name LIKE 'Quimbel - %'"));
                PQfinish(c);
            }
            ++hechos;
        }
        fin = true;
    });

    int guardados = 0, fallidos = 0, unaVez = 0, ninguna = 0, varias = 0;
    QList<int> fallas;
    // Events followed by a save that went through (before or after the events that came next),
    // and those after which the very next successful save came before another event.
    int recuperados = 0, enseguida = 0;
    int vistos = 0;
    for (int n = 0; (!fin || recuperados < hechos) && n < 100000; ++n) {
        const int antes = hechos;
        Mensajes::Limpiar();
        if (Guardar(n)) {
            ++guardados;
            if (antes > recuperados) {
                enseguida += antes - vistos == 1 ? 1 : 0;
                vistos = antes;
                recuperados = antes;
            }
            continue;
        }
        ++fallidos;
        fallas << n;
        const int dichos = Mensajes::Mostrados().size();
        (dichos == 1 ? unaVez : dichos == 0 ? ninguna : varias)++;
        if (dichos != 1)
            std::fprintf(stderr, "guardado %d: motivo %d, %d mensajes\n", n, ultimoMotivo, dichos);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    otro.join();
    int conservados = 0;
    for (int n : fallas) {
        Recordset rs;
        if (AbrirRecordset(QStringLiteral("SELECT count(*) FROM ordenes WHERE OrdComentario=?"), rs,
                           {QString::number(n)}) &&
            rs.Campo(0).toInt() > 0)
            ++conservados;
    }
    std::printf("guardados %d, fallidos %d (avisados una vez %d, sin aviso %d, más de una vez %d, "
                "avisados pero guardados %d); eventos 18, seguidos de un guardado que se hizo %d "
                "(antes del evento siguiente %d)\n",
                guardados, fallidos, unaVez, ninguna, varias, conservados, recuperados, enseguida);
    return 0;
}
