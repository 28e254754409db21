// How long the orders list of 10,000 orders takes to lay out and to write as PDF, and how much
// memory it needs. Run by hand: build/bin/bench_informes [number of orders]
#include "BaseNueva.h"
#include "Conexiones.h"
#include "Configuracion.h"
#include "Disenos.h"
#include "Mensajes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {

// Peak resident memory in KiB where the system tells it, else -1.
long PicoMemoriaKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& linea : f.readAll().split('\n'))
        if (linea.startsWith("VmHWM:"))
            return linea.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    Mensajes::ModoConsola(true);
    const int ordenes = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;

    QTemporaryDir dir;
    if (!AbrirBaseNueva(dir))
        return 1;
    {
        Transaccion t;
        Recordset rs;
        Exigir(AbrirRecordset(
                   QStringLiteral("INSERT INTO sectores (SecDescripcion) VALUES ('Compras')"), rs),
               "AbrirRecordset");
        Exigir(AbrirRecordset(
                   QStringLiteral(
                       "INSERT INTO centrosdecosto (CenCosDescripcion) VALUES ('Planta 1')"),
                   rs),
               "AbrirRecordset");
        Exigir(
            AbrirRecordset(
                QStringLiteral("INSERT INTO proveedores (EmpNombreFantasia) VALUES ('Sur')"), rs),
            "AbrirRecordset");
        for (int i = 0; i < 50; ++i)
            Exigir(AbrirRecordset(QStringLiteral("INSERT INTO productos (ProDescripcion, CatId) "
                                                 "VALUES (?, 1)"),
                                  rs, {QStringLiteral("Producto de prueba número %1").arg(i)}),
                   "AbrirRecordset");
        const QDateTime inicio(QDate(2026, 1, 1), QTime(8, 0));
        for (int i = 0; i < ordenes; ++i) {
            Exigir(
                EjecutarComando(QStringLiteral("orden_insertar"), rs,
                                {inicio.addSecs(i * 600), 1 + i % 20, QStringLiteral("Caja x 100"),
                                 1 + i % 50, QString(), QStringLiteral("Depósito"),
                                 QStringLiteral("Normal"), 1, 1, 1, 0, QStringLiteral("korva")}),
                "EjecutarComando");
            Exigir(EjecutarComando(QStringLiteral("precio_Insertar"), rs,
                                   {i + 1, 1, QString(), 10.5 + i, QStringLiteral("Pesos"),
                                    QStringLiteral("Contado"), inicio, inicio, 1}),
                   "EjecutarComando");
        }
        Exigir(t.Confirmar(), "Confirmar");
    }
    const long memoriaAntes = PicoMemoriaKb();

    gEmpresa = QStringLiteral("Tolvanex S.A.");
    QElapsedTimer reloj;
    reloj.start();
    Recordset rs;
    Exigir(AbrirRecordset(QStringLiteral("select * from v_ordenes_preciosaceptados"), rs),
           "AbrirRecordset");
    const qint64 msConsulta = reloj.restart();
    const long memoriaRegistros = PicoMemoriaKb();
    const DisenoInforme diseno = dtrOrdenes();
    const QPageLayout pagina(QPageSize(QPageSize::A4), diseno.orientacion, QMarginsF());
    const int paginas = InformeMaquetado(diseno, rs, PapelEnTwips(pagina)).Paginas();
    const qint64 msMaquetar = reloj.restart();
    const QString pdf = dir.filePath(QStringLiteral("ordenes.pdf"));
    // Processor time as well: on a busy machine the wall clock says little.
    const std::clock_t cpu = std::clock();
    const bool escrito = ExportarPdf(diseno, rs, pdf, pagina);
    const qint64 msPdf = reloj.elapsed();
    const long long msCpuPdf = (std::clock() - cpu) * 1000LL / CLOCKS_PER_SEC;

    std::printf("orders: %d (%d records)\n", ordenes, rs.RecordCount());
    std::printf("query: %lld ms\n", static_cast<long long>(msConsulta));
    std::printf("layout: %lld ms, %d pages\n", static_cast<long long>(msMaquetar), paginas);
    std::printf("pdf: %lld ms (%lld ms processor), %lld KiB, %s\n", static_cast<long long>(msPdf),
                msCpuPdf, static_cast<long long>(QFileInfo(pdf).size() / 1024),
                escrito ? "ok" : "FAILED");
    std::printf("peak memory: %ld KiB before the query, %ld KiB with the records, %ld KiB after "
                "the PDF\n",
                memoriaAntes, memoriaRegistros, PicoMemoriaKb());
    CerrarConexion();
    return escrito ? 0 : 1;
}
