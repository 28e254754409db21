#include "frmMantProductos.h"

#include "Conexiones.h"
#include "Disenos.h"
#include "Formato.h"
#include "Iconos.h"
#include "LimiteTexto.h"
#include "Maestros.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "ProductosCalculos.h"
#include "Sugerencias.h"
#include "VentanaUnica.h"
#include "VistaPrevia.h"
#include "dteQuimbel.h"
#include "frmMantCategorias.h"

#include "ui_frmMantProductos.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QToolButton>

namespace {

ConfiguracionMant Config() {
    ConfiguracionMant c;
    c.disenoPropio = true;
    c.tituloLista = QString::fromUtf8(ProductosCalculos::kTituloLista);
    c.columnas = {{QStringLiteral("Descripción"), QStringLiteral("ProDescripcion")},
                  {QStringLiteral("Precio"), QStringLiteral("ProPrecio")},
                  {QStringLiteral("Costo"), QStringLiteral("ProCosto")},
                  {QStringLiteral("Mínimo"), QStringLiteral("ProMinimo")},
                  {QStringLiteral("Desactivado"), QStringLiteral("ProDesactivado"), true}};
    c.columnaAncha = 0;
    // The bar code is an ordinary field: the record's key is never shown.
    c.campos = {{{}, QStringLiteral("ProCodigo"), 20},
                {{}, QStringLiteral("ProDescripcion"), 50},
                {{}, QStringLiteral("ProPrecio"), 50},
                {{}, QStringLiteral("ProCosto"), 50},
                {{}, QStringLiteral("ProMinimo"), 50}};
    c.campo0EsClave = false;
    c.casillas = {{QStringLiteral("chkSinVencimiento"), {}, QStringLiteral("ProSinVencimiento")}};
    c.campoDesactivado = QStringLiteral("ProDesactivado");
    c.desactivadoEditableAlCrear = true;
    for (AccionMant a :
         {AccionMant::Nuevo, AccionMant::Editar, AccionMant::Guardar, AccionMant::Imprimir,
          AccionMant::Buscar, AccionMant::Actualizar, AccionMant::Cancelar, AccionMant::Atras})
        c.botones << BotonMant::De({}, a);
    c.anchoTwips = 11400;
    c.altoTwips = 8400;
    return c;
}

VentanaUnica<frmMantProductos> gProductos;

} // namespace

dteQuimbel& frmMantProductos::Dte() {
    return dteQuimbel::Instancia();
}

RecordsetEditable& frmMantProductos::Rs() {
    return dteQuimbel::Instancia().rsCProductos();
}

frmMantProductos* frmMantProductos::Instancia() {
    return MostrarUnica(gProductos);
}

bool frmMantProductos::Abierta() {
    return gProductos.Abierta();
}

frmMantProductos::frmMantProductos() : frmMantenimiento(Config()), ui(new Ui::frmMantProductos) {
    ui->setupUi(this);
    TomarControles();
    ui->lblLista->setBackgroundRole(QPalette::Dark);
    ui->lblLista->setForegroundRole(QPalette::BrightText);
    ui->dtgLista->installEventFilter(this);

    ui->cmdCategorias->setIcon(Iconos::De(QStringLiteral("agregar")));
    connect(ui->cmdCategorias, &QToolButton::clicked, this, [this] { AbrirCategorias(); });
    for (QComboBox* c : {ui->dtcMonedas, ui->dtcUnidades}) {
        LimitarCaracteres(c->lineEdit(), 50);
        Sugerencias::Ofrecer(c);
    }
    for (QLabel* l : {ui->lblPorcentual, ui->lblAbsoluto})
        l->setMinimumWidth(Pantalla::Twips(1200, this));
}

frmMantProductos::~frmMantProductos() = default;

void frmMantProductos::Form_Load() {
    // A list that cannot be read was told to the person and stays empty.
    if (!Rs().Abierto())
        static_cast<void>(Dte().Abrir(QString::fromLatin1(dteQuimbel::kCProductos)));
    MostrarProductos();
}

void frmMantProductos::PonerEstado(bool edicion, bool alCrear) {
    frmMantenimiento::PonerEstado(edicion, alCrear);
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->dtcCategorias, ui->dtcMonedas, ui->dtcUnidades})
        w->setEnabled(edicion);
}

