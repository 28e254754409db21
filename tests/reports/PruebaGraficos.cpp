#include "DiscoLleno.h"
#include "PanelGrafico.h"
#include "RegistroPruebas.h"

#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QGraphicsTextItem>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The texts a chart shows (title, axis and bar labels), each with where it stands.
QHash<QString, QGraphicsTextItem*> Textos(QChart* g) {
    QHash<QString, QGraphicsTextItem*> t;
    for (QGraphicsItem* i : g->scene()->items())
        if (auto* texto = dynamic_cast<QGraphicsTextItem*>(i); texto && texto->isVisible())
            t.insert(texto->toPlainText(), texto);
    return t;
}

// A bar's label whole inside the plot and not in the background's colour.
void EtiquetaLegible(QChart* g, const QString& texto) {
    QGraphicsTextItem* etiqueta = Textos(g).value(texto);
    QVERIFY2(etiqueta, qPrintable(texto));
    QVERIFY(g->plotArea().contains(etiqueta->sceneBoundingRect()));
    QVERIFY(etiqueta->defaultTextColor() != g->backgroundBrush().color());
}

// Pixels that differ plainly between two pictures of the same size, as a fraction.
double Diferencia(const QImage& a, const QImage& b) {
    int distintos = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            distintos +=
                qAbs(p.red() - q.red()) + qAbs(p.green() - q.green()) + qAbs(p.blue() - q.blue()) >
                120;
        }
    return double(distintos) / (a.width() * a.height());
}

} // namespace

class PruebaGraficos : public QObject {
    Q_OBJECT
private slots:
    // Amounts and counts in the locale's writing, every bar's label whole and visible (a short
    // bar's too), the integer axis labelled; the PNG holds the whole chart as shown, sharper.
    void etiquetasYExportacionPng() {
        PanelGrafico panel(QStringLiteral("Compras por sector"));
        panel.resize(700, 450);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));

        auto* vista = panel.findChild<QChartView*>();
        QVERIFY(vista);
        panel.OrdenesPorEstado(
            {{QStringLiteral("Pendiente"), 1234}, {QStringLiteral("Cumplida"), 5}});
        QCoreApplication::processEvents();
        QChart* cantidades = vista->chart();
        EtiquetaLegible(cantidades, QStringLiteral("1.234"));
        EtiquetaLegible(cantidades, QStringLiteral("5"));
        QVERIFY(Textos(cantidades).contains(QStringLiteral("170"))); // the axis, every 170

        panel.Totales(QStringLiteral("Compras por sector"),
                      {{QStringLiteral("Compras"), QStringLiteral("Pesos"), 30922.8},
                       {QStringLiteral("Planta"), QStringLiteral("Pesos"), 4887.55}},
                      QStringLiteral("Pesos"));
        QCoreApplication::processEvents();
        QChart* importes = vista->chart();
        EtiquetaLegible(importes, QStringLiteral("30.922,8"));
        EtiquetaLegible(importes, QStringLiteral("4.887,55"));
        QVERIFY(Textos(importes).contains(QStringLiteral("10.000")));

        QTemporaryDir carpeta;
        const QString ruta = carpeta.filePath(QStringLiteral("grafico.png"));
        QVERIFY(panel.Escribir(ruta, false));
        const QImage pantalla = vista->viewport()->grab().toImage();
        const QImage png(ruta);
        QCOMPARE(png.size(), pantalla.size() * 2);
        const QImage reducida =
            png.scaled(pantalla.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QVERIFY(Diferencia(reducida.convertToFormat(QImage::Format_RGB32),
                           pantalla.convertToFormat(QImage::Format_RGB32)) < 0.02);

        // A full disk: told, the earlier picture intact, no half file beside it.
        if (!DiscoLleno::kDisponible)
            return;
        QFile anterior(ruta);
        QVERIFY(anterior.open(QIODevice::ReadOnly));
        const QByteArray bytes = anterior.readAll();
        anterior.close();
        for (const bool pdf : {false, true}) {
            QString error;
            {
                DiscoLleno lleno(1000);
                QVERIFY(!panel.Escribir(ruta, pdf, &error));
            }
            QVERIFY2(error.startsWith(QStringLiteral("El archivo supera el tamaño")),
                     qPrintable(error));
            QVERIFY(anterior.open(QIODevice::ReadOnly));
            QCOMPARE(anterior.readAll(), bytes);
            anterior.close();
            QCOMPARE(QDir(carpeta.path()).entryList(QDir::Files),
                     QStringList{QStringLiteral("grafico.png")});
        }
    }
};

QUIMBEL_PRUEBA(PruebaGraficos)
#include "PruebaGraficos.moc"
