// What the order history costs a save: an order with five quotes saved by the editor's own save
// (which records what changed), against the same writes without the history, as the save was
// before it; and the same for a new order, whose every field and quote makes a line. Run by hand:
// bench_historial [SAVES] [RUNS] [DATABASE] (default 200 saves per run, best of seven runs, a new
// file in the temporary folder). Many short runs cope better with a machine whose speed drifts than
// a few long ones. DATABASE may be an empty database on a server (postgresql://…), to measure the
// history where each statement is a round trip.
//
// On a server a new order is also saved without the history's chain alone, to tell what the chain
// costs: the bench, as the owner of its own database and in a session of its own, puts in place
// for those runs the program's historial_agregar with its chaining turned off (`encadenar` false:
// no lock, no read of the chain's last line, no texts, no hashes) and disables the chain's
// trigger, then puts both back for every other run. The foreign keys, the append-only triggers
// and every other statement run as in the program. (A database set to session_replication_role =
// 'replica' skips all of those too, so it is no measure of the chain.) The same two saves are then
// measured again once the database is protected, saved by a person's role through the server's
// functions, as an office's workstations save on a server.
#include "BaseNueva.h"
#include "Mensajes.h"
#include "Ordenes.h"
#include "Reloj.h"
#include "Usuario.h"
#include "motor/ProteccionPg.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cstdio>
#include <libpq-fe.h>

