#include "frmMantProductos.h"

#include "Conexiones.h"
#include "Disenos.h"
#include "ExportarLista.h"
#include "Formato.h"
#include "Iconos.h"
#include "LimiteTexto.h"
#include "Mensajes.h"
#include "ModeloProductos.h"
#include "Pantalla.h"
#include "ProductosCalculos.h"
#include "Sugerencias.h"
#include "VentanaUnica.h"
#include "VistaPrevia.h"
#include "dteQuimbel.h"
#include "frmMantCategorias.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

namespace {
VentanaUnica<frmMantProductos>& Unica() {
    static VentanaUnica<frmMantProductos> unica;
    return unica;
}
} // namespace

dteQuimbel& frmMantProductos::Dte() {
    return dteQuimbel::Instancia();
}

RecordsetEditable& frmMantProductos::Rs() {
    return dteQuimbel::Instancia().rsCProductos();
}

frmMantProductos* frmMantProductos::Instancia() {
    return Unica().Mostrar([] { return new frmMantProductos; });
}

bool frmMantProductos::Abierta() {
    return Unica().Abierta();
}

frmMantProductos::frmMantProductos(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(frmMantenimiento::Estilo());
    ConstruirControles();
    Pantalla::EnterComoTab(this);

    if (!Rs().Abierto())
        Dte().Abrir(QString::fromLatin1(dteQuimbel::kCProductos));
    MostrarProductos();
    SetEntrada(false);
}

frmMantProductos::~frmMantProductos() = default;

void frmMantProductos::ConstruirControles() {
    setupUi(this);
    txtFields = {txtFields_0, txtFields_1, txtFields_2, txtFields_3, txtFields_4};
    cmdMenu = {cmdMenu_0, cmdMenu_1, cmdMenu_2, cmdMenu_3,
               cmdMenu_4, cmdMenu_5, cmdMenu_6, cmdMenu_7};

    lblLista->setText(QString::fromUtf8(ProductosCalculos::kTituloLista));
    lblLista->setBackgroundRole(QPalette::Dark);
    lblLista->setForegroundRole(QPalette::BrightText);
    QFont negrita = lblLista->font();
    negrita.setBold(true);
    lblLista->setFont(negrita);

    modelo_ = new ModeloProductos(dtgLista);
    dtgLista->setModel(modelo_);
    dtgLista->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    dtgLista->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    dtgLista->setAccessibleName(lblLista->text());
    dtgLista->installEventFilter(this);
    AgregarExportarLista(dtgLista, windowTitle());
    connect(
        dtgLista->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& actual) { FilaCambiada(actual.isValid() ? actual.row() : -1); });

    static const int largos[] = {20, 50, 50, 50, 50};
    for (int i = 0; i < 5; ++i)
        LimitarCaracteres(txtFields[i], largos[i]);
    cmdCategorias->setIcon(Iconos::De(QStringLiteral("agregar")));
    connect(cmdCategorias, &QToolButton::clicked, this, [this] { AbrirCategorias(); });
    for (QComboBox* c : {dtcMonedas, dtcUnidades}) {
        LimitarCaracteres(c->lineEdit(), 50);
        Sugerencias::Ofrecer(c);
    }
    for (QLabel* l : {lblPorcentual, lblAbsoluto})
        l->setMinimumWidth(Pantalla::Twips(1200, this));

    for (int i = 0; i < 8; ++i) {
        cmdMenu[i]->setIcon(frmMantenimiento::IconoBoton(static_cast<AccionMant>(i)));
        connect(cmdMenu[i], &QPushButton::clicked, this, [this, i] { cmdMenu_Click(i); });
    }
    resize(Pantalla::Twips(11400, this), Pantalla::Twips(8400, this));
}

void frmMantProductos::SetEntrada(bool entrada) {
    entrada_ = entrada;
    for (int i : {0, 1, 3, 4, 5})
        cmdMenu[i]->setEnabled(!entrada);
    cmdMenu[2]->setEnabled(entrada);
    cmdMenu[6]->setEnabled(entrada);
    for (QLineEdit* t : txtFields) {
        t->setReadOnly(!entrada);
        t->style()->unpolish(t);
        t->style()->polish(t);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{dtcCategorias, dtcMonedas, dtcUnidades,
                                                      chkSinVencimiento, chkDesactivado})
        w->setEnabled(entrada);
}

void frmMantProductos::VaciarCampos(bool sinVencimiento) {
    for (QLineEdit* t : txtFields)
        t->clear();
    dtcCategorias->setCurrentIndex(-1);
    dtcMonedas->setCurrentText(QString());
    dtcUnidades->setCurrentText(QString());
    chkSinVencimiento->setChecked(sinVencimiento);
    chkDesactivado->setChecked(false);
    lblPorcentual->setText(QStringLiteral("0"));
    lblAbsoluto->setText(QStringLiteral("0"));
}

