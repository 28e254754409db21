#include "frmAuditoria.h"

#include "Disenos.h"
#include "ExportarLista.h"
#include "Pantalla.h"
#include "Reloj.h"
#include "VentanaUnica.h"
#include "VistaPrevia.h"

#include "ui_frmAuditoria.h"

#include <QIntValidator>
#include <limits>

namespace {

constexpr int kDiasMostrados = 30;
const QString kFormatoMomento = QStringLiteral("dd/MM/yyyy HH:mm:ss");

VentanaUnica<frmAuditoria>& Unica() {
    static VentanaUnica<frmAuditoria> unica;
    return unica;
}

// "(Todos)" and then the values; the choice made stays when it is still among them.
void Llenar(QComboBox* c, const QStringList& valores) {
    const QString elegido = c->currentData().toString();
    const QSignalBlocker bloqueo(c);
    c->clear();
    c->addItem(QStringLiteral("(Todos)"), QString());
    for (const QString& v : valores)
        c->addItem(v, v);
    c->setCurrentIndex(qMax(0, c->findData(elegido)));
}

QString Numero(int n) {
    return n > 0 ? QString::number(n) : QString();
}

QVariant Celda(int n) {
    return n > 0 ? QVariant(n) : QVariant();
}

Tabla TablaDe(const QList<Historial::Entrada>& entradas) {
    Tabla t{QStringLiteral("Auditoría"),
            {QStringLiteral("Fecha y Hora"), QStringLiteral("Usuario"), QStringLiteral("Cambio"),
             QStringLiteral("Tabla"), QStringLiteral("Clave"), QStringLiteral("Orden Nº"),
             QStringLiteral("Detalle"), QStringLiteral("Campo"), QStringLiteral("Valor anterior"),
             QStringLiteral("Valor nuevo")},
            {}};
    t.filas.reserve(entradas.size());
    for (const Historial::Entrada& e : entradas)
        t.filas.append({e.fecha, e.login, e.tipo, e.tabla, Celda(e.clave), Celda(e.ordId),
                        Historial::Descripcion(e), e.campo, e.anterior, e.nuevo});
    return t;
}

Recordset RegistrosDe(const QList<Historial::Entrada>& entradas) {
    QVector<QVector<QVariant>> filas;
    filas.reserve(entradas.size());
    for (const Historial::Entrada& e : entradas)
        filas.append({e.fecha.toString(kFormatoMomento), e.login, e.tipo, e.tabla, Numero(e.ordId),
                      Historial::Descripcion(e)});
    Recordset rs;
    rs.Abrir(QStringLiteral("historial"),
             {QStringLiteral("Fecha"), QStringLiteral("Usuario"), QStringLiteral("Cambio"),
              QStringLiteral("Tabla"), QStringLiteral("Orden"), QStringLiteral("Detalle")},
             std::move(filas));
    return rs;
}

} // namespace

frmAuditoria* frmAuditoria::Instancia() {
    return Unica().Mostrar([] { return new frmAuditoria; });
}

frmAuditoria::frmAuditoria(QWidget* padre) : QWidget(padre, Qt::Window), ui(new Ui::frmAuditoria) {
    ui->setupUi(this);
    dtpDesde = ui->dtpDesde;
    dtpHasta = ui->dtpHasta;
    cboUsuario = ui->cboUsuario;
    cboTipo = ui->cboTipo;
    cboTabla = ui->cboTabla;
    txtOrden = ui->txtOrden;
    cmdActualizar = ui->cmdActualizar;
    lblCadena = ui->lblCadena;
    grdAuditoria = ui->grdAuditoria;
    lblLineas = ui->lblLineas;
    cmdExportar = ui->cmdExportar;
    cmdImprimir = ui->cmdImprimir;
    cmdCerrar = ui->cmdCerrar;
    setAttribute(Qt::WA_DeleteOnClose);
    txtOrden->setValidator(new QIntValidator(1, std::numeric_limits<int>::max(), txtOrden));
    txtOrden->setMaximumWidth(Pantalla::Twips(1200, this));

    const QDate hoy = Reloj::Hoy();
    dtpDesde->setDate(hoy.addDays(-kDiasMostrados));
    dtpHasta->setDate(hoy);
    resize(Pantalla::Twips(16800, this), Pantalla::Twips(9600, this));
    Actualizar();

    connect(cmdActualizar, &QPushButton::clicked, this, &frmAuditoria::Actualizar);
    for (QDateEdit* d : {dtpDesde, dtpHasta})
        connect(d, &QDateEdit::dateChanged, this, &frmAuditoria::Filtrar);
    for (QComboBox* c : {cboUsuario, cboTipo, cboTabla})
        connect(c, &QComboBox::currentIndexChanged, this, &frmAuditoria::Filtrar);
    connect(txtOrden, &QLineEdit::editingFinished, this, &frmAuditoria::Filtrar);
    connect(cmdExportar, &QPushButton::clicked, this, &frmAuditoria::Exportar);
    connect(cmdImprimir, &QPushButton::clicked, this, &frmAuditoria::Imprimir);
    connect(cmdCerrar, &QPushButton::clicked, this, &QWidget::close);
}