namespace {

Ordenes::OrdenAGuardar Orden(double cantidad) {
    Ordenes::OrdenAGuardar o;
    o.fecha = QDateTime(QDate(2026, 12, 7), QTime(10, 0));
    o.cantidad = cantidad;
    o.unidad = QStringLiteral("Caja");
    o.productoId = QStringLiteral("1");
    o.comentario = QStringLiteral("Para el taller");
    o.lugarEntrega = QStringLiteral("Depósito");
    o.prioridad = QStringLiteral("Normal");
    o.sectorId = 1;
    o.centroCostoId = 1;
    o.solicitanteId = 1;
    o.login = QStringLiteral("korva");
    return o;
}

QList<Ordenes::PrecioAGuardar> Precios(double primero) {
    QList<Ordenes::PrecioAGuardar> p;
    for (int i = 0; i < 5; ++i)
        p << Ordenes::PrecioAGuardar{i + 1,
                                     QStringLiteral("Contacto %1").arg(i),
                                     i == 0 ? primero : 10.0 + i,
                                     QStringLiteral("Pesos"),
                                     QStringLiteral("Contado"),
                                     QDateTime(QDate(2026, 12, 1), QTime()),
                                     QDateTime(QDate(2026, 12, 31), QTime()),
                                     i == 2};
    return p;
}

// The save as it was before its history: the same statements in one transaction, the check
// that another workstation has not deleted the order included.
bool SinHistorial(int ordid, const Ordenes::OrdenAGuardar& o,
                  const QList<Ordenes::PrecioAGuardar>& precios) {
    Transaccion t;
    Recordset rs;
    bool ok =
        t.Activa() &&
        AbrirRecordset(QStringLiteral("select count(*) from ordenes where OrdId=?"), rs, {ordid}) &&
        rs.Campo(0).toInt() > 0 &&
        EjecutarComando(QStringLiteral("orden_actualizar"), rs,
                        {ordid, o.fecha, o.cantidad, o.unidad, o.productoId, o.comentario,
                         o.lugarEntrega, o.prioridad, o.sectorId, o.centroCostoId, o.solicitanteId,
                         o.autorizanteId}) &&
        AbrirRecordset(QStringLiteral("delete from precios where OrdId=?"), rs, {ordid});
    for (const Ordenes::PrecioAGuardar& p : precios)
        ok = ok && EjecutarComando(QStringLiteral("precio_Insertar"), rs,
                                   {ordid, p.empId, p.contacto, p.precio, p.moneda, p.formaPago,
                                    p.fecha, p.vigencia, p.aceptado ? 1 : 0});
    return ok && t.Confirmar();
}

// A new order as it was stored before its history: its insert and its quotes'.
bool NuevaSinHistorial(const Ordenes::OrdenAGuardar& o,
                       const QList<Ordenes::PrecioAGuardar>& precios) {
    Transaccion t;
    Recordset rs;
    bool ok = t.Activa() &&
              EjecutarComando(QStringLiteral("orden_insertar"), rs,
                              {o.fecha, o.cantidad, o.unidad, o.productoId, o.comentario,
                               o.lugarEntrega, o.prioridad, o.sectorId, o.centroCostoId,
                               o.solicitanteId, o.autorizanteId, o.login}) &&
              rs.AbsolutePosition() > 0;
    const int ordid = ok ? rs.Campo(QStringLiteral("OrdId")).toInt() : 0;
    for (const Ordenes::PrecioAGuardar& p : precios)
        ok = ok && EjecutarComando(QStringLiteral("precio_Insertar"), rs,
                                   {ordid, p.empId, p.contacto, p.precio, p.moneda, p.formaPago,
                                    p.fecha, p.vigencia, p.aceptado ? 1 : 0});
    return ok && t.Confirmar();
}

// A save of order `ordid` (0 for a new one); `vez` counts the visits to that order, so that a
// save with changes can write values other than the ones the visit before wrote.
using Guardar = std::function<bool(int ordid, int vez)>;

// Each way of saving has orders of its own, visited in turn: a desk saves many orders, and on the
// server one row saved over and over would leave its table full of dead versions.
constexpr int kOrdenesPorForma = 100;

// Best of `vueltas` runs of each way of saving, the runs taken in turn so that the machine's
// drift falls on all of them alike; `antes` readies the database for a way, untimed, and so is
// the first save of each run, which plans again what a change of definitions made the server
// forget. Each save with changes changes the quantity and the first quote's price: two history
// lines.
QList<double> Medir(int guardados, int vueltas, const QList<Guardar>& formas,
                    const QList<QList<int>>& ordenes, const std::function<bool(int)>& antes) {
    QList<double> mejor(formas.size(), 1e100);
    QList<int> hechos(formas.size(), 0);
    bool ok = true;
    for (int vuelta = 0; vuelta < vueltas; ++vuelta) {
        for (int f = 0; f < formas.size(); ++f) {
            ok = ok && antes(f) &&
                 formas[f](ordenes[f][hechos[f] % kOrdenesPorForma], hechos[f] / kOrdenesPorForma);
            ++hechos[f];
            QElapsedTimer reloj;
            reloj.start();
            for (int i = 0; i < guardados && ok; ++i, ++hechos[f])
                ok = formas[f](ordenes[f][hechos[f] % kOrdenesPorForma],
                               hechos[f] / kOrdenesPorForma);
            mejor[f] = std::min(mejor[f], reloj.nsecsElapsed() / 1e6 / guardados);
        }
    }
    if (!ok)
        std::fprintf(stderr, "Un guardado falló.\n");
    return mejor;
}

// Orders for each way of saving, as the save without changes writes them.
bool Poblar(int formas, bool servidor, QList<QList<int>>* ordenes) {
    Recordset rs;
    bool ok = EjecutarComando(QStringLiteral("usuario_insertar"), rs,
                              {gLogin, QString(), QStringLiteral("Korva"), 1, 1, 1});
    for (int i = 1; i <= 5; ++i)
        ok = ok && EjecutarComando(QStringLiteral("proveedor_insertar"), rs,
                                   QVariantList(14, QStringLiteral("Proveedor %1").arg(i)));
    for (int f = 0; f < formas; ++f) {
        ordenes->append(QList<int>());
        for (int i = 0; i < kOrdenesPorForma && ok; ++i) {
            int ordid = 0;
            ok = static_cast<bool>(Ordenes::EscribirOrden(ordid, Orden(3), Precios(21)));
            ordenes->last() << ordid;
        }
    }
    // What the server's own statistics would hold by now, so that it plans as it would in use.
    return ok && (!servidor || AbrirRecordset(QStringLiteral("ANALYZE"), rs));
}

// A new order with its five quotes.
bool GuardarNueva(int, int) {
    int numero = 0;
    return static_cast<bool>(Ordenes::EscribirOrden(numero, Orden(3), Precios(21)));
}

// The owner's session of its own, which puts in place historial_agregar as the program defines
// it or with its chaining turned off, while the program's connection saves (as a person's role
// once the database is protected). The lines written without the chain break it: the database is
// the bench's own, to throw away.
class Cadena {
public:
    ~Cadena() { PQfinish(db_); }
    pg_conn* Sesion() const { return db_; }

