#include "frmMantenimiento.h"

#include "Conexiones.h"
#include "Consultas.h"
#include "Disenos.h"
#include "ExportarLista.h"
#include "Formato.h"
#include "Historial.h"
#include "Iconos.h"
#include "LimiteTexto.h"
#include "Maestros.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "Usuario.h"
#include "VistaPrevia.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

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

BotonMant BotonMant::De(const QString& caption, AccionMant accion, const QString& tooltip) {
    BotonMant b{caption, accion, tooltip};
    const bool entrada = accion == AccionMant::Guardar || accion == AccionMant::Cancelar;
    b.enNavegacion = !entrada;
    b.enEdicion = entrada || accion == AccionMant::Atras;
    return b;
}

QList<BotonMant> BotonMant::Comunes(const QString& tipNuevo, const QString& tipEditar,
                                    const QString& tipImprimir) {
    return {
        De(QStringLiteral("Nuevo"), AccionMant::Nuevo, tipNuevo),
        De(QStringLiteral("Editar"), AccionMant::Editar, tipEditar),
        De(QStringLiteral("Guardar"), AccionMant::Guardar, QStringLiteral("Guardar los cambios")),
        De(QStringLiteral("Imprimir"), AccionMant::Imprimir, tipImprimir),
        De(QStringLiteral("Buscar"), AccionMant::Buscar,
           QStringLiteral("Buscar por la descripción")),
        De(QStringLiteral("Actualizar"), AccionMant::Actualizar,
           QStringLiteral("Muestra todos los datos")),
        De(QStringLiteral("Cancelar"), AccionMant::Cancelar,
           QStringLiteral("Cancela la operación")),
        De(QStringLiteral("Atras"), AccionMant::Atras, QStringLiteral("Volver al menú principal"))};
}

ModeloLista::ModeloLista(QList<ColumnaLista> columnas, QObject* padre)
    : QAbstractTableModel(padre), columnas_(std::move(columnas)) {}

void ModeloLista::Asignar(const Recordset* rs) {
    beginResetModel();
    rs_ = rs && rs->Abierto() ? rs : nullptr;
    indices_.clear();
    for (const ColumnaLista& c : columnas_)
        indices_ << (rs_ ? rs_->IndiceCampo(c.campo) : -1);
    endResetModel();
}

int ModeloLista::Filas() const {
    return rs_ ? rs_->RecordCount() : 0;
}

QVariant ModeloLista::Valor(int fila, int columna) const {
    const int i = indices_.value(columna, -1);
    if (!rs_ || i < 0)
        return {};
    return rs_->Fila(fila).value(i);
}

int ModeloLista::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : Filas();
}

int ModeloLista::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(columnas_.size());
}

QVariant ModeloLista::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid())
        return {};
    const QVariant v = Valor(indice.row(), indice.column());
    const bool siNo = columnas_[indice.column()].siNo;
    if (rol == kRolValorExportado && !siNo)
        return v.isValid() ? v : QVariant(QString());
    if (rol == Qt::DisplayRole || rol == Qt::AccessibleTextRole || rol == kRolValorExportado) {
        if (siNo)
            return v.isValid() && !v.isNull() && v.toInt() != 0 ? QStringLiteral("Si")
                                                                : QStringLiteral("No");
        return Formato::Valor(v);
    }
    if (rol == Qt::TextAlignmentRole && !siNo) {
        const int tipo = v.typeId();
        if (tipo == QMetaType::Int || tipo == QMetaType::LongLong || tipo == QMetaType::Double)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant ModeloLista::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion == Qt::Horizontal && rol == Qt::DisplayRole)
        return columnas_.value(seccion).titulo;
    return QAbstractTableModel::headerData(seccion, orientacion, rol);
}

frmMantenimiento::frmMantenimiento(ConfiguracionMant config, QWidget* padre)
    : QWidget(padre, Qt::Window), config_(std::move(config)) {
    setObjectName(config_.nombre);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(config_.titulo);
    setStyleSheet(QString::fromLatin1(kEstilo));
    Construir();
    resize(Pantalla::Twips(config_.anchoTwips, this), Pantalla::Twips(config_.altoTwips, this));
    PonerEstado(false);
}

