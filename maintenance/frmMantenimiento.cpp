#include "frmMantenimiento.h"

#include "Conexiones.h"
#include "ExportarLista.h"
#include "Iconos.h"
#include "LimiteTexto.h"
#include "Pantalla.h"

#include "ui_frmMantenimiento.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {

QIcon IconoDe(AccionMant accion) {
    static const char* const kNombres[] = {"documento", "detalles",  "guardar",
                                           "imprimir",  "contenido", "recargar",
                                           "cancelar",  "atras",     "papelera"};
    return Iconos::De(QLatin1String(kNombres[static_cast<int>(accion)]));
}

// Read-only boxes look read-only, so the two states can be told apart at a glance. A hidden
// text shows "*" for each character, whatever the platform's own mask.
constexpr const char* kEstilo = "QLineEdit[readOnly=\"true\"] { background: palette(window); }"
                                "QLineEdit { lineedit-password-character: 42; }";

} // namespace

QIcon frmMantenimiento::IconoBoton(AccionMant accion) {
    return IconoDe(accion);
}

QString frmMantenimiento::Estilo() {
    return QString::fromLatin1(kEstilo);
}

frmMantenimiento::frmMantenimiento(ConfiguracionMant config, QWidget* padre)
    : QWidget(padre, Qt::Window), ui(new Ui::frmMantenimiento), config_(std::move(config)) {
    setObjectName(config_.nombre);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(config_.titulo);
    setStyleSheet(QString::fromLatin1(kEstilo));
    // A window with its own form has no controls until the subclass has set the form up.
    if (!config_.disenoPropio)
        Construir();
    resize(Pantalla::Twips(config_.anchoTwips, this), Pantalla::Twips(config_.altoTwips, this));
    if (!config_.disenoPropio)
        PonerEstado(false);
}

frmMantenimiento::~frmMantenimiento() {
    if (modelo_)
        modelo_->Asignar(nullptr);
    CerrarRecordset(rs_, true);
}

void frmMantenimiento::Construir() {
    ui->setupUi(this);
    ConstruirLista();
    ConstruirEntrada();
    ConstruirBotones();
}

void frmMantenimiento::ConstruirLista() {
    lblLista_ = ui->lblLista;
    dtgLista_ = ui->dtgLista;
    lblLista_->setText(config_.tituloLista);
    dtgLista_->setAccessibleName(config_.tituloLista);
    dtgLista_->verticalHeader()->setDefaultSectionSize(dtgLista_->fontMetrics().height() + 6);
    AgregarExportarLista(dtgLista_, config_.titulo);
    PrepararLista();
    // Clicking the row already current shows it again (after "Cancelar" the fields may differ).
    connect(dtgLista_, &QTableView::clicked, this,
            [this](const QModelIndex& indice) { FilaActualCambiada(indice.row()); });
}

void frmMantenimiento::PrepararLista() {
    modelo_ = new ModeloLista(config_.columnas, this);
    CambiarModelo(modelo_);
    int ancha = config_.columnaAncha;
    // By default the last text column takes the spare width; a trailing "Si"/"No" column stays
    // narrow.
    for (int i = static_cast<int>(config_.columnas.size()) - 1; ancha < 0 && i >= 0; --i)
        if (!config_.columnas[i].siNo)
            ancha = i;
    if (ancha >= 0)
        dtgLista_->horizontalHeader()->setSectionResizeMode(ancha, QHeaderView::Stretch);
}

void frmMantenimiento::PrepararCampo(QLineEdit* txt, const CampoMant& campo) {
    if (campo.maximo > 0)
        LimitarCaracteres(txt, campo.maximo);
    if (campo.oculto)
        txt->setEchoMode(QLineEdit::Password);
}

void frmMantenimiento::PrepararBoton(QPushButton* cmd, int indice) {
    cmd->setIcon(IconoDe(config_.botones[indice].accion));
    connect(cmd, &QPushButton::clicked, this, [this, indice] { cmdMenu_Click(indice); });
}

void frmMantenimiento::TomarControles() {
    lblLista_ = findChild<QLabel*>(QStringLiteral("lblLista"));
    dtgLista_ = findChild<QTableView*>(QStringLiteral("dtgLista"));
    lblLista_->setText(config_.tituloLista);
    QFont negrita = lblLista_->font();
    negrita.setBold(true);
    lblLista_->setFont(negrita);
    dtgLista_->setAccessibleName(config_.tituloLista);
    dtgLista_->verticalHeader()->setDefaultSectionSize(dtgLista_->fontMetrics().height() + 6);
    AgregarExportarLista(dtgLista_, windowTitle());
    PrepararLista();
    for (int i = 0; i < config_.campos.size(); ++i) {
        auto* txt = findChild<QLineEdit*>(QStringLiteral("txtFields_%1").arg(i));
        PrepararCampo(txt, config_.campos[i]);
        txtFields_ << txt;
    }
    for (const CasillaMant& c : config_.casillas)
        casillas_ << findChild<QCheckBox*>(c.nombre);
    chkDesactivado_ = findChild<QCheckBox*>(QStringLiteral("chkDesactivado"));
    for (int i = 0; i < config_.botones.size(); ++i) {
        auto* cmd = findChild<QPushButton*>(QStringLiteral("cmdMenu_%1").arg(i));
        PrepararBoton(cmd, i);
        cmdMenu_ << cmd;
    }
    PonerEstado(false);
}

