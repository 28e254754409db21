// How long the main window's order list takes to fill, against its floor: the engine's C API
// running the same text and reading every column as text (Pisos.h), the two taken in turns, best
// of five each, and their ratio. Then the program's own query alone, the same query through the
// Qt driver alone, the model's share, the fill with the window painted, the time until the first
// screen of rows is painted, the peak memory and what start-up's check of the database file costs
// at that size. "lista MiB" is the peak of one fill alone, where the system lets it be measured.
// Run by hand: bench_lista [--servidor URI] [ORDERS...] (default 1000 20000 100000). Each size runs
// in a process of its own, so that the peak memory printed belongs to that size alone. With
// --servidor (a server URI without the database name, which may create databases) each size is
// filled on a file, copied with quimbel-db's copy into a new server database, and measured there.
#include "BaseNueva.h"
#include "Conexiones.h"
#include "Configuracion.h"
#include "Copia.h"
#include "Ejecutor.h"
#include "Mensajes.h"
#include "ModeloOrdenes.h"
#include "Pisos.h"
#include "Reloj.h"
#include "Usuario.h"
#include "frmPrincipal.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif
#if defined(Q_OS_LINUX)
#include <QFile>
#include <malloc.h>
#endif

namespace {

const QString kSql =
    QStringLiteral("select * from v_ordenes_preciosaceptados where OrdEstado='Pendiente' and 1");
// The same rows in a text both engines take as it stands.
const QString kSqlDriver =
    QStringLiteral("select * from v_ordenes_preciosaceptados where OrdEstado='Pendiente'");

double PicoMemoriaMiB() {
#if defined(Q_OS_UNIX)
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
#if defined(Q_OS_MACOS)
    return uso.ru_maxrss / (1024.0 * 1024.0);
#else
    return uso.ru_maxrss / 1024.0;
#endif
#else
    return -1;
#endif
}

// The peak memory of one fill of the list alone: freed memory handed back, the process's high-water
// mark brought down to what it holds now, one fill, and the mark read again. Unlike the process's
// peak, it leaves out the floor's and the driver's copies of the rows read earlier.
double PicoDeUnLlenadoMiB(const std::function<void()>& llenar) {
#if defined(Q_OS_LINUX)
    malloc_trim(0);
    QFile reinicio(QStringLiteral("/proc/self/clear_refs"));
    if (!reinicio.open(QIODevice::WriteOnly) || reinicio.write("5") != 1)
        return -1;
    reinicio.close();
    llenar();
    QFile estado(QStringLiteral("/proc/self/status"));
    if (!estado.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& linea : estado.readAll().split('\n'))
        if (linea.startsWith("VmHWM:"))
            return linea.mid(6).trimmed().split(' ').value(0).toLong() / 1024.0;
    return -1;
#else
    llenar();
    return -1;
#endif
}

// The milliseconds from the start of a fill to the end of the first paint of the list that shows
// rows: what a person waits for before there is something to read. A fill that shows nothing
// before it ends is painted as the window would be, right after it.
class PrimerPintado : public QObject {
public:
    explicit PrimerPintado(frmPrincipal* w) : w_(w) {}