// The controls are copied from the record rather than bound to it, so that what a person types
// reaches the record only through "Guardar" and its checks.
void frmMantProductos::MostrarRegistro() {
    const RecordsetEditable& rs = Rs();
    if (rs.AbsolutePosition() <= 0) {
        // Nothing current (an empty search, or past the last product): stale values left in
        // the fields would be saved as a copy of a product the list no longer shows.
        VaciarCampos(false);
        instantanea_ = Instantanea();
        return;
    }
    static const char* const columnas[] = {"ProCodigo", "ProDescripcion", "ProPrecio", "ProCosto",
                                           "ProMinimo"};
    for (int i = 0; i < 5; ++i)
        txtFields[i]->setText(Formato::Valor(rs.Campo(QLatin1String(columnas[i]))));
    const QVariant cat = rs.Campo(QStringLiteral("CatId"));
    dtcCategorias->setCurrentIndex(cat.isValid() ? dtcCategorias->findData(cat.toInt()) : -1);
    dtcMonedas->setCurrentText(rs.Texto(QStringLiteral("ProMoneda")));
    dtcUnidades->setCurrentText(rs.Texto(QStringLiteral("ProUnidadMedida")));
    chkSinVencimiento->setChecked(rs.Campo(QStringLiteral("ProSinVencimiento")).toBool());
    chkDesactivado->setChecked(rs.Campo(QStringLiteral("ProDesactivado")).toBool());
    instantanea_ = Instantanea();
}

void frmMantProductos::MostrarMargen() {
    const RecordsetEditable& rs = Rs();
    if (rs.AbsolutePosition() <= 0)
        return;
    const auto m = ProductosCalculos::CalcularMargen(rs.Campo(QStringLiteral("ProPrecio")),
                                                     rs.Campo(QStringLiteral("ProCosto")));
    lblPorcentual->setText(m.porcentual);
    lblAbsoluto->setText(m.absoluto);
}

QString frmMantProductos::Instantanea() const {
    QStringList v;
    for (QLineEdit* t : txtFields)
        v << t->text();
    v << dtcCategorias->currentData().toString() << dtcMonedas->currentText()
      << dtcUnidades->currentText() << QString::number(chkSinVencimiento->isChecked())
      << QString::number(chkDesactivado->isChecked());
    return v.join(QChar(0x1f));
}

void frmMantProductos::cmdMenu_Click(int index) {
    RecordsetEditable& rs = Rs();
    switch (index) {
    case 0: // Nuevo
        if (!rs.Abierto())
            Dte().Abrir(QString::fromLatin1(dteQuimbel::kCProductos));
        rs.AgregarNuevo({{QStringLiteral("ProDesactivado"), false},
                         {QStringLiteral("ProSinVencimiento"), true}});
        modelo_->Refrescar();
        SincronizarLista();
        VaciarCampos(true);
        SetEntrada(true);
        instantanea_ = Instantanea();
        txtFields[0]->setFocus();
        break;
    case 1: // Editar
        SetEntrada(true);
        instantanea_ = Instantanea();
        txtFields[1]->setFocus();
        break;
    case 2: // Guardar
        if (Guardar()) {
            SetEntrada(false);
            Actualizar(QString::fromLatin1(kSqlTodos));
        }
        break;
    case 3:
        ImprimirProductos();
        break;
    case 4: { // Buscar
        const QString texto = Mensajes::InputBox(QStringLiteral("Ingrese el texto a buscar:"),
                                                 QStringLiteral("Buscar"));
        if (!texto.isEmpty())
            Actualizar(QStringLiteral("SELECT * FROM PRODUCTOS WHERE INSTR(PRODESCRIPCION,'") +
                       SqlTexto(texto.trimmed()) + QStringLiteral("')"));
        break;
    }
    case 5:
        Actualizar(QString::fromLatin1(kSqlTodos));
        break;
    case 6: // Cancelar
        rs.CancelarCambios();
        // Reopening keeps a search a search and stands on its first product.
        SetEntrada(false);
        Actualizar(Dte().ComandoSql(QString::fromLatin1(dteQuimbel::kCProductos)));
        break;
    case 7:
        close();
        break;
    default:
        break;
    }
}

void frmMantProductos::IngresarNuevo() {
    Pantalla::TraerAlFrente(this);
    if (entrada_ && Instantanea() != instantanea_) {
        if (Mensajes::MsgBox(QStringLiteral("Hay un producto sin guardar. ¿Desea descartarlo para "
                                            "ingresar un producto nuevo?"),
                             Mensajes::Botones::SiNo,
                             Mensajes::Icono::Pregunta) != Mensajes::Respuesta::Si)
            return;
    }
    cmdMenu_Click(0);
}

void frmMantProductos::AbrirCategorias() {
    frmMantCategorias::AbrirModal(this);
    // Activation may come before the categories window is gone; the list must offer its news.
    ActualizarCombos();
}

void frmMantProductos::ImprimirProductos() {
    MostrarInforme(dtrProductos(),
                   QStringLiteral("select * from productos order by ProDescripcion ASC"), true,
                   this);
}

void frmMantProductos::changeEvent(QEvent* ev) {
    QWidget::changeEvent(ev);
    if (ev->type() == QEvent::ActivationChange && isActiveWindow())
        ActualizarCombos();
}

void frmMantProductos::closeEvent(QCloseEvent* ev) {
    Rs().CancelarCambios();
    Dte().RestaurarComandos();
    Dte().CerrarTodo();
    ev->accept();
}