void frmMantProductos::VaciarCampos(bool sinVencimiento) {
    for (int i = 0; i < CantidadCampos(); ++i)
        txtFields(i)->clear();
    ui->dtcCategorias->setCurrentIndex(-1);
    ui->dtcMonedas->setCurrentText(QString());
    ui->dtcUnidades->setCurrentText(QString());
    ui->chkSinVencimiento->setChecked(sinVencimiento);
    ui->chkDesactivado->setChecked(false);
    ui->lblPorcentual->setText(QStringLiteral("0"));
    ui->lblAbsoluto->setText(QStringLiteral("0"));
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
    for (int i = 0; i < CantidadCampos(); ++i)
        txtFields(i)->setText(Formato::Valor(rs.Campo(Configuracion().campos[i].campo)));
    const QVariant cat = rs.Campo(QStringLiteral("CatId"));
    ui->dtcCategorias->setCurrentIndex(cat.isValid() ? ui->dtcCategorias->findData(cat.toInt())
                                                     : -1);
    ui->dtcMonedas->setCurrentText(rs.Texto(QStringLiteral("ProMoneda")));
    ui->dtcUnidades->setCurrentText(rs.Texto(QStringLiteral("ProUnidadMedida")));
    ui->chkSinVencimiento->setChecked(rs.Campo(QStringLiteral("ProSinVencimiento")).toBool());
    ui->chkDesactivado->setChecked(rs.Campo(QStringLiteral("ProDesactivado")).toBool());
    instantanea_ = Instantanea();
}

void frmMantProductos::MostrarMargen() {
    const RecordsetEditable& rs = Rs();
    if (rs.AbsolutePosition() <= 0)
        return;
    const auto m = ProductosCalculos::CalcularMargen(rs.Campo(QStringLiteral("ProPrecio")),
                                                     rs.Campo(QStringLiteral("ProCosto")));
    ui->lblPorcentual->setText(m.porcentual);
    ui->lblAbsoluto->setText(m.absoluto);
}

QString frmMantProductos::Instantanea() const {
    QStringList v;
    for (int i = 0; i < CantidadCampos(); ++i)
        v << txtFields(i)->text();
    v << ui->dtcCategorias->currentData().toString() << ui->dtcMonedas->currentText()
      << ui->dtcUnidades->currentText() << QString::number(ui->chkSinVencimiento->isChecked())
      << QString::number(ui->chkDesactivado->isChecked());
    return v.join(QChar(0x1f));
}

void frmMantProductos::Nuevo() {
    RecordsetEditable& rs = Rs();
    // Without the products read there is no new row to edit (the person was told why).
    if (!rs.Abierto() && !Dte().Abrir(QString::fromLatin1(dteQuimbel::kCProductos)))
        return;
    if (!rs.AgregarNuevo({{QStringLiteral("ProDesactivado"), false},
                          {QStringLiteral("ProSinVencimiento"), true}}))
        return;
    Modelo()->Asignar(rs);
    SincronizarLista();
    VaciarCampos(true);
    PonerEstado(true, true);
    instantanea_ = Instantanea();
    txtFields(0)->setFocus();
}

void frmMantProductos::Editar() {
    PonerEstado(true);
    instantanea_ = Instantanea();
    txtFields(1)->setFocus();
}

void frmMantProductos::Guardar() {
    if (GuardarRegistro()) {
        PonerEstado(false);
        Actualizar({});
    } else if (cambiadoPorOtro_) {
        // Told once the save's transaction is over, so that the product is not held meanwhile.
        AvisarCambiadoPorOtro(Rs().Campo(QStringLiteral("ProId")).toInt());
    }
}

// The report lists every product, whatever the list shows.
void frmMantProductos::Imprimir() {
    MostrarInforme(dtrProductos(), &Maestros::AbrirProductosParaImprimir, true, this);
}

void frmMantProductos::Buscar() {
    const QString texto =
        Mensajes::InputBox(QStringLiteral("Ingrese el texto a buscar:"), QStringLiteral("Buscar"));
    if (!texto.isEmpty())
        Actualizar({SeleccionLista::Tipo::Busqueda, texto.trimmed()});
}

void frmMantProductos::MostrarTodos() {
    Actualizar({});
}

void frmMantProductos::Cancelar() {
    Rs().CancelarCambios();
    // Reopening keeps a search a search and stands on its first product.
    PonerEstado(false);
    // A list that cannot be read was told to the person and stays empty.
    static_cast<void>(Dte().Abrir(QString::fromLatin1(dteQuimbel::kCProductos)));
    MostrarProductos();
}

void frmMantProductos::IngresarNuevo() {
    TraerAlFrente();
    if (EnEntrada() && Instantanea() != instantanea_) {
        if (Mensajes::MsgBox(QStringLiteral("Hay un producto sin guardar. ¿Desea descartarlo para "
                                            "ingresar un producto nuevo?"),
                             Mensajes::Botones::SiNo,
                             Mensajes::Icono::Pregunta) != Mensajes::Respuesta::Si)
            return;
    }
    cmdMenu_Click(IndiceDe(AccionMant::Nuevo));
}

void frmMantProductos::AbrirCategorias() {
    frmMantCategorias::AbrirModal(this);
    // Activation may come before the categories window is gone; the list must offer its news.
    ActualizarCombos();
}

void frmMantProductos::changeEvent(QEvent* ev) {
    frmMantenimiento::changeEvent(ev);
    if (ev->type() == QEvent::ActivationChange && isActiveWindow())
        ActualizarCombos();
}

void frmMantProductos::closeEvent(QCloseEvent* ev) {
    Rs().CancelarCambios();
    Dte().RestaurarComandos();
    Dte().CerrarTodo();
    frmMantenimiento::closeEvent(ev);
}