    double Medir() {
        listo_ = -1;
        reloj_.start();
        QWidget* vista = w_->grdLista->viewport();
        vista->installEventFilter(this);
        w_->CargarLista(QStringLiteral("1"));
        if (listo_ < 0)
            vista->repaint();
        vista->removeEventFilter(this);
        return listo_;
    }

protected:
    // The paint is delivered here in full, so that the time taken is the time it ended.
    bool eventFilter(QObject* visto, QEvent* e) override {
        if (e->type() != QEvent::Paint || listo_ >= 0 || w_->Modelo()->rowCount() == 0)
            return false;
        visto->removeEventFilter(this);
        QCoreApplication::sendEvent(visto, e);
        listo_ = reloj_.nsecsElapsed() / 1e6;
        return true;
    }

private:
    frmPrincipal* w_;
    QElapsedTimer reloj_;
    double listo_ = -1;
};

// Orders spread over a year, two quotes each from the two suppliers, about two in three with an
// accepted quote and one in four authorised: what the list shows on a busy installation.
bool Poblar(int ordenes) {
    Transaccion t;
    Exigir(Sql(QStringLiteral("INSERT INTO proveedores (EmpNombreFantasia, EmpRazonSocial) "
                              "VALUES ('Ferretería Ñandú', 'Ñandú S.A.'), "
                              "('Bulonera del Sur', 'Bulonera del Sur S.R.L.')")) &&
               Sql(QStringLiteral("INSERT INTO usuarios (UsuLogin, UsuNombre, UsuPuedeSolicitar, "
                                  "UsuPuedeAutorizar) VALUES ('korva', 'Korva Lindqvist', 1, 1)")),
           "proveedores y usuario");
    for (int i = 1; i <= 5; ++i) {
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
            "ProPrecio, ProMinimo) SELECT 'Producto de prueba número ' || i, 1, 'Caja x 50', "
            "'Pesos', i, i * 1.3, 0 FROM k")) &&
        Sql(QStringLiteral(
                "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE i<%1) "
                "INSERT INTO ordenes (OrdFecha, OrdCantidad, OrdUnidadMedida, ProId, "
                "OrdLugarEntrega, OrdPrioridad, SecId, CenCosId, SolicitanteId, AutorizanteId, "
                "UsuLogin, OrdEstado) SELECT datetime('2026-12-07', '-' || (i % 365) || ' days', "
                "'+' || (i % 7) || ' hours'), 1 + i % 40, 'Caja x 50', 1 + i % 200, 'Depósito', "
                "'Normal', 1 + i % 5, 1 + i % 5, 1, CASE WHEN i % 4 = 0 THEN 1 ELSE 0 END, "
                "'korva', 'Pendiente' FROM k")
                .arg(ordenes)) &&
        PoblarPrecios();
    return ok && t.Confirmar();
}

// Every value of every row, read through the driver with nothing of the program around it.
void ConsultaDelDriver() {
    QSqlQuery q(gConexion);
    q.setForwardOnly(true);
    q.exec(kSqlDriver);
    const int columnas = q.record().count();
    while (q.next())
        for (int c = 0; c < columnas; ++c)
            q.value(c);
}

// A new server database `nombre` holding the orders of the file just filled, opened as the
// program's connection; the copy's seconds are printed.
bool PasarAlServidor(const QString& servidor, const QString& nombre) {
    const QString archivo = RutaDeOrigen(QString::fromLatin1(kOrigenDeDatos));
    CerrarConexion();
    {
        Exigir(CrearOrigenDeDatos(QStringLiteral("BENCH_ADMIN"),
                                  servidor + QStringLiteral("/postgres")),
               "registrar la conexión de administración");
        QSqlDatabase admin = QSqlDatabase::database(QStringLiteral("BENCH_ADMIN"));
        QSqlQuery q(admin);
        if (!q.exec(QStringLiteral("DROP DATABASE IF EXISTS ") + nombre) ||
            !q.exec(QStringLiteral("CREATE DATABASE ") + nombre)) {
            std::fprintf(stderr, "no se pudo crear la base %s\n", qPrintable(nombre));
            return false;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("BENCH_ADMIN"));
    const QString uri = servidor + QLatin1Char('/') + nombre;
    QElapsedTimer reloj;
    reloj.start();
    const ResultadoCopia r = CopiarBaseDeDatos(archivo, uri);
    if (!r.Hecha()) {
        std::fprintf(stderr, "%s\n", qPrintable(r.causa));
        return false;
    }
    std::fprintf(stderr, "copia al servidor: %.1f s\n", reloj.nsecsElapsed() / 1e9);
    return CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), uri) &&
           AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString());
}