frmMantenimiento::~frmMantenimiento() {
    if (modelo_)
        modelo_->Asignar(nullptr);
    CerrarRecordset(rs_, true);
}

void frmMantenimiento::Construir() {
    auto* principal = new QVBoxLayout(this);

    lblLista_ = new QLabel(config_.tituloLista, this);
    lblLista_->setObjectName(QStringLiteral("lblLista"));
    QFont negrita = lblLista_->font();
    negrita.setBold(true);
    lblLista_->setFont(negrita);
    lblLista_->setAlignment(Qt::AlignCenter);
    principal->addWidget(lblLista_);

    modelo_ = new ModeloLista(config_.columnas, this);
    dtgLista_ = new QTableView(this);
    dtgLista_->setObjectName(QStringLiteral("dtgLista"));
    dtgLista_->setAccessibleName(config_.tituloLista);
    dtgLista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dtgLista_->setSelectionBehavior(QAbstractItemView::SelectRows);
    dtgLista_->setSelectionMode(QAbstractItemView::SingleSelection);
    dtgLista_->setAlternatingRowColors(true);
    dtgLista_->setTabKeyNavigation(false);
    dtgLista_->verticalHeader()->setVisible(false);
    dtgLista_->verticalHeader()->setDefaultSectionSize(dtgLista_->fontMetrics().height() + 6);
    dtgLista_->horizontalHeader()->setHighlightSections(false);
    lblLista_->setBuddy(dtgLista_);
    AgregarExportarLista(dtgLista_, config_.titulo);
    principal->addWidget(dtgLista_, 1);
    CambiarModelo(modelo_);
    // The last text column takes the spare width; a trailing "Si"/"No" column stays narrow.
    for (int i = static_cast<int>(config_.columnas.size()) - 1; i >= 0; --i) {
        if (!config_.columnas[i].siNo) {
            dtgLista_->horizontalHeader()->setSectionResizeMode(i, QHeaderView::Stretch);
            break;
        }
    }
    // Clicking the row already current shows it again (after "Cancelar" the fields may differ).
    connect(dtgLista_, &QTableView::clicked, this,
            [this](const QModelIndex& indice) { FilaActualCambiada(indice.row()); });

    areaCampos_ = new QGridLayout;
    areaCampos_->setColumnStretch(1, 1);
    if (config_.camposPorFila > 1)
        areaCampos_->setColumnStretch(3, 1);
    principal->addLayout(areaCampos_);
    for (int i = 0; i < config_.campos.size(); ++i) {
        const CampoMant& c = config_.campos[i];
        auto* txt = new QLineEdit(this);
        txt->setObjectName(QStringLiteral("txtFields_%1").arg(i));
        if (c.maximo > 0)
            LimitarCaracteres(txt, c.maximo);
        if (c.oculto)
            txt->setEchoMode(QLineEdit::Password);
        txtFields_ << txt;
        AgregarControl(c.etiqueta, txt);
    }
    if (config_.campo0EsClave && !txtFields_.isEmpty())
        txtFields_[0]->setMaximumWidth(Pantalla::Twips(1400, this));

    auto* filaCasillas = new QHBoxLayout;
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
    principal->addLayout(filaCasillas);

    auto* filaBotones = new QHBoxLayout;
    for (int i = 0; i < config_.botones.size(); ++i) {
        const BotonMant& b = config_.botones[i];
        auto* cmd = new QPushButton(IconoDe(b.accion), b.caption, this);
        cmd->setObjectName(QStringLiteral("cmdMenu_%1").arg(i));
        cmd->setToolTip(b.tooltip);
        cmd->setAutoDefault(false);
        connect(cmd, &QPushButton::clicked, this, [this, i] { cmdMenu_Click(i); });
        cmdMenu_ << cmd;
        filaBotones->addWidget(cmd);
    }
    principal->addLayout(filaBotones);
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

void frmMantenimiento::Form_Load() {
    RecargarLista(config_.sqlAbrir);
    if (modelo_->rowCount() > 0)
        dtgLista_->setCurrentIndex(modelo_->index(0, 0));
    dtgLista_->setFocus();
}

void frmMantenimiento::RecargarLista(const QString& sql) {
    CursorOcupado ocupado;
    silencio_ = true;
    modelo_->Asignar(nullptr);
    if (rs_.Abierto())
        CerrarRecordset(rs_, false);
    sqlActual_ = sql;
    if (AbrirConsulta(sql, rs_)) {
        modelo_->Asignar(&rs_);
        dtgLista_->resizeColumnsToContents();
    }
    silencio_ = false;
    if (config_.campo0EsClave && !txtFields_.isEmpty())
        SeleccionarClave(txtFields_[0]->text());
}

void frmMantenimiento::SeleccionarClave(const QString& clave) {
    if (clave.isEmpty() || !rs_.Abierto() || config_.campos.isEmpty())
        return;
    const int col = rs_.IndiceCampo(config_.campos[0].campo);
    if (col < 0)
        return;
    for (int fila = 0; fila < rs_.RecordCount(); ++fila) {
        if (TextoDe(rs_.Fila(fila).value(col)) == clave) {
            silencio_ = true;
            rs_.SetAbsolutePosition(fila + 1);
            dtgLista_->setCurrentIndex(modelo_->index(fila, 0));
            dtgLista_->scrollTo(modelo_->index(fila, 0));
            silencio_ = false;
            return;
        }
    }
}

void frmMantenimiento::FilaActualCambiada(int fila) {
    if (silencio_ || fila < 0)
        return;
    rs_.SetAbsolutePosition(fila + 1);
    MostrarRegistro();
}

QString frmMantenimiento::TextoDe(const QVariant& valor) {
    if (!valor.isValid() || valor.isNull())
        return {};
    if (valor.typeId() == QMetaType::QString)
        return valor.toString();
    return Formato::Valor(valor);
}

int frmMantenimiento::Marca(const QCheckBox* casilla) {
    return casilla->isChecked() ? 1 : 0;
}

void frmMantenimiento::MostrarRegistro() {
    if (rs_.AbsolutePosition() <= 0)
        return;
    for (int i = 0; i < txtFields_.size(); ++i)
        if (!config_.campos[i].campo.isEmpty())
            txtFields_[i]->setText(TextoDe(rs_.Campo(config_.campos[i].campo)));
    auto marcada = [this](const QString& campo) {
        const QVariant v = rs_.Campo(campo);
        return v.isValid() && !v.isNull() && v.toInt() != 0;
    };
    for (int i = 0; i < casillas_.size(); ++i)
        casillas_[i]->setChecked(marcada(config_.casillas[i].campo));
    if (!config_.campoDesactivado.isEmpty())
        chkDesactivado_->setChecked(marcada(config_.campoDesactivado));
}

void frmMantenimiento::PonerEstado(bool edicion, bool alCrear) {
    enEdicion_ = edicion;
    for (int i = 0; i < cmdMenu_.size(); ++i)
        cmdMenu_[i]->setEnabled(edicion ? config_.botones[i].enEdicion
                                        : config_.botones[i].enNavegacion);
    for (int i = 0; i < txtFields_.size(); ++i) {
        const bool clave = i == 0 && config_.campo0EsClave;
        txtFields_[i]->setReadOnly(clave || !edicion);
        txtFields_[i]->style()->unpolish(txtFields_[i]);
        txtFields_[i]->style()->polish(txtFields_[i]);
    }
    for (QCheckBox* c : casillas_)
        c->setEnabled(edicion);
    chkDesactivado_->setEnabled(edicion && (!alCrear || config_.desactivadoEditableAlCrear));
}

void frmMantenimiento::cmdMenu_Click(int Index) {
    if (Index < 0 || Index >= config_.botones.size())
        return;
    switch (config_.botones[Index].accion) {
    case AccionMant::Nuevo:
        Nuevo();
        break;
    case AccionMant::Editar:
        Editar();
        break;
    case AccionMant::Guardar:
        Guardar();
        break;
    case AccionMant::Imprimir:
        Imprimir();
        break;
    case AccionMant::Buscar:
        Buscar();
        break;
    case AccionMant::Actualizar:
        MostrarTodos();
        break;
    case AccionMant::Cancelar:
        Cancelar();
        break;
    case AccionMant::Atras:
        Atras();
        break;
    case AccionMant::Eliminar:
        Eliminar();
        break;
    }
}

void frmMantenimiento::Nuevo() {
    for (int i = 0; i < txtFields_.size(); ++i)
        if ((i == 0 && config_.campo0EsClave) || config_.nuevoVaciaCampos)
            txtFields_[i]->clear();
    PonerEstado(true, true);
    EnfocarPrimerCampo();
}

void frmMantenimiento::EnfocarPrimerCampo() {
    // Selected, so that typing replaces the text of the record shown before.
    const int primero = config_.campo0EsClave ? 1 : 0;
    if (primero < txtFields_.size()) {
        txtFields_[primero]->setFocus();
        txtFields_[primero]->selectAll();
    }
}

void frmMantenimiento::Editar() {
    PonerEstado(true, false);
    EnfocarPrimerCampo();
}

QVariantList frmMantenimiento::ValoresInsertar() const {
    QVariantList v;
    for (int i = config_.campo0EsClave ? 1 : 0; i < txtFields_.size(); ++i)
        v << txtFields_[i]->text();
    return v;
}

QVariantList frmMantenimiento::ValoresActualizar() const {
    QVariantList v;
    for (int i = 0; i < txtFields_.size(); ++i)
        v << txtFields_[i]->text();
    for (const QCheckBox* c : casillas_)
        v << Marca(c);
    v << Marca(chkDesactivado_);
    return v;
}

bool frmMantenimiento::GuardarRegistro() {
    // The record and its history line are written together or not at all.
    Transaccion t;
    if (!t.Activa())
        return false;
    QString clave = config_.campo0EsClave ? txtFields_[0]->text() : QString();
    const QString columnaClave = config_.campos.value(0).campo;
    Historial::Registro antes;
    if (!clave.isEmpty()) {
        if (!Historial::Leer(config_.tabla, columnaClave, clave.toInt(), &antes) ||
            !Maestros::Actualizar(config_.comandoActualizar, ValoresActualizar()))
            return false;
    } else {
        QVariant id;
        if (!Maestros::Insertar(config_.comandoInsertar, ValoresInsertar(), &id) || !id.isValid())
            return false;
        clave = TextoDe(id);
    }
    Historial::Registro despues;
    if (!GuardarDependientes(clave.toInt()) ||
        !Historial::Leer(config_.tabla, columnaClave, clave.toInt(), &despues) ||
        !Historial::RegistrarRegistro(gLogin, config_.tabla, columnaClave, antes, despues) ||
        !t.Confirmar())
        return false;
    // The new record's key, so that a later "Editar" changes it instead of adding another.
    if (config_.campo0EsClave)
        txtFields_[0]->setText(clave);
    return true;
}

void frmMantenimiento::Guardar() {
    QLineEdit* obligatorio = txtFields_.value(config_.campoObligatorio);
    if (obligatorio && obligatorio->text().trimmed().isEmpty()) {
        Mensajes::MsgBox(config_.mensajeObligatorio);
        obligatorio->setFocus();
        return;
    }
    // A refused save leaves the window entering, with everything as typed.
    if (!GuardarRegistro())
        return;
    RecargarLista(config_.sqlRecargar);
    PonerEstado(false);
    if (rs_.AbsolutePosition() > 0 && dtgLista_->currentIndex().isValid())
        MostrarRegistro();
}

void frmMantenimiento::Imprimir() {
    if (!config_.informe)
        return;
    ImprimirLista();
    if (config_.informeModal)
        RecargarLista(sqlActual_);
}

void frmMantenimiento::ImprimirLista() {
    MostrarInforme(config_.informe(), rs_, config_.informeModal, this);
}

void frmMantenimiento::Buscar() {
    const QString texto =
        Mensajes::InputBox(QStringLiteral("Ingrese el texto a buscar:"), config_.tituloBuscar)
            .trimmed();
    if (texto.isEmpty())
        return;
    RecargarLista(config_.sqlBuscarAntes + SqlTexto(texto) + config_.sqlBuscarDespues);
}

void frmMantenimiento::MostrarTodos() {
    RecargarLista(config_.sqlRecargar);
}

void frmMantenimiento::Cancelar() {
    if (config_.cancelarVaciaCampos)
        for (QLineEdit* t : txtFields_)
            t->clear();
    if (config_.cancelarRecarga)
        RecargarLista(sqlActual_);
    PonerEstado(false);
}

void frmMantenimiento::Atras() {
    close();
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
