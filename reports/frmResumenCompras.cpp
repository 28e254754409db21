#include "frmResumenCompras.h"

#include "Configuracion.h"
#include "Modulos.h"
#include "PanelGrafico.h"
#include "Pantalla.h"
#include "Reloj.h"
#include "VentanaUnica.h"

#include "ui_frmResumenCompras.h"

namespace {

constexpr int kMeses = 12;

VentanaUnica<frmResumenCompras>& Unica() {
    static VentanaUnica<frmResumenCompras> unica;
    return unica;
}

} // namespace

frmResumenCompras* frmResumenCompras::Instancia() {
    // Without the charts' module the window would be empty: the person is told instead.
    if (!ModuloDeGraficos())
        return nullptr;
    return Unica().Mostrar([] { return new frmResumenCompras; });
}

frmResumenCompras::frmResumenCompras(QWidget* padre)
    : QWidget(padre, Qt::Window), ui(new Ui::frmResumenCompras) {
    ui->setupUi(this);
    tabGraficos = ui->tabGraficos;
    dtpDesde = ui->dtpDesde;
    dtpHasta = ui->dtpHasta;
    cboMoneda = ui->cboMoneda;
    cmdActualizar = ui->cmdActualizar;
    cmdCerrar = ui->cmdCerrar;
    grfMeses = ui->grfMeses;
    grfSectores = ui->grfSectores;
    grfCentros = ui->grfCentros;
    grfEstados = ui->grfEstados;
    grfVencidas = ui->grfVencidas;
    setAttribute(Qt::WA_DeleteOnClose);

    const QDate hoy = Reloj::Hoy();
    dtpDesde->setDate(QDate(hoy.year(), hoy.month(), 1).addMonths(1 - kMeses));
    dtpHasta->setDate(hoy);
    for (QSpacerItem* e : {ui->trasDesde, ui->trasHasta, ui->trasMoneda})
        e->changeSize(Pantalla::Twips(300, this), 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    connect(cmdActualizar, &QPushButton::clicked, this, &frmResumenCompras::Actualizar);
    connect(cmdCerrar, &QPushButton::clicked, this, &QWidget::close);

    resize(Pantalla::Twips(14400, this), Pantalla::Twips(9600, this));
    Actualizar();
    connect(dtpDesde, &QDateEdit::dateChanged, this, &frmResumenCompras::LeerPeriodo);
    connect(dtpHasta, &QDateEdit::dateChanged, this, &frmResumenCompras::LeerPeriodo);
    connect(cboMoneda, &QComboBox::currentIndexChanged, this, &frmResumenCompras::DibujarPeriodo);
}

frmResumenCompras::~frmResumenCompras() = default;

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
    grfMeses->ComprasPorMes(meses);
    grfEstados->OrdenesPorEstado(estados);
    grfVencidas->PendientesVencidas(vencidas, gAvisoDias);
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
    grfSectores->Totales(QStringLiteral("Compras por sector"), porSector_, moneda);
    grfCentros->Totales(QStringLiteral("Compras por centro de costo"), porCentro_, moneda);
}