    bool Abrir(const QString& uri) {
        QString error;
        db_ = Esquema::ConectarServidor(uri, &error);
        const QString definicion =
            db_ ? Uno("SELECT pg_get_functiondef('historial_agregar(text, integer, "
                      "historial_linea[])'::regprocedure)")
                : QString();
        static const QRegularExpression encadenar(QStringLiteral("encadenar boolean := [^;]*;"));
        if (definicion.count(encadenar) != 1) {
            std::fprintf(stderr, "historial_agregar no declara «encadenar» una sola vez.\n");
            return false;
        }
        con_ = definicion;
        sin_ =
            QString(definicion).replace(encadenar, QStringLiteral("encadenar boolean := false;"));
        return true;
    }

    // Put in place only where the other one is: the server then compiles the function and plans
    // the table's statements again, at the first save of a run, which Medir does not time.
    bool Poner(bool cadena) {
        if (cadena == puesta_)
            return true;
        puesta_ = cadena;
        return Ejecutar(QStringLiteral("BEGIN; %1; ALTER TABLE historial %2 TRIGGER "
                                       "historial_encadenar; COMMIT")
                            .arg(cadena ? con_ : sin_,
                                 cadena ? QStringLiteral("ENABLE") : QStringLiteral("DISABLE")));
    }

    bool Ejecutar(const QString& sql) const {
        PGresult* r = PQexec(db_, sql.toUtf8().constData());
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        if (!ok)
            std::fprintf(stderr, "%s", PQresultErrorMessage(r));
        PQclear(r);
        return ok;
    }

private:
    QString Uno(const char* sql) const {
        PGresult* r = PQexec(db_, sql);
        const QString v = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1
                              ? QString::fromUtf8(PQgetvalue(r, 0, 0))
                              : QString();
        PQclear(r);
        return v;
    }

    pg_conn* db_ = nullptr;
    QString con_, sin_;
    bool puesta_ = true;
};

// The new order saved with its chain and without it on the same database once protected, by
// the person korva through the server's functions.
void MedirProtegida(int guardados, int vueltas, Cadena* cadena) {
    QStringList lineas;
    QString error;
    // A run before on a database of the same name left the person's role, whose password only
    // that run knew: a new one is made.
    Exigir(cadena->Ejecutar(QStringLiteral("DROP ROLE IF EXISTS \"%1\"")
                                .arg(ProteccionPg::NombreRol(
                                    gLogin, QString::fromUtf8(PQdb(cadena->Sesion()))))),
           "DROP ROLE");
    Exigir(ProteccionPg::Proteger(cadena->Sesion(), &lineas, &error), "Proteger");
    QString clave;
    for (const QString& l : lineas)
        if (l.section(QStringLiteral(", "), 0, 0) == gLogin)
            clave = l.section(QStringLiteral(", "), 2);
    CerrarConexion();
    Exigir(AbrirConexionComo(QString::fromLatin1(kOrigenDeDatos), gLogin, clave) ==
               IngresoServidor::Aceptado,
           "AbrirConexionComo");
    const QList<double> ms = Medir(guardados, vueltas, {GuardarNueva, GuardarNueva},
                                   QList<QList<int>>(2, QList<int>(kOrdenesPorForma, 0)),
                                   [cadena](int forma) { return cadena->Poner(forma == 0); });
    Exigir(cadena->Poner(true), "Encadenar");
    std::printf("Guardar una orden nueva en la base protegida, como una persona\n");
    std::printf("  con historial:                 %8.3f\n", ms[0]);
    std::printf("  con historial, sin cadena:     %8.3f  (la cadena: %+.1f %%)\n", ms[1],
                (ms[0] / ms[1] - 1) * 100);
}

} // namespace