void frmMantenimiento::ConstruirEntrada() {
    areaCampos_ = ui->areaCampos;
    if (config_.camposPorFila > 1)
        areaCampos_->setColumnStretch(3, 1);
    for (int i = 0; i < config_.campos.size(); ++i) {
        const CampoMant& c = config_.campos[i];
        auto* txt = new QLineEdit(this);
        txt->setObjectName(QStringLiteral("txtFields_%1").arg(i));
        PrepararCampo(txt, c);
        txtFields_ << txt;
        AgregarControl(c.etiqueta, txt);
    }
    if (config_.campo0EsClave && !txtFields_.isEmpty())
        txtFields_[0]->setMaximumWidth(Pantalla::Twips(1400, this));

    QHBoxLayout* filaCasillas = ui->filaCasillas;
    for (const CasillaMant& c : config_.casillas) {
        auto* chk = new QCheckBox(c.etiqueta, this);
        chk->setObjectName(c.nombre);
        // The caption stands left of the box.
        chk->setLayoutDirection(Qt::RightToLeft);
        casillas_ << chk;
        filaCasillas->addWidget(chk);
    }
    chkDesactivado_ = new QCheckBox(config_.etiquetaDesactivado, this);
    chkDesactivado_->setObjectName(QStringLiteral("chkDesactivado"));
    chkDesactivado_->setLayoutDirection(Qt::RightToLeft);
    filaCasillas->addWidget(chkDesactivado_);
    filaCasillas->addStretch(1);
}

void frmMantenimiento::ConstruirBotones() {
    for (int i = 0; i < config_.botones.size(); ++i) {
        const BotonMant& b = config_.botones[i];
        auto* cmd = new QPushButton(b.caption, this);
        cmd->setObjectName(QStringLiteral("cmdMenu_%1").arg(i));
        cmd->setToolTip(b.tooltip);
        cmd->setAutoDefault(false);
        PrepararBoton(cmd, i);
        cmdMenu_ << cmd;
        ui->filaBotones->addWidget(cmd);
    }
}

void frmMantenimiento::CambiarModelo(ModeloLista* modelo) {
    modelo_ = modelo;
    QItemSelectionModel* anterior = dtgLista_->selectionModel();
    dtgLista_->setModel(modelo);
    delete anterior;
    connect(dtgLista_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& actual) { FilaActualCambiada(actual.row()); });
}

void frmMantenimiento::AgregarControl(const QString& etiqueta, QWidget* control) {
    auto* lbl = new QLabel(etiqueta, this);
    lbl->setBuddy(control);
    lbl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int col = columnaCampos_ * 2;
    areaCampos_->addWidget(lbl, filaCampos_, col);
    areaCampos_->addWidget(control, filaCampos_, col + 1);
    if (++columnaCampos_ >= config_.camposPorFila) {
        columnaCampos_ = 0;
        ++filaCampos_;
    }
}

QCheckBox* frmMantenimiento::Casilla(const QString& nombre) const {
    for (QCheckBox* c : casillas_)
        if (c->objectName() == nombre)
            return c;
    return nombre == QLatin1String("chkDesactivado") ? chkDesactivado_ : nullptr;
}

int frmMantenimiento::IndiceDe(AccionMant accion) const {
    for (int i = 0; i < config_.botones.size(); ++i)
        if (config_.botones[i].accion == accion)
            return i;
    return -1;
}

void frmMantenimiento::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    if (cargada_)
        return;
    cargada_ = true;
    // Every control exists by now, including those a window adds after the pattern's own.
    Pantalla::EnterComoTab(this);
    Form_Load();
}

void frmMantenimiento::closeEvent(QCloseEvent* evento) {
    modelo_->Asignar(nullptr);
    CerrarRecordset(rs_, true);
    QWidget::closeEvent(evento);
    emit Cerrada();
}

void frmMantenimiento::TraerAlFrente() {
    Pantalla::TraerAlFrente(this);
}

void frmMantenimiento::EjecutarModal(QWidget* padre) {
    if (padre)
        setParent(padre, Qt::Window);
    setWindowModality(Qt::ApplicationModal);
    QEventLoop bucle;
    connect(this, &frmMantenimiento::Cerrada, &bucle, &QEventLoop::quit);
    show();
    bucle.exec();
}
