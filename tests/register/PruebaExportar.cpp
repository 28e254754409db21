#include "Configuracion.h"
#include "DiscoLleno.h"
#include "Entorno.h"
#include "EscritorCsv.h"
#include "EscritorXlsx.h"
#include "ExportarLista.h"
#include "Formato.h"
#include "LectorXlsx.h"
#include "Mensajes.h"
#include "ModeloOrdenes.h"
#include "RegistroPruebas.h"
#include "Reloj.h"
#include "frmMantProductos.h"
#include "frmMantSectores.h"
#include "frmPrincipal.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTest>
#include <QTreeView>

namespace {

const QDate kHoy(2026, 3, 20);

void Marcar(frmPrincipal* w, int fila) {
    w->grdLista->setCurrentIndex(w->Modelo()->index(fila, ModeloOrdenes::Marca));
    QTest::keyClick(w->grdLista, Qt::Key_Space);
}

// The exported rows against what the main list shows, column by column, and the currency;
// without an accepted quote the list shows 0 and the amount cell is empty.
void CompararConLista(frmPrincipal* w, const QVector<QVector<QVariant>>& hoja,
                      const QVector<int>& filasLista, const QStringList& monedas) {
    QCOMPARE(hoja.size(), filasLista.size() + 1);
    QCOMPARE(hoja[0], (QVector<QVariant>{"Fecha", "Cant.", "Medida", "Descripción", "Importe",
                                         "Moneda", "Sector", "Centro de Costo"}));
    for (int i = 0; i < filasLista.size(); ++i) {
        const QVector<QVariant>& r = hoja[i + 1];
        QCOMPARE(r.value(0).typeId(), QMetaType::QDateTime);
        QCOMPARE(r.value(1).typeId(), QMetaType::Double);
        QCOMPARE(r.value(4).typeId(),
                 monedas[i].isEmpty() ? QMetaType::UnknownType : QMetaType::Double);
        int c = 0;
        for (int col = ModeloOrdenes::Fecha; col < ModeloOrdenes::kColumnas; ++col, ++c) {
            const QString enLista =
                w->Modelo()->data(w->Modelo()->index(filasLista[i], col)).toString();
            if (col == ModeloOrdenes::Importe && monedas[i].isEmpty())
                QCOMPARE(enLista, QStringLiteral("0"));
            else
                QCOMPARE(Formato::Valor(r.value(c)), enLista);
            if (col == ModeloOrdenes::Importe)
                QCOMPARE(r.value(++c).toString(), monedas[i]);
        }
    }
}

} // namespace

