// How long the orders list of 10,000 orders takes to lay out and to write as PDF, and how much
// memory it needs; and the floor of the PDF: a bare QPdfWriter drawing the same texts at the same
// points in the same fonts, every position worked out beforehand, so that the ratio shows what
// the report machinery adds to the writer's own cost. Best of three for both.
// Run by hand: build/bin/bench_informes [number of orders] [file to keep a copy of the PDF in]
// (the copy lets a change to the report be checked against the PDF written before it).
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
#include <QPainter>
#include <QPdfWriter>
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

// One text of the floor, where the report would paint it.
struct Texto {
    QFont fuente;
    QPointF punto;
    QString texto;
};

// The texts of every page, placed as the report places a short value.
QVector<QVector<Texto>> TextosDelInforme(const InformeMaquetado& informe, double dpi) {
    const double escala = dpi / 1440.0;
    QVector<QVector<Texto>> paginas(informe.Paginas());
    QPdfWriter medida(QStringLiteral("/dev/null"));
    for (int p = 0; p < informe.Paginas(); ++p)
        for (const TrazoInforme& t : informe.Contenido(p)) {
            if (t.texto.isEmpty() || (t.tipo != ElementoInforme::Tipo::Etiqueta &&
                                      t.tipo != ElementoInforme::Tipo::Campo))
                continue;
            const QFont fuente = t.fuente.Fuente();
            const QFontMetricsF m(fuente, &medida);
            paginas[p].push_back(
                {fuente, QPointF(t.rect.x() * escala, t.rect.y() * escala + m.ascent()), t.texto});
        }
    return paginas;
}

// Kept out of line so that a profiler can tell the floor's cost apart.
[[gnu::noinline]] bool EscribirPiso(const QVector<QVector<Texto>>& paginas,
                                    const QPageLayout& pagina, const QString& ruta) {
    QPdfWriter pdf(ruta);
    pdf.setPageLayout(pagina);
    QPainter painter(&pdf);
    for (int p = 0; p < paginas.size(); ++p) {
        if (p > 0 && !pdf.newPage())
            return false;
        for (const Texto& t : paginas[p]) {
            if (painter.font() != t.fuente)
                painter.setFont(t.fuente);
            painter.drawText(t.punto, t.texto);
        }
    }
    return painter.end();
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
    const QString pdfPiso = dir.filePath(QStringLiteral("piso.pdf"));
    QPageLayout sinMargenes = pagina;
    sinMargenes.setMinimumMargins(QMarginsF());
    const QVector<QVector<Texto>> textos = TextosDelInforme(
        InformeMaquetado(diseno, rs, PapelEnTwips(pagina)), QPdfWriter(pdfPiso).resolution());
    qsizetype cuantos = 0;
    for (const auto& p : textos)
        cuantos += p.size();
    bool escrito = true, escritoPiso = true;
    // Processor time as well: on a busy machine the wall clock says little.
    std::clock_t cpuPdf = 0, cpuPiso = 0;
    double msPdf = 1e100, msPiso = 1e100;
    for (int vuelta = 0; vuelta < 3; ++vuelta) {
        reloj.restart();
        const std::clock_t cpu = std::clock();
        escrito = ExportarPdf(diseno, rs, pdf, pagina) && escrito;
        if (reloj.nsecsElapsed() / 1e6 < msPdf) {
            msPdf = reloj.nsecsElapsed() / 1e6;
            cpuPdf = std::clock() - cpu;
        }
        reloj.restart();
        const std::clock_t cpuP = std::clock();
        escritoPiso = EscribirPiso(textos, sinMargenes, pdfPiso) && escritoPiso;
        if (reloj.nsecsElapsed() / 1e6 < msPiso) {
            msPiso = reloj.nsecsElapsed() / 1e6;
            cpuPiso = std::clock() - cpuP;
        }
    }
    const long long msCpuPdf = cpuPdf * 1000LL / CLOCKS_PER_SEC;
    if (argc > 2) {
        QFile::remove(QString::fromLocal8Bit(argv[2]));
        escrito = QFile::copy(pdf, QString::fromLocal8Bit(argv[2])) && escrito;
    }

    std::printf("orders: %d (%d records)\n", ordenes, rs.RecordCount());
    std::printf("query: %lld ms\n", static_cast<long long>(msConsulta));
    std::printf("layout: %lld ms, %d pages\n", static_cast<long long>(msMaquetar), paginas);
    std::printf("pdf: %.0f ms (%lld ms processor), %lld KiB, %s\n", msPdf, msCpuPdf,
                static_cast<long long>(QFileInfo(pdf).size() / 1024), escrito ? "ok" : "FAILED");
    std::printf("floor, bare QPdfWriter with the same %lld texts: %.0f ms (%lld ms processor), "
                "%s; ratio %.2f× (processor %.2f×)\n",
                static_cast<long long>(cuantos), msPiso,
                static_cast<long long>(cpuPiso * 1000LL / CLOCKS_PER_SEC),
                escritoPiso ? "ok" : "FAILED", msPdf / msPiso,
                cpuPiso > 0 ? double(cpuPdf) / double(cpuPiso) : 0.0);
    std::printf("peak memory: %ld KiB before the query, %ld KiB with the records, %ld KiB after "
                "the PDF\n",
                memoriaAntes, memoriaRegistros, PicoMemoriaKb());
    CerrarConexion();
    return escrito && escritoPiso ? 0 : 1;
}
