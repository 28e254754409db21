#include "frmResumenCompras.h"

#include "Configuracion.h"
#include "GraficosCompras.h"
#include "PanelGrafico.h"
#include "Pantalla.h"
#include "Reloj.h"
#include "VentanaUnica.h"

#include <QChart>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int kMeses = 12;

VentanaUnica<frmResumenCompras>& Unica() {
    static VentanaUnica<frmResumenCompras> unica;
    return unica;
}

QDateEdit* Fecha(const QDate& valor, QWidget* padre) {
    auto* d = new QDateEdit(valor, padre);
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    return d;
}

} // namespace

frmResumenCompras* frmResumenCompras::Instancia() {
    return Unica().Mostrar([] { return new frmResumenCompras; });
}

frmResumenCompras::frmResumenCompras(QWidget* padre) : QWidget(padre, Qt::Window) {
    setObjectName(QStringLiteral("frmResumenCompras"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Resumen de compras"));

    auto* vertical = new QVBoxLayout(this);
    tabGraficos = new QTabWidget(this);
    tabGraficos->setObjectName(QStringLiteral("tabGraficos"));
    grfMeses = new PanelGrafico(QStringLiteral("Compras por mes"), this);
    grfEstados = new PanelGrafico(QStringLiteral("Ordenes por estado"), this);
    grfVencidas = new PanelGrafico(QStringLiteral("Pendientes vencidas"), this);
    tabGraficos->addTab(grfMeses, QStringLiteral("Compras por &mes"));
    tabGraficos->addTab(PaginaPeriodo(), QStringLiteral("&Sectores y centros de costo"));
    tabGraficos->addTab(grfEstados, QStringLiteral("Ordenes por &estado"));
    tabGraficos->addTab(grfVencidas, QStringLiteral("&Pendientes vencidas"));
    vertical->addWidget(tabGraficos, 1);

    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    cmdActualizar = new QPushButton(QStringLiteral("&Actualizar"), this);
    cmdActualizar->setObjectName(QStringLiteral("cmdActualizar"));
    cmdActualizar->setToolTip(QStringLiteral("Vuelve a leer los datos"));
    cmdCerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    cmdCerrar->setObjectName(QStringLiteral("cmdCerrar"));
    for (QPushButton* b : {cmdActualizar, cmdCerrar}) {
        b->setAutoDefault(false);
        botones->addWidget(b);
    }
    vertical->addLayout(botones);
    connect(cmdActualizar, &QPushButton::clicked, this, &frmResumenCompras::Actualizar);
    connect(cmdCerrar, &QPushButton::clicked, this, &QWidget::close);

    resize(Pantalla::Twips(14400, this), Pantalla::Twips(9600, this));
    Actualizar();
    connect(dtpDesde, &QDateEdit::dateChanged, this, &frmResumenCompras::LeerPeriodo);
    connect(dtpHasta, &QDateEdit::dateChanged, this, &frmResumenCompras::LeerPeriodo);
    connect(cboMoneda, &QComboBox::currentIndexChanged, this, &frmResumenCompras::DibujarPeriodo);
}

QWidget* frmResumenCompras::PaginaPeriodo() {
    auto* pagina = new QWidget(this);
    auto* vertical = new QVBoxLayout(pagina);
    auto* fila = new QHBoxLayout;
    const QDate hoy = Reloj::Hoy();
    dtpDesde = Fecha(QDate(hoy.year(), hoy.month(), 1).addMonths(1 - kMeses), pagina);
    dtpDesde->setObjectName(QStringLiteral("dtpDesde"));
    dtpHasta = Fecha(hoy, pagina);
    dtpHasta->setObjectName(QStringLiteral("dtpHasta"));
    cboMoneda = new QComboBox(pagina);
    cboMoneda->setObjectName(QStringLiteral("cboMoneda"));
    cboMoneda->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const std::pair<const char*, QWidget*> campos[] = {
        {"&Desde:", dtpDesde}, {"&Hasta:", dtpHasta}, {"M&oneda:", cboMoneda}};
    for (const auto& [texto, control] : campos) {
        auto* etiqueta = new QLabel(QString::fromUtf8(texto), pagina);
        etiqueta->setBuddy(control);
        fila->addWidget(etiqueta);
        fila->addWidget(control);
        fila->addSpacing(Pantalla::Twips(300, this));
    }
    fila->addStretch(1);
    vertical->addLayout(fila);
    auto* graficos = new QHBoxLayout;
    grfSectores = new PanelGrafico(QStringLiteral("Compras por sector"), pagina);
    grfCentros = new PanelGrafico(QStringLiteral("Compras por centro de costo"), pagina);
    graficos->addWidget(grfSectores);
    graficos->addWidget(grfCentros);
    vertical->addLayout(graficos, 1);
    return pagina;
}

void frmResumenCompras::Actualizar() {
    CursorOcupado ocupado;
    const QDate hoy = Reloj::Hoy();
    // After a failure, told to the person, the charts still to be read are left empty rather
    // than each telling the same failure again.
    ResumenCompras::ComprasPorMes meses;
    QList<ResumenCompras::Cantidad> estados;
    QList<ResumenCompras::Cantidad> vencidas;
    static_cast<void>(ResumenCompras::LeerComprasPorMes(hoy, kMeses, &meses) &&
                      ResumenCompras::LeerOrdenesPorEstado(&estados) &&
                      ResumenCompras::LeerPendientesVencidas(hoy, gAvisoDias, &vencidas));
    grfMeses->Mostrar(GraficosCompras::ComprasPorMes(meses));
    grfEstados->Mostrar(GraficosCompras::OrdenesPorEstado(estados));
    grfVencidas->Mostrar(GraficosCompras::PendientesVencidas(vencidas, gAvisoDias));
    LeerPeriodo();
}

void frmResumenCompras::LeerPeriodo() {
    CursorOcupado ocupado;
    // As above: after a failure the other totals are left empty.
    porCentro_.clear();
    static_cast<void>(
        ResumenCompras::LeerTotalesPorSector(dtpDesde->date(), dtpHasta->date(), &porSector_) &&
        ResumenCompras::LeerTotalesPorCentroDeCosto(dtpDesde->date(), dtpHasta->date(),
                                                    &porCentro_));
    // The currencies of the period, the most spent first; the one chosen stays when it is there.
    const QString elegida = cboMoneda->currentText();
    QStringList monedas;
    for (const ResumenCompras::Total& t : porSector_)
        if (!monedas.contains(t.moneda, Qt::CaseInsensitive))
            monedas << t.moneda;
    const QSignalBlocker bloqueo(cboMoneda);
    cboMoneda->clear();
    cboMoneda->addItems(monedas);
    cboMoneda->setCurrentIndex(qMax(0, static_cast<int>(monedas.indexOf(elegida))));
    DibujarPeriodo();
}

void frmResumenCompras::DibujarPeriodo() {
    const QString moneda = cboMoneda->currentText();
    grfSectores->Mostrar(
        GraficosCompras::Totales(QStringLiteral("Compras por sector"), porSector_, moneda));
    grfCentros->Mostrar(GraficosCompras::Totales(QStringLiteral("Compras por centro de costo"),
                                                 porCentro_, moneda));
}