class PruebaExportar : public QObject {
    Q_OBJECT
private slots:
    void init() { Reloj::Fijar(QDateTime(kHoy, QTime(9, 30))); }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* principal = qobject_cast<frmPrincipal*>(w)) {
                delete principal;
                break;
            }
        Reloj::Fijar(QDateTime());
    }

    // The view on screen, then the ticked orders only; the XLSX read back holds the list's rows
    // with real numbers and dates, and the CSV of the same rows is written as a Spanish-locale
    // spreadsheet reads it. Texts that a spreadsheet would run as formulas stay texts: string
    // cells in the XLSX, an apostrophe ahead in the CSV; numbers stay numbers.
    void listaPrincipalAXlsxYCsv() {
        Entorno e;
        e.Insertar("sector_insertar", {QStringLiteral("@Producción")});
        e.Insertar("centrodecosto_insertar", {QStringLiteral("-Logística")});
        const int cano = e.Producto(QStringLiteral("=HYPERLINK(\"http://x\";\"Caño 1\"\"\")"));
        const int tuerca = e.Producto(QStringLiteral("\rTuerca 3/8'' zincada"));
        auto orden = [&](const QDateTime& fecha, double cantidad, int producto,
                         const QString& medida) {
            return e.Insertar("orden_insertar",
                              {fecha, cantidad, medida, producto, QString(), QString(),
                               QStringLiteral("Normal"), 1, 1, 1, 0, QStringLiteral("korva")});
        };
        auto precio = [&](int o, double p, const QString& moneda) {
            e.Insertar("precio_Insertar", {o, 1, QString(), p, moneda, QString(), kHoy, kHoy, 1});
        };
        const int a =
            orden(QDateTime(QDate(2026, 3, 10), QTime(14, 35)), 2.5, cano, QStringLiteral("+1"));
        precio(a, 1234.56, QStringLiteral("Dólares"));
        orden(QDate(2026, 3, 11).startOfDay(), 3, tuerca, QStringLiteral("\tCaja")); // no quote
        const int c =
            orden(QDate(2026, 3, 12).startOfDay(), 0.1, tuerca, QStringLiteral("Caja x 50"));
        precio(c, 0.3, QStringLiteral("Pesos"));

        frmPrincipal* w = frmPrincipal::Instancia();
        QCOMPARE(w->Modelo()->rowCount(), 3);
        const QString xlsx = e.Carpeta() + QStringLiteral("/vista.xlsx");
        Mensajes::ResponderTexto(xlsx);
        w->mnuArchivoExportar->trigger();
        CompararConLista(w, LectorXlsx::Hoja(xlsx), {0, 1, 2},
                         {QStringLiteral("Dólares"), QString(), QStringLiteral("Pesos")});
        QCOMPARE(LectorXlsx::Hoja(xlsx)[1][0].toDateTime(),
                 QDateTime(QDate(2026, 3, 10), QTime(14, 35)));
        QCOMPARE(LectorXlsx::Hoja(xlsx)[1][3],
                 QStringLiteral("=HYPERLINK(\"http://x\";\"Caño 1\"\"\")"));
        QVERIFY(
            !LectorXlsx::Entrada(xlsx, QStringLiteral("xl/worksheets/sheet1.xml")).contains("<f>"));
        // A time is shown to the second, as in the list.
        QVERIFY(LectorXlsx::Entrada(xlsx, QStringLiteral("xl/styles.xml")).contains("hh:mm:ss"));

        // A search restricts the view; ticked rows restrict it further.
        Mensajes::ResponderTexto(QStringLiteral("tuerca"));
        w->findChild<QAction*>(QStringLiteral("buscar"))->trigger();
        QCOMPARE(w->Modelo()->rowCount(), 2);
        Mensajes::ResponderTexto(xlsx);
        w->mnuArchivoExportar->trigger();
        CompararConLista(w, LectorXlsx::Hoja(xlsx), {0, 1}, {QString(), QStringLiteral("Pesos")});
        Marcar(w, 1);
        Mensajes::ResponderTexto(xlsx);
        w->mnuArchivoExportar->trigger();
        CompararConLista(w, LectorXlsx::Hoja(xlsx), {1}, {QStringLiteral("Pesos")});
        QCOMPARE(w->Modelo()->rowCount(), 2); // exporting kept the search and the ticks
        QVERIFY(w->Modelo()->Marcada(1));

        w->CargarLista(QStringLiteral("1"));
        Marcar(w, 0);
        Marcar(w, 1);
        const QString csv = e.Carpeta() + QStringLiteral("/marcadas"); // suffix added
        Mensajes::ResponderTexto(csv + QStringLiteral(".csv"));
        w->mnuArchivoExportar->trigger();
        QFile f(csv + QStringLiteral(".csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF")); // UTF-8 byte-order mark
        QCOMPARE(QString::fromUtf8(bytes.mid(3)),
                 QStringLiteral("Fecha;Cant.;Medida;Descripción;Importe;Moneda;Sector;"
                                "Centro de Costo\r\n"
                                "10/03/2026 14:35:00;2,5;'+1;"
                                "\"'=HYPERLINK(\"\"http://x\"\";\"\"Caño 1\"\"\"\"\"\")\";"
                                "1234,56;Dólares;'@Producción;'-Logística\r\n"
                                "11/03/2026;3;'\tCaja;\"'\rTuerca 3/8'' zincada\";;;"
                                "'@Producción;'-Logística\r\n"));
        const Tabla numeros{{}, {QStringLiteral("-N")}, {{-2.5}, {-3}, {QStringLiteral("-3")}}};
        QCOMPARE(EscritorCsv::Texto(numeros),
                 QByteArray("\xEF\xBB\xBF'-N\r\n-2,5\r\n-3\r\n'-3\r\n"));
    }

    // Two different list models: the maintenance pattern's (after a search) and the products'.
    void listasDeMantenimientoAXlsx() {
        Entorno e;
        e.Insertar("sector_insertar", {QStringLiteral("Compras; Depósito")});
        e.Insertar("sector_insertar", {QStringLiteral("Mantenimiento")});
        e.Sql(QStringLiteral("update sectores set SecDesactivado=1 where SecId=1"));
        const QString xlsx = e.Carpeta() + QStringLiteral("/lista.xlsx");

        frmMantSectores* s = frmMantSectores::Instancia();
        QVERIFY(QTest::qWaitForWindowExposed(s));
        Mensajes::ResponderTexto(QStringLiteral("Dep"));
        s->cmdMenu_Click(4);
        QCOMPARE(s->dtgLista()->model()->rowCount(), 1);
        Mensajes::ResponderTexto(xlsx);
        s->dtgLista()->findChild<QAction*>(QStringLiteral("mnuExportar"))->trigger();
        QCOMPARE(LectorXlsx::Hoja(xlsx),
                 (QVector<QVector<QVariant>>{{"Código", "Descripción", "Desactivado"},
                                             {1.0, "Compras; Depósito", "Si"}}));
        s->close();
        delete s;

        e.Producto(QStringLiteral("Martillo carpintero"));
        e.Sql(QStringLiteral("update productos set ProPrecio=1250.75, ProCosto=990, ProMinimo=4"));
        frmMantProductos* p = frmMantProductos::Instancia();
        auto* lista = p->findChild<QTableView*>(QStringLiteral("dtgLista"));
        Mensajes::ResponderTexto(xlsx);
        lista->findChild<QAction*>(QStringLiteral("mnuExportar"))->trigger();
        const auto hoja = LectorXlsx::Hoja(xlsx);
        QCOMPARE(hoja.size(), lista->model()->rowCount() + 1);
        QCOMPARE(hoja[0],
                 (QVector<QVariant>{"Descripción", "Precio", "Costo", "Mínimo", "Desactivado"}));
        QCOMPARE(hoja[1].mid(1), (QVector<QVariant>{1250.75, 990.0, 4.0, "No"}));
        p->close();
        delete p;
    }

    // Cancelled or failing midway, an export leaves the earlier file as it was.
    void archivoEnteroONada() {
        Entorno e;
        const QString ruta = e.Carpeta() + QStringLiteral("/previo");
        Tabla t{QStringLiteral("Hoja"), {QStringLiteral("N")}, {}};
        for (int i = 0; i < 50; ++i)
            t.filas << QVector<QVariant>{i};
        for (const bool csv : {true, false}) {
            QFile previo(ruta);
            QVERIFY(previo.open(QIODevice::WriteOnly));
            previo.write("anterior");
            previo.close();
            const AvanceEscritura cortar = [](int filas) { return filas < 20; };
            const ResultadoEscritura r = csv ? EscritorCsv::Escribir(ruta, t, cortar)
                                             : EscritorXlsx::Escribir(ruta, t, cortar);
            QVERIFY(r.cancelado && !r.escrito);
            QVERIFY(previo.open(QIODevice::ReadOnly));
            QCOMPARE(previo.readAll(), QByteArray("anterior"));
            previo.close();
        }
        QCOMPARE(QDir(e.Carpeta()).entryList(QDir::Files).filter(QStringLiteral("previo")),
                 QStringList{QStringLiteral("previo")});
        // A folder that does not exist: told in Spanish, the system's text after it; nothing
        // written.
        Mensajes::Limpiar();
        const QString imposible = e.Carpeta() + QStringLiteral("/no/existe.xlsx");
        Mensajes::ResponderTexto(imposible);
        QVERIFY(!ExportarTabla(t, QStringLiteral("Hoja"), nullptr));
        QVERIFY(!QFile::exists(imposible));
        QVERIFY2(Mensajes::UltimoTexto().contains(QStringLiteral("\nLa carpeta no existe. (")),
                 qPrintable(Mensajes::UltimoTexto()));

        // The disk fills up half-way: told, the earlier file intact, no half file left beside it.
        if (!DiscoLleno::kDisponible)
            return;
        for (int i = 0; i < 3000; ++i)
            t.filas << QVector<QVariant>{QStringLiteral("Producto número %1").arg(i)};
        for (const QString& nombre : {QStringLiteral("lista.csv"), QStringLiteral("lista.xlsx")}) {
            const QString destino = e.Carpeta() + u'/' + nombre;
            QFile previo(destino);
            QVERIFY(previo.open(QIODevice::WriteOnly));
            previo.write("anterior");
            previo.close();
            const QStringList antes = QDir(e.Carpeta()).entryList(QDir::Files);
            Mensajes::Limpiar();
            Mensajes::ResponderTexto(destino);
            {
                DiscoLleno lleno(4000);
                QVERIFY(!ExportarTabla(t, QStringLiteral("Hoja"), nullptr));
            }
            QVERIFY(previo.open(QIODevice::ReadOnly));
            QCOMPARE(previo.readAll(), QByteArray("anterior"));
            previo.close();
            QCOMPARE(QDir(e.Carpeta()).entryList(QDir::Files), antes);
            QVERIFY2(Mensajes::UltimoTexto().startsWith(
                         QStringLiteral("No se pudo escribir el archivo ") +
                         QDir::toNativeSeparators(destino)),
                     qPrintable(Mensajes::UltimoTexto()));
        }
    }
};

QUIMBEL_PRUEBA(PruebaExportar)
#include "PruebaExportar.moc"