int main(int argc, char* argv[]) {
    Reloj::PrepararZonaHoraria(); // as the program itself starts
    QCoreApplication app(argc, argv);
    Mensajes::ModoConsola(true);
    const int guardados = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;
    const int vueltas = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 7;
    QTemporaryDir dir;
    const QString base = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    if (guardados <= 0 || vueltas <= 0 ||
        !(base.isEmpty() ? AbrirBaseNueva(dir) : AbrirBaseNueva(base)))
        return 1;
    gLogin = QStringLiteral("korva");
    QList<QList<int>> ordenes;
    const bool servidor = EsServidor(base);
    Cadena cadena;
    if (!Poblar(3, servidor, &ordenes) || (servidor && !cadena.Abrir(base)))
        return 1;
    ordenes << QList<int>(kOrdenesPorForma, 0) << QList<int>(kOrdenesPorForma, 0)
            << QList<int>(kOrdenesPorForma, 0);
    QList<Guardar> formas{
        [](int id, int vez) { return SinHistorial(id, Orden(2 + vez % 2), Precios(20 + vez % 2)); },
        [](int id, int vez) {
            int numero = id;
            return static_cast<bool>(
                Ordenes::EscribirOrden(numero, Orden(2 + vez % 2), Precios(20 + vez % 2)));
        },
        [](int id, int) {
            int numero = id;
            return static_cast<bool>(Ordenes::EscribirOrden(numero, Orden(3), Precios(21)));
        },
        [](int, int) { return NuevaSinHistorial(Orden(3), Precios(21)); }, GuardarNueva};
    if (servidor)
        formas << GuardarNueva;
    // The last way, the new order without the chain, is the only one saved without it.
    const auto antes = [&](int forma) { return !servidor || cadena.Poner(forma != 5); };

    const QList<double> ms = Medir(guardados, vueltas, formas, ordenes, antes);
    Exigir(antes(0), "Encadenar");
    const double sin = ms[0];
    const double con = ms[1];
    const double igual = ms[2];
    std::printf("Guardar una orden con cinco precios (ms por guardado, el mejor de %d vueltas)\n",
                vueltas);
    std::printf("  sin historial:                 %8.3f\n", sin);
    std::printf("  con historial (dos cambios):   %8.3f  (%.2fx)\n", con, con / sin);
    std::printf("  con historial (sin cambios):   %8.3f  (%.2fx)\n", igual, igual / sin);
    std::printf("Guardar una orden nueva con cinco precios\n");
    std::printf("  sin historial:                 %8.3f\n", ms[3]);
    std::printf("  con historial:                 %8.3f  (%.2fx)\n", ms[4], ms[4] / ms[3]);
    if (servidor)
        std::printf("  con historial, sin cadena:     %8.3f  (la cadena: %+.1f %%)\n", ms[5],
                    (ms[4] / ms[5] - 1) * 100);
    Recordset lineas;
    Exigir(AbrirRecordset(QStringLiteral("SELECT count(*) FROM historial"), lineas),
           "AbrirRecordset");
    std::printf("  líneas de historial escritas:  %d\n", lineas.Campo(0).toInt());
    if (servidor)
        MedirProtegida(guardados, vueltas, &cadena);
    CerrarConexion();
    return 0;
}