int Medir(int ordenes, const QString& servidor) {
    QTemporaryDir dir;
    if (!AbrirBaseNueva(dir) || !Poblar(ordenes))
        return 1;
    if (!servidor.isEmpty() &&
        !PasarAlServidor(servidor, QStringLiteral("quimbel_bench_%1").arg(ordenes)))
        return 1;
    gLogin = QStringLiteral("korva");
    gAvisoDias = 15;

    const double consulta = Mejor([] {
        Recordset rs;
        Exigir(AbrirRecordset(kSql, rs), "AbrirRecordset");
        CerrarRecordset(rs, true);
    });
    // The list's own share: the rows of an open record set taken into the model.
    double propio = 0;
    {
        Recordset abierto;
        Exigir(AbrirRecordset(kSql, abierto), "AbrirRecordset");
        ModeloOrdenes modelo;
        propio = Mejor([&] {
            modelo.Cargar(&abierto, true, gAvisoDias, QDate(2026, 12, 7));
            modelo.Vaciar();
        });
    }
    const double driver = Mejor(ConsultaDelDriver);
    const double revision = servidor.isEmpty() ? Mejor([] { RevisarBaseAbierta(); }) : -1;
    frmPrincipal* w = frmPrincipal::Instancia();
    w->show();
    QCoreApplication::processEvents();
    const QString ruta = RutaDeOrigen(QString::fromLatin1(kOrigenDeDatos));
    std::unique_ptr<PisoArchivo> archivo;
    std::unique_ptr<PisoServidor> enServidor;
    if (servidor.isEmpty())
        archivo = std::make_unique<PisoArchivo>(ruta);
    else
        enServidor = std::make_unique<PisoServidor>(ruta, kSql);
    const auto piso = [&] {
        int filas = 0;
        const qint64 bytes = archivo ? archivo->Leer(kSql, &filas) : enServidor->Leer(&filas);
        Exigir(bytes >= 0 && filas == ordenes, "el piso no leyó todas las órdenes");
    };
    const auto [llenado, pisoMs] =
        MejorAlternados([w] { w->CargarLista(QStringLiteral("1")); }, piso);
    // What a person waits for: the fill and the window painted with the new rows.
    const double pintado = Mejor([w] {
        w->CargarLista(QStringLiteral("1"));
        w->grab();
    });
    // Read first: bringing the high-water mark down lowers what the system reports as the peak.
    const double pico = PicoMemoriaMiB();
    const double picoLista = PicoDeUnLlenadoMiB([w] { w->CargarLista(QStringLiteral("1")); });
    PrimerPintado primer(w);
    double primeras = 1e100;
    for (int i = 0; i < 5; ++i)
        primeras = std::min(primeras, primer.Medir());
    if (w->Modelo()->rowCount() != ordenes) {
        std::fprintf(stderr, "la lista tiene %d filas, se esperaban %d\n", w->Modelo()->rowCount(),
                     ordenes);
        return 1;
    }
    std::printf("%9d %12.1f %10.1f %8.2f %12.1f %10.1f %10.1f %14.1f %12.1f %10.1f %10.1f %12.1f\n",
                ordenes, llenado, pisoMs, llenado / pisoMs, consulta, driver, propio, pintado,
                primeras, pico, picoLista, revision);
    std::fflush(stdout);
    delete w;
    CerrarConexion();
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    Reloj::PrepararZonaHoraria(); // as the program itself starts
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Mensajes::ModoConsola(true);
    QStringList tamanos = app.arguments().mid(1);
    QString servidor;
    if (tamanos.size() >= 2 && tamanos.first() == QLatin1String("--servidor")) {
        servidor = tamanos[1];
        tamanos = tamanos.mid(2);
    }
    if (tamanos.size() == 1 && !qEnvironmentVariableIsEmpty("BENCH_LISTA_HIJO"))
        return Medir(tamanos.first().toInt(), servidor);
    if (tamanos.isEmpty())
        tamanos = {QStringLiteral("1000"), QStringLiteral("20000"), QStringLiteral("100000")};

    std::printf("%9s %12s %10s %8s %12s %10s %10s %14s %12s %10s %10s %12s\n", "ordenes",
                "llenado ms", "piso ms", "razon", "consulta ms", "driver ms", "lista ms",
                "con pintado ms", "primeras ms", "pico MiB", "lista MiB", "revision ms");
    std::fflush(stdout);
    int fallos = 0;
    for (const QString& n : tamanos) {
        QProcess hijo;
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert(QStringLiteral("BENCH_LISTA_HIJO"), QStringLiteral("1"));
        hijo.setProcessEnvironment(entorno);
        hijo.setProcessChannelMode(QProcess::ForwardedChannels);
        hijo.start(QCoreApplication::applicationFilePath(),
                   servidor.isEmpty() ? QStringList{n}
                                      : QStringList{QStringLiteral("--servidor"), servidor, n});
        hijo.waitForFinished(-1);
        fallos += hijo.exitCode() != 0;
    }
    return fallos ? 1 : 0;
}