frmAuditoria::~frmAuditoria() = default;

void frmAuditoria::Actualizar() {
    CursorOcupado ocupado;
    Auditoria::Valores valores;
    if (Auditoria::LeerValores(&valores)) {
        Llenar(cboUsuario, valores.logins);
        Llenar(cboTipo, valores.tipos);
        Llenar(cboTabla, valores.tablas);
    }
    cadena_ = Auditoria::ComprobarCadena();
    lblCadena->setText(cadena_.descripcion);
    lblCadena->setToolTip(cadena_.detalle);
    // A chain that does not hold is the first thing an auditor must see.
    lblCadena->setStyleSheet(cadena_.integra ? QString()
                                             : QStringLiteral("color: #c00000; font-weight: bold"));
    Filtrar();
}

Auditoria::Filtro frmAuditoria::FiltroElegido() const {
    return {dtpDesde->date(),
            dtpHasta->date(),
            cboUsuario->currentData().toString(),
            cboTipo->currentData().toString(),
            cboTabla->currentData().toString(),
            txtOrden->text().toInt()};
}

void frmAuditoria::Filtrar() {
    CursorOcupado ocupado;
    grdAuditoria->clear();
    if (!Auditoria::LeerLineas(FiltroElegido(), &entradas_))
        entradas_.clear();
    QList<QTreeWidgetItem*> filas;
    filas.reserve(entradas_.size());
    for (const Historial::Entrada& e : entradas_) {
        const QString detalle = Historial::Descripcion(e);
        auto* fila = new QTreeWidgetItem({e.fecha.toString(kFormatoMomento), e.login, e.tipo,
                                          e.tabla, Numero(e.clave), Numero(e.ordId), detalle});
        // A long line (a quote, a reason) is cut at the window's edge; its tooltip has it whole.
        fila->setToolTip(6, detalle);
        filas << fila;
    }
    grdAuditoria->addTopLevelItems(filas);
    for (int c = 0; c < grdAuditoria->columnCount() - 1; ++c)
        grdAuditoria->resizeColumnToContents(c);
    if (!filas.isEmpty())
        grdAuditoria->setCurrentItem(filas.first());
    lblLineas->setText(entradas_.size() == 1 ? QStringLiteral("1 línea")
                                             : QStringLiteral("%1 líneas").arg(entradas_.size()));
    cmdExportar->setEnabled(!entradas_.isEmpty());
    cmdImprimir->setEnabled(!entradas_.isEmpty());
}

void frmAuditoria::Exportar() {
    ExportarTabla(TablaDe(entradas_), QStringLiteral("Auditoría del historial"), this);
}

QString frmAuditoria::FiltroEnPalabras() const {
    const Auditoria::Filtro f = FiltroElegido();
    QStringList partes{QStringLiteral("Del %1 al %2")
                           .arg(f.desde.toString(QStringLiteral("dd/MM/yyyy")),
                                f.hasta.toString(QStringLiteral("dd/MM/yyyy")))};
    if (!f.login.isEmpty())
        partes << QStringLiteral("usuario %1").arg(f.login);
    if (!f.tipo.isEmpty())
        partes << QStringLiteral("cambio %1").arg(f.tipo);
    if (!f.tabla.isEmpty())
        partes << QStringLiteral("tabla %1").arg(f.tabla);
    if (f.ordId > 0)
        partes << QStringLiteral("orden Nº %1").arg(f.ordId);
    return partes.join(QStringLiteral(", "));
}

void frmAuditoria::Imprimir() {
    MostrarInforme(dtrAuditoria(FiltroEnPalabras(), cadena_.descripcion, cadena_.integra),
                   RegistrosDe(entradas_), true, this);
}
