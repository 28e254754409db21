#include "GraficosCompras.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QHorizontalBarSeries>
#include <QLineSeries>
#include <QLocale>
#include <QValueAxis>
#include <cmath>

namespace GraficosCompras {
namespace {

// The value axis of horizontal bars reaches this far beyond the longest bar, for its label.
constexpr double kLugarEtiqueta = 1.3;

QChart* Nuevo(const QString& titulo) {
    auto* g = new QChart;
    g->setTitle(titulo);
    QFont f = g->titleFont();
    f.setPointSizeF(f.pointSizeF() * 1.25);
    f.setBold(true);
    g->setTitleFont(f);
    g->setAnimationOptions(QChart::NoAnimation);
    g->setBackgroundRoundness(0);
    // Amounts and counts as the person's locale writes them, like the lists ("30.922,8").
    g->setLocalizeNumbers(true);
    return g;
}

QValueAxis* EjeValores(double maximo, bool enteros) {
    auto* eje = new QValueAxis;
    eje->setMin(0);
    eje->setMax(maximo > 0 ? maximo : 1);
    if (enteros) {
        // "%d" is not localised by the chart and comes out empty; whole ticks need no decimals.
        eje->setLabelFormat(QStringLiteral("%.0f"));
        eje->setTickType(QValueAxis::TicksDynamic);
        eje->setTickAnchor(0);
        eje->setTickInterval(qMax(1.0, std::ceil((maximo > 0 ? maximo : 1) / 8)));
    } else {
        eje->applyNiceNumbers();
        eje->setLabelFormat(eje->max() < 100 ? QStringLiteral("%.2f") : QStringLiteral("%.0f"));
    }
    return eje;
}

// Horizontal bars, one per name, largest at the top.
QChart* Barras(const QString& titulo, const QString& serie, const QStringList& nombres,
               const QList<double>& valores, bool enteros) {
    QChart* g = Nuevo(titulo);
    auto* conjunto = new QBarSet(serie);
    auto* categorias = new QBarCategoryAxis;
    double maximo = 0;
    for (qsizetype i = nombres.size() - 1; i >= 0; --i) {
        *conjunto << valores[i];
        categorias->append(nombres[i]);
        maximo = qMax(maximo, valores[i]);
    }
    auto* barras = new QHorizontalBarSeries;
    barras->append(conjunto);
    barras->setLabelsVisible(true);
    // Beyond the bar's end, so that a short bar's label is not cut by the axis; the axis leaves
    // room for the longest bar's label.
    barras->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    barras->setLabelsPrecision(enteros ? 10 : 12);
    g->addSeries(barras);
    g->addAxis(categorias, Qt::AlignLeft);
    barras->attachAxis(categorias);
    QValueAxis* eje = EjeValores(maximo * kLugarEtiqueta, enteros);
    g->addAxis(eje, Qt::AlignBottom);
    barras->attachAxis(eje);
    // Outside its bar a label stands on the background: the theme's white, meant for inside a
    // bar, would not be seen.
    conjunto->setLabelColor(eje->labelsColor());
    g->legend()->setVisible(false);
    return g;
}

} // namespace

QChart* ComprasPorMes(const ResumenCompras::ComprasPorMes& datos) {
    QChart* g = Nuevo(QStringLiteral("Compras por mes (precios aceptados)"));
    auto* meses = new QBarCategoryAxis;
    const QLocale local;
    for (const QDate& m : datos.meses)
        meses->append(local.toString(m, QStringLiteral("MMM yy")));
    g->addAxis(meses, Qt::AlignBottom);
    for (int s = 0; s < datos.monedas.size(); ++s) {
        auto* linea = new QLineSeries;
        linea->setName(datos.monedas[s]);
        linea->setPointsVisible(true);
        double maximo = 0;
        for (int m = 0; m < datos.meses.size(); ++m) {
            linea->append(m, datos.totales[s][m]);
            maximo = qMax(maximo, datos.totales[s][m]);
        }
        g->addSeries(linea);
        linea->attachAxis(meses);
        QValueAxis* eje = EjeValores(maximo * 1.05, false);
        eje->setTitleText(datos.monedas[s]);
        // Each axis in its line's colour, so that a glance tells which scale a line is read on.
        eje->setLinePenColor(linea->color());
        eje->setLabelsColor(linea->color());
        eje->setGridLineVisible(s == 0);
        g->addAxis(eje, s % 2 == 0 ? Qt::AlignLeft : Qt::AlignRight);
        linea->attachAxis(eje);
    }
    if (datos.monedas.isEmpty()) {
        g->setTitle(g->title() + QStringLiteral(": sin compras en los últimos doce meses"));
        QValueAxis* eje = EjeValores(1, false);
        g->addAxis(eje, Qt::AlignLeft);
    }
    g->legend()->setAlignment(Qt::AlignBottom);
    return g;
}

QChart* Totales(const QString& titulo, const QList<ResumenCompras::Total>& totales,
                const QString& moneda) {
    QStringList nombres;
    QList<double> valores;
    for (const ResumenCompras::Total& t : totales) {
        if (t.moneda.compare(moneda, Qt::CaseInsensitive) != 0)
            continue;
        nombres << t.grupo;
        valores << t.importe;
    }
    QString texto = titulo;
    if (!moneda.isEmpty())
        texto += QStringLiteral(" (") + moneda + QLatin1Char(')');
    if (nombres.isEmpty())
        texto += QStringLiteral(": sin compras en el período");
    return Barras(texto, moneda, nombres, valores, false);
}

QChart* OrdenesPorEstado(const QList<ResumenCompras::Cantidad>& estados) {
    QChart* g = Nuevo(QStringLiteral("Órdenes por estado"));
    auto* conjunto = new QBarSet(QStringLiteral("Órdenes"));
    auto* categorias = new QBarCategoryAxis;
    double maximo = 0;
    for (const ResumenCompras::Cantidad& e : estados) {
        *conjunto << e.cantidad;
        categorias->append(e.nombre);
        maximo = qMax<double>(maximo, e.cantidad);
    }
    auto* barras = new QBarSeries;
    barras->append(conjunto);
    barras->setLabelsVisible(true);
    barras->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    g->addSeries(barras);
    g->addAxis(categorias, Qt::AlignBottom);
    barras->attachAxis(categorias);
    QValueAxis* eje = EjeValores(maximo * 1.1, true);
    g->addAxis(eje, Qt::AlignLeft);
    barras->attachAxis(eje);
    // Outside its bar a label stands on the background: the theme's white, meant for inside a
    // bar, would not be seen.
    conjunto->setLabelColor(eje->labelsColor());
    g->legend()->setVisible(false);
    return g;
}

QChart* PendientesVencidas(const QList<ResumenCompras::Cantidad>& sectores, int avisoDias) {
    QStringList nombres;
    QList<double> valores;
    int total = 0;
    for (const ResumenCompras::Cantidad& s : sectores) {
        nombres << s.nombre;
        valores << s.cantidad;
        total += s.cantidad;
    }
    const QString dias = QString::number(avisoDias) +
                         (avisoDias == 1 ? QStringLiteral(" día") : QStringLiteral(" días"));
    const QString titulo = total == 0
                               ? QStringLiteral("No hay órdenes pendientes con más de ") + dias
                               : QStringLiteral("Órdenes pendientes con más de ") + dias +
                                     QStringLiteral(", por sector: ") + QString::number(total);
    return Barras(titulo, QStringLiteral("Órdenes"), nombres, valores, true);
}

} // namespace GraficosCompras
