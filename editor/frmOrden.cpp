#include "frmOrden.h"

#include "VistaPrevia.h"
#include "frmMantProductos.h"
#include "frmMantProveedores.h"

#include "Conexiones.h"
#include "Controles.h"
#include "Formato.h"
#include "Iconos.h"
#include "Listas.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "ReglasAprobacion.h"
#include "Reloj.h"
#include "Usuario.h"
#include "VentanaUnica.h"
#include "frmGrillaProductos.h"
#include "frmGrillaProveedores.h"
#include "frmHistorial.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using Mensajes::Botones;
using Mensajes::Icono;
using Mensajes::Respuesta;

namespace {

const QString kAtencion = QStringLiteral("Atención");

// Columns of the quote list.
enum ColPrecio {
    kColId,
    kColEmpId,
    kColProveedor,
    kColContacto,
    kColPrecio,
    kColMoneda,
    kColFormaPago,
    kColFecha,
    kColVigencia,
    kColAceptado,
    kColumnasPrecio
};
constexpr int kRolValor = Qt::UserRole;
constexpr int kRolClave = Qt::UserRole + 1;

QLabel* Etiqueta(const QString& texto, QWidget* campo, QWidget* padre) {
    auto* l = new QLabel(texto, padre);
    l->setBuddy(campo);
    return l;
}

QToolButton* BotonImagen(const QString& nombre, const QIcon& icono, const QString& ayuda,
                         QWidget* padre) {
    auto* b = new QToolButton(padre);
    b->setObjectName(nombre);
    b->setIcon(icono);
    b->setToolTip(ayuda);
    b->setAccessibleName(ayuda);
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

QString TextoFecha(const QDateTime& d) {
    return d.isValid() ? QLocale().toString(d.date(), FormatoFecha()) : QString();
}

// A picker's choice goes into its box: the id as the box's tag, the name as its text. A cancelled
// pick empties the box.
void TomarEleccion(QLineEdit* caja, bool cancelado, int id, const QString& nombre) {
    if (cancelado) {
        SetTag(caja, QStringLiteral("0"));
        caja->clear();
    } else {
        SetTag(caja, QString::number(id));
        caja->setText(nombre);
    }
}

// Which of the buttons "Nueva", "Editar", "Guardar", "G + N", "Cancelar", "Imprimir", "Atras"
// each mode enables ('S') or disables ('N'); '.' leaves a button as it was ("Imprimir" stays as
// the order it belongs to left it, "Atras" is always there).
struct BotonesDeModo {
    ModoOrden modo;
    const char* botones;
};
constexpr BotonesDeModo kBotonesDeModo[] = {
    {ModoOrden::Inicial, "..NNN.."}, {ModoOrden::Nueva, "NNSSSN."},
    {ModoOrden::Edicion, "NNSSS.."}, {ModoOrden::Guardada, "SSNNNS."},
    {ModoOrden::Cargada, ".....S."},
};

} // namespace

void frmOrden::PonerModo(ModoOrden modo) {
    for (const BotonesDeModo& m : kBotonesDeModo) {
        if (m.modo != modo)
            continue;
        for (int i = 0; i < 7; ++i)
            if (m.botones[i] != '.')
                cmdMenu[i]->setEnabled(m.botones[i] == 'S');
    }
}

VentanaUnica<frmOrden>& frmOrden::Unica() {
    static VentanaUnica<frmOrden> unica;
    return unica;
}

frmOrden* frmOrden::Instancia() {
    return Unica().Obtener([] { return new frmOrden; });
}

bool frmOrden::Abierta() {
    return Unica().Abierta() && Unica().Actual()->isVisible();
}

void frmOrden::Abrir(bool agregando, int ordid) {
    if (Abierta()) {
        Pantalla::TraerAlFrente(Unica().Actual());
        return;
    }
    frmOrden* f = Instancia();
    f->agregando = agregando;
    f->ordid = ordid;
    f->Cargar();
    Pantalla::TraerAlFrente(f);
}

frmOrden::frmOrden(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmOrden"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Detalle de la Orden de Compra"));
    ConstruirControles();
    CrearColumnasPrecios();
    LimpiarPrecio();
    Pantalla::EnterComoTab(this);
}

frmOrden::~frmOrden() {
    for (Recordset* rs : {&rsUnidades_, &rsLugares_, &rsSolicitantes_, &rsAutorizantes_,
                          &rsSectores_, &rsCentros_, &rsMonedas_, &rsFormasDePago_})
        CerrarRecordset(*rs, true);
}

void frmOrden::ConstruirControles() {
    auto* raiz = new QVBoxLayout(this);

    // Header of the order, in reading order so that Tab follows the form.
    auto* cab = new QGridLayout;
    raiz->addLayout(cab);
    lblNumeroDeOrden = new QLabel(this);
    lblNumeroDeOrden->setObjectName(QStringLiteral("lblNumeroDeOrden"));
    lblNumeroDeOrden->setFrameShape(QFrame::Panel);
    lblNumeroDeOrden->setFrameShadow(QFrame::Sunken);
    lblNumeroDeOrden->setMinimumWidth(Pantalla::Twips(1200, this));
    QFont negrita = lblNumeroDeOrden->font();
    negrita.setBold(true);
    lblNumeroDeOrden->setFont(negrita);
    cab->addWidget(Etiqueta(QStringLiteral("Número de Orden:"), lblNumeroDeOrden, this), 0, 0);
    cab->addWidget(lblNumeroDeOrden, 0, 1);

    dtpFecha = new SelectorFecha(this);
    dtpFecha->setObjectName(QStringLiteral("dtpFecha"));
    cab->addWidget(Etiqueta(QStringLiteral("Fecha:"), dtpFecha, this), 0, 2);
    cab->addWidget(dtpFecha, 0, 3);

    txtLogin = new QLineEdit(this);
    txtLogin->setObjectName(QStringLiteral("txtLogin"));
    txtLogin->setEnabled(false);
    cab->addWidget(Etiqueta(QStringLiteral("Ingresó:"), txtLogin, this), 1, 0);
    cab->addWidget(txtLogin, 1, 1);

    cboPrioridades = new QComboBox(this);
    cboPrioridades->setObjectName(QStringLiteral("cboPrioridades"));
    cboPrioridades->addItems({QStringLiteral("Normal"), QStringLiteral("Urgente")});
    cboPrioridades->setCurrentIndex(-1);
    cab->addWidget(Etiqueta(QStringLiteral("Prioridad:"), cboPrioridades, this), 1, 2);
    cab->addWidget(cboPrioridades, 1, 3);

    txtDescripcion = new QLineEdit(this);
    txtDescripcion->setObjectName(QStringLiteral("txtDescripcion"));
    SetTag(txtDescripcion, QStringLiteral("0"));
    cmdBuscarProducto =
        BotonImagen(QStringLiteral("cmdBuscarProducto"), Iconos::De(QStringLiteral("buscar")),
                    QStringLiteral("Buscar Productos por texto"), this);
    cmdNuevoProducto =
        BotonImagen(QStringLiteral("cmdNuevoProducto"), Iconos::De(QStringLiteral("nuevo")),
                    QStringLiteral("Ingresar un Producto nuevo"), this);
    auto* producto = new QHBoxLayout;
    producto->addWidget(txtDescripcion, 1);
    producto->addWidget(cmdBuscarProducto);
    producto->addWidget(cmdNuevoProducto);
    cab->addWidget(Etiqueta(QStringLiteral("Producto:"), txtDescripcion, this), 2, 0);
    cab->addLayout(producto, 2, 1, 1, 3);

    txtCantidad = new QLineEdit(this);
    txtCantidad->setObjectName(QStringLiteral("txtCantidad"));
    txtCantidad->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cab->addWidget(Etiqueta(QStringLiteral("Cantidad:"), txtCantidad, this), 3, 0);
    cab->addWidget(txtCantidad, 3, 1);

    dtcUnidades = new ListaEnlazada(true, this);
    dtcUnidades->setObjectName(QStringLiteral("dtcUnidades"));
    cab->addWidget(Etiqueta(QStringLiteral("Unidad de Compra:"), dtcUnidades, this), 3, 2);
    cab->addWidget(dtcUnidades, 3, 3);

    dtcLugarDeEntrega = new ListaEnlazada(true, this);
    dtcLugarDeEntrega->setObjectName(QStringLiteral("dtcLugarDeEntrega"));
    cab->addWidget(Etiqueta(QStringLiteral("Lugar de entrega:"), dtcLugarDeEntrega, this), 4, 0);
    cab->addWidget(dtcLugarDeEntrega, 4, 1);

    dtcSolicitantes = new ListaEnlazada(false, this);
    dtcSolicitantes->setObjectName(QStringLiteral("dtcSolicitantes"));
    dtcSolicitantes->SetBuscarRetirado(&Listas::NombreDeUsuario);
    cab->addWidget(Etiqueta(QStringLiteral("Solicitó:"), dtcSolicitantes, this), 4, 2);
    cab->addWidget(dtcSolicitantes, 4, 3);

    chkAutorizo = new QCheckBox(QStringLiteral("Autorizó:"), this);
    chkAutorizo->setObjectName(QStringLiteral("chkAutorizo"));
    chkAutorizo->setLayoutDirection(Qt::RightToLeft);
    dtcAutorizantes = new ListaEnlazada(false, this);
    dtcAutorizantes->setObjectName(QStringLiteral("dtcAutorizantes"));
    dtcAutorizantes->setAccessibleName(QStringLiteral("Autorizó:"));
    dtcAutorizantes->SetBuscarRetirado(&Listas::NombreDeUsuario);
    cab->addWidget(chkAutorizo, 5, 2, Qt::AlignRight);
    cab->addWidget(dtcAutorizantes, 5, 3);
    cab->setColumnStretch(1, 1);
    cab->setColumnStretch(3, 1);

    auto* cargo = new QGroupBox(QStringLiteral("Con cargo a:"), this);
    auto* gc = new QGridLayout(cargo);
    dtcSectores = new ListaEnlazada(false, cargo);
    dtcSectores->setObjectName(QStringLiteral("dtcSectores"));
    dtcSectores->SetBuscarRetirado(&Listas::NombreDeSector);
    dtcCentrosDeCosto = new ListaEnlazada(false, cargo);
    dtcCentrosDeCosto->setObjectName(QStringLiteral("dtcCentrosDeCosto"));
    dtcCentrosDeCosto->SetBuscarRetirado(&Listas::NombreDeCentroDeCosto);
    gc->addWidget(Etiqueta(QStringLiteral("Sector:"), dtcSectores, cargo), 0, 0);
    gc->addWidget(dtcSectores, 0, 1);
    gc->addWidget(Etiqueta(QStringLiteral("Centro de Costo:"), dtcCentrosDeCosto, cargo), 0, 2);
    gc->addWidget(dtcCentrosDeCosto, 0, 3);
    gc->setColumnStretch(1, 1);
    gc->setColumnStretch(3, 1);
    raiz->addWidget(cargo);

    auto* comentario = new QHBoxLayout;
    txtComentario = new QLineEdit(this);
    txtComentario->setObjectName(QStringLiteral("txtComentario"));
    comentario->addWidget(Etiqueta(QStringLiteral("Comentario:"), txtComentario, this));
    comentario->addWidget(txtComentario, 1);
    raiz->addLayout(comentario);

    // Quotes: the entry fields above the list they fill.
    auto* precios = new QGroupBox(QStringLiteral("Precios:"), this);
    auto* gp = new QGridLayout(precios);
    txtProveedor = new QLineEdit(precios);
    txtProveedor->setObjectName(QStringLiteral("txtProveedor"));
    cmdBuscarProveedor =
        BotonImagen(QStringLiteral("cmdBuscarProveedor"), Iconos::De(QStringLiteral("buscar")),
                    QStringLiteral("Buscar Proveedores por texto"), precios);
    cmdNuevoProveedor =
        BotonImagen(QStringLiteral("cmdNuevoProveedor"), Iconos::De(QStringLiteral("nuevo")),
                    QStringLiteral("Ingresar un Proveedor nuevo"), precios);
    auto* proveedor = new QHBoxLayout;
    proveedor->addWidget(txtProveedor, 1);
    proveedor->addWidget(cmdBuscarProveedor);
    proveedor->addWidget(cmdNuevoProveedor);
    gp->addWidget(Etiqueta(QStringLiteral("Proveedor:"), txtProveedor, precios), 0, 0);
    gp->addLayout(proveedor, 0, 1, 1, 3);

    txtContacto = new QLineEdit(precios);
    txtContacto->setObjectName(QStringLiteral("txtContacto"));
    gp->addWidget(Etiqueta(QStringLiteral("Contacto:"), txtContacto, precios), 0, 4);
    gp->addWidget(txtContacto, 0, 5);

    txtPrecio = new QLineEdit(precios);
    txtPrecio->setObjectName(QStringLiteral("txtPrecio"));
    txtPrecio->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    gp->addWidget(Etiqueta(QStringLiteral("Precio:"), txtPrecio, precios), 1, 0);
    gp->addWidget(txtPrecio, 1, 1);

    dtcMoneda = new ListaEnlazada(true, precios);
    dtcMoneda->setObjectName(QStringLiteral("dtcMoneda"));
    dtcMoneda->setMinimumContentsLength(8);
    gp->addWidget(Etiqueta(QStringLiteral("Moneda:"), dtcMoneda, precios), 1, 2);
    gp->addWidget(dtcMoneda, 1, 3);

    dtcFormaDePago = new ListaEnlazada(true, precios);
    dtcFormaDePago->setObjectName(QStringLiteral("dtcFormaDePago"));
    gp->addWidget(Etiqueta(QStringLiteral("Forma de pago:"), dtcFormaDePago, precios), 1, 4);
    gp->addWidget(dtcFormaDePago, 1, 5);

    dtpPreFecha = new SelectorFecha(precios);
    dtpPreFecha->setObjectName(QStringLiteral("dtpPreFecha"));
    gp->addWidget(Etiqueta(QStringLiteral("Fecha:"), dtpPreFecha, precios), 2, 0);
    gp->addWidget(dtpPreFecha, 2, 1);

    dtpPreFecVigencia = new SelectorFecha(precios);
    dtpPreFecVigencia->setObjectName(QStringLiteral("dtpPreFecVigencia"));
    gp->addWidget(Etiqueta(QStringLiteral("Vigencia:"), dtpPreFecVigencia, precios), 2, 2);
    gp->addWidget(dtpPreFecVigencia, 2, 3);

    chkAceptado = new QCheckBox(QStringLiteral("Aceptado:"), precios);
    chkAceptado->setObjectName(QStringLiteral("chkAceptado"));
    chkAceptado->setLayoutDirection(Qt::RightToLeft);
    cmdAceptar = new QPushButton(QStringLiteral("Aceptar"), precios);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar->setToolTip(QStringLiteral("Agregar el precio a la lista"));
    cmdQuitar = new QPushButton(QStringLiteral("Quitar"), precios);
    cmdQuitar->setObjectName(QStringLiteral("cmdQuitar"));
    cmdQuitar->setToolTip(QStringLiteral("Quitar el precio seleccionado"));
    auto* acciones = new QHBoxLayout;
    acciones->addWidget(chkAceptado);
    acciones->addStretch(1);
    acciones->addWidget(cmdAceptar);
    acciones->addWidget(cmdQuitar);
    gp->addLayout(acciones, 2, 4, 1, 2);
    gp->setColumnStretch(1, 2);
    gp->setColumnStretch(3, 1);
    gp->setColumnStretch(5, 2);

    grdPrecios = new QTreeWidget(precios);
    grdPrecios->setObjectName(QStringLiteral("grdPrecios"));
    grdPrecios->setAccessibleName(QStringLiteral("Precios:"));
    grdPrecios->setRootIsDecorated(false);
    grdPrecios->setUniformRowHeights(true);
    grdPrecios->setAllColumnsShowFocus(true);
    grdPrecios->setSelectionMode(QAbstractItemView::SingleSelection);
    grdPrecios->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdPrecios->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPrecios->header()->setSectionsClickable(false);
    grdPrecios->setMinimumHeight(Pantalla::Twips(1800, this));
    gp->addWidget(grdPrecios, 3, 0, 1, 6);
    raiz->addWidget(precios, 1);

    static const char* const kTitulos[7] = {"Nueva",    "Editar",   "Guardar", "G + N",
                                            "Cancelar", "Imprimir", "Atras"};
    static const char* const kAyudas[7] = {"Ingresar una nueva Orden de Compra",
                                           "Modificar la Orden de Compra seleccionada",
                                           "Guardar los cambios",
                                           "Guarda y crea una nueva Orden de Compra",
                                           "Cancela la operación",
                                           "",
                                           "Volver al menú principal"};
    auto* menu = new QHBoxLayout;
    for (int i = 0; i < 7; ++i) {
        cmdMenu[i] = new QPushButton(QString::fromUtf8(kTitulos[i]), this);
        cmdMenu[i]->setObjectName(QStringLiteral("cmdMenu_%1").arg(i));
        cmdMenu[i]->setToolTip(QString::fromUtf8(kAyudas[i]));
        cmdMenu[i]->setAutoDefault(false);
        menu->addWidget(cmdMenu[i]);
        connect(cmdMenu[i], &QPushButton::clicked, this, [this, i] { cmdMenu_Click(i); });
    }
    PonerModo(ModoOrden::Inicial);
    menu->addSpacing(Pantalla::Twips(300, this));
    cmdHistorial = new QPushButton(QStringLiteral("Historial"), this);
    cmdHistorial->setObjectName(QStringLiteral("cmdHistorial"));
    cmdHistorial->setToolTip(QStringLiteral("Ver quién cambió esta Orden de Compra, cuándo y qué"));
    cmdHistorial->setAutoDefault(false);
    menu->addWidget(cmdHistorial);
    connect(cmdHistorial, &QPushButton::clicked, this, &frmOrden::VerHistorial);
    raiz->addLayout(menu);

    connect(txtDescripcion, &QLineEdit::returnPressed, this, &frmOrden::BuscarProducto);
    connect(cmdBuscarProducto, &QToolButton::clicked, this, &frmOrden::BuscarProducto);
    connect(cmdNuevoProducto, &QToolButton::clicked, this, &frmOrden::NuevoProducto);
    connect(txtProveedor, &QLineEdit::returnPressed, this, &frmOrden::BuscarProveedor);
    connect(cmdBuscarProveedor, &QToolButton::clicked, this, &frmOrden::BuscarProveedor);
    connect(cmdNuevoProveedor, &QToolButton::clicked, this, &frmOrden::NuevoProveedor);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmOrden::AceptarPrecio);
    connect(cmdQuitar, &QPushButton::clicked, this, &frmOrden::QuitarPrecio);
    connect(grdPrecios, &QTreeWidget::itemClicked, this, &frmOrden::CargarFilaPrecio);
    connect(grdPrecios, &QTreeWidget::itemActivated, this, &frmOrden::CargarFilaPrecio);
    connect(chkAutorizo, &QCheckBox::toggled, this, &frmOrden::AutorizoCambiado);
    connect(txtCantidad, &QLineEdit::editingFinished, this, &frmOrden::RevisarAutorizacion);
    connect(dtcAutorizantes, &QComboBox::activated, this, &frmOrden::AutorizanteElegido);

    resize(Pantalla::Twips(11400, this), Pantalla::Twips(9600, this));
}

void frmOrden::CrearColumnasPrecios() {
    if (grdPrecios->columnCount() == kColumnasPrecio)
        return;
    grdPrecios->setColumnCount(kColumnasPrecio);
    grdPrecios->setHeaderLabels(
        {QString(), QString(), QStringLiteral("Proveedor"), QStringLiteral("Contacto"),
         QStringLiteral("Precio"), QStringLiteral("Moneda"), QStringLiteral("Forma de Pago"),
         QStringLiteral("Fecha"), QStringLiteral("Fec.Vigencia"), QStringLiteral("Aceptado")});
    const int anchos[kColumnasPrecio] = {0, 0, 1500, 1200, 1000, 1000, 1200, 1100, 1100, 800};
    for (int c = 0; c < kColumnasPrecio; ++c) {
        anchosPrecios_[c] = Pantalla::Twips(anchos[c], this);
        grdPrecios->setColumnHidden(c, anchos[c] == 0);
    }
    grdPrecios->headerItem()->setTextAlignment(kColPrecio, Qt::AlignRight | Qt::AlignVCenter);
    AjustarColumnasPrecios();
}

void frmOrden::AjustarColumnasPrecios() {
    // The designed widths, widened where a header or a value would otherwise be cut.
    for (int c = 0; c < kColumnasPrecio; ++c) {
        if (grdPrecios->isColumnHidden(c))
            continue;
        grdPrecios->resizeColumnToContents(c);
        grdPrecios->setColumnWidth(c, qMax(anchosPrecios_[c], grdPrecios->columnWidth(c)));
    }
}

void frmOrden::Cargar() {
    CargarListas();
    CrearColumnasPrecios();
    if (agregando)
        NuevaOrden();
    else
        CargarOrden();
}

void frmOrden::CargarListas() {
    using Listas::Lista;
    struct Enlace {
        ListaEnlazada* lista;
        Recordset* rs;
        Lista cual;
    };
    const Enlace enlaces[] = {
        {dtcUnidades, &rsUnidades_, Lista::Unidades},
        {dtcLugarDeEntrega, &rsLugares_, Lista::LugaresDeEntrega},
        {dtcSolicitantes, &rsSolicitantes_, Lista::Solicitantes},
        {dtcAutorizantes, &rsAutorizantes_, Lista::Autorizantes},
        {dtcSectores, &rsSectores_, Lista::Sectores},
        {dtcCentrosDeCosto, &rsCentros_, Lista::CentrosDeCosto},
        {dtcMoneda, &rsMonedas_, Lista::Monedas},
        {dtcFormaDePago, &rsFormasDePago_, Lista::FormasDePago},
    };
    for (const Enlace& e : enlaces) {
        CerrarRecordset(*e.rs, true);
        Listas::Abrir(e.cual, *e.rs);
        const Listas::Columnas columnas = Listas::ColumnasDe(e.cual);
        e.lista->Enlazar(*e.rs, columnas.mostrada, columnas.valor);
        if ((e.lista == dtcSectores || e.lista == dtcCentrosDeCosto) && e.rs->RecordCount() > 0)
            e.lista->SetValor(QStringLiteral("1"));
    }
}

void frmOrden::LimpiarOrden() {
    lblNumeroDeOrden->clear();
    dtpFecha->SetMomento(Reloj::Ahora());
    txtLogin->setText(gLogin);
    cboPrioridades->setCurrentIndex(0);
    txtDescripcion->clear();
    SetTag(txtDescripcion, QStringLiteral("0"));
    txtCantidad->clear();
    dtcUnidades->SetValor(QString());
    dtcLugarDeEntrega->SetValor(QString());
    dtcSolicitantes->SetValor(QString());
    dtcAutorizantes->SetValor(QString());
    autorizanteConfirmado_.clear();
    autorizacionConfirmada_ = QDateTime();
    MarcarAutorizo(false);
    dtcSectores->SetValor(QStringLiteral("1"));
    dtcCentrosDeCosto->SetValor(QStringLiteral("1"));
    txtComentario->clear();
    LimpiarPrecio();
    grdPrecios->clear();
    notasHistorial_.clear();
    firmaAutorizada_.reset();
    filaEnEdicion_ = nullptr;
    siguienteClave_ = 1;
}

void frmOrden::NuevaOrden() {
    LimpiarOrden();
    HabilitarEdicion();
    PonerModo(ModoOrden::Nueva);
    agregando = true;
}

void frmOrden::CargarOrden() {
    Ordenes::OrdenLeida o;
    if (Ordenes::LeerOrden(ordid, &o)) {
        agregando = false;
        lblNumeroDeOrden->setText(QString::number(ordid));
        dtpFecha->SetMomento(o.fecha);
        txtLogin->setText(o.login);
        txtCantidad->setText(Formato::Valor(o.cantidad));
        dtcUnidades->SetValor(o.unidad);
        SetTag(txtDescripcion, QString::number(o.productoId));
        txtDescripcion->setText(o.producto);
        txtComentario->setText(o.comentario);
        dtcLugarDeEntrega->SetValor(o.lugarEntrega);
        if (o.prioridad == QLatin1String("Normal"))
            cboPrioridades->setCurrentIndex(0);
        else if (o.prioridad == QLatin1String("Urgente"))
            cboPrioridades->setCurrentIndex(1);
        dtcSolicitantes->SetValorGuardado(o.solicitanteId);
        dtcAutorizantes->SetValorGuardado(o.autorizanteId > 0 ? QString::number(o.autorizanteId)
                                                              : QString());
        autorizanteConfirmado_ = dtcAutorizantes->Valor();
        autorizacionConfirmada_ = QDateTime();
        if (o.autorizanteId > 0)
            MarcarAutorizo(true);
        dtcSectores->SetValorGuardado(o.sectorId);
        dtcCentrosDeCosto->SetValorGuardado(o.centroCostoId);
        CargarPrecios();
        notasHistorial_.clear(); // decisions about what was on screen before
        RecordarAutorizacion();
        PonerModo(ModoOrden::Cargada);
    }
    BloquearCampos();
}

QList<QWidget*> frmOrden::CamposDeEdicion() const {
    return {
        dtpFecha,          txtDescripcion,    dtcUnidades,     txtCantidad,    dtcLugarDeEntrega,
        dtcSolicitantes,   chkAutorizo,       dtcAutorizantes, cboPrioridades, txtComentario,
        dtcSectores,       dtcCentrosDeCosto, grdPrecios,      txtProveedor,   cmdBuscarProveedor,
        cmdNuevoProveedor, txtContacto,       txtPrecio,       dtcMoneda,      dtpPreFecha,
        dtpPreFecVigencia, dtcFormaDePago,    chkAceptado,     cmdAceptar,     cmdQuitar};
}

void frmOrden::HabilitarEdicion() {
    const bool autorizada = !dtcAutorizantes->Valor().isEmpty();
    // Where editing drops the authorisation, an authorised order is not locked.
    const bool bloqueada = autorizada && !ReglasAprobacion::Leer().reautorizarAlEditar;
    if (bloqueada)
        Mensajes::MsgBox(
            QStringLiteral("La orden ya fué autorizada, no se pueden realizar cambios."),
            Botones::OK, Icono::Informacion, kAtencion);
    for (QWidget* w : CamposDeEdicion())
        w->setEnabled(!bloqueada);
    chkAutorizo->setEnabled(true);
    dtcAutorizantes->setEnabled(autorizada);
    if (autorizada)
        FiltrarAutorizantes();
}

void frmOrden::BloquearCampos() {
    for (QWidget* w : CamposDeEdicion())
        w->setEnabled(false);
}

void frmOrden::EditarOrden() {
    HabilitarEdicion();
    PonerModo(ModoOrden::Edicion);
    agregando = false;
}

void frmOrden::cmdMenu_Click(int indice) {
    switch (indice) {
    case 0:
        NuevaOrden();
        break;
    case 1:
        if (txtLogin->text().compare(gLogin, Qt::CaseInsensitive) == 0)
            EditarOrden();
        else
            Mensajes::MsgBox(
                QStringLiteral("Usted no tiene permiso para modificar este Documento."),
                Botones::OK, Icono::Informacion, kAtencion);
        break;
    case 2:
        if (ValidarOrden() && GuardarOrden())
            PonerModo(ModoOrden::Guardada);
        break;
    case 3:
        if (ValidarOrden() && GuardarOrden())
            NuevaOrden();
        break;
    case 4:
        if (agregando)
            NuevaOrden();
        else
            BloquearCampos();
        break;
    case 5:
        ImprimirOrden();
        break;
    case 6:
        if (txtCantidad->isEnabled()) {
            const Respuesta r =
                Mensajes::MsgBox(QStringLiteral("¿Desea guardar los cambios?"), Botones::SiNo,
                                 Icono::Pregunta, QStringLiteral("Guardar"));
            if (r == Respuesta::Si) {
                if (!ValidarOrden())
                    return;
                cmdMenu_Click(2);
                // A save that did not go through leaves the fields open: keep the window.
                if (txtCantidad->isEnabled())
                    return;
            }
        }
        close();
        break;
    default:
        break;
    }
}

void frmOrden::closeEvent(QCloseEvent* ev) {
    ev->accept();
}

void frmOrden::BuscarProducto() {
    frmGrillaProductos picker(this);
    picker.descripcion = txtDescripcion->text();
    picker.exec();
    TomarEleccion(txtDescripcion, picker.cancelado, picker.proid, picker.descripcion);
    // Past the box's own buttons: with the product chosen, the quantity comes next. Left in
    // the box, the next key would be added to the name and Enter would search again.
    if (!picker.cancelado)
        Pantalla::PasarAlSiguiente(cmdNuevoProducto);
}

void frmOrden::BuscarProveedor() {
    frmGrillaProveedores picker(this);
    picker.nombrefantasia = txtProveedor->text();
    picker.exec();
    TomarEleccion(txtProveedor, picker.cancelado, picker.empid, picker.nombrefantasia);
    if (!picker.cancelado)
        Pantalla::PasarAlSiguiente(cmdNuevoProveedor);
}

void frmOrden::NuevoProducto() {
    frmMantProductos::Instancia()->IngresarNuevo();
}

void frmOrden::NuevoProveedor() {
    frmMantProveedores::Instancia()->cmdMenu_Click(0);
}

void frmOrden::ImprimirOrden() {
    ::ImprimirOrden(lblNumeroDeOrden->text().trimmed().toInt(), this);
}

// ---- Quotes ----

void frmOrden::CargarPrecios() {
    grdPrecios->clear();
    filaEnEdicion_ = nullptr;
    ActualizarFilaEnEdicion();
    const QString numero = lblNumeroDeOrden->text().trimmed();
    if (numero.toInt() > 0) {
        for (const Ordenes::PrecioLeido& leido : Ordenes::LeerPrecios(numero.toInt())) {
            FilaPrecio p;
            static_cast<Ordenes::PrecioLeido&>(p) = leido;
            p.clave = QStringLiteral("P") + QString::number(p.id);
            EscribirFila(new QTreeWidgetItem(grdPrecios), p);
        }
    }
    MarcarPrecios();
    AjustarColumnasPrecios();
    grdPrecios->update();
}

void frmOrden::EscribirFila(QTreeWidgetItem* fila, const FilaPrecio& p) {
    // The list shows texts in the user's locale; the values themselves ride along, so that
    // saving never has to read a number or a date back from its text.
    auto poner = [fila](int col, const QString& texto, const QVariant& valor) {
        fila->setText(col, texto);
        fila->setData(col, kRolValor, valor);
    };
    fila->setData(kColId, kRolClave, p.clave);
    poner(kColId, QString::number(p.id), p.id);
    poner(kColEmpId, QString::number(p.empId), p.empId);
    poner(kColProveedor, p.proveedor, p.proveedor);
    poner(kColContacto, p.contacto, p.contacto);
    poner(kColPrecio, Formato::Numero(p.precio), p.precio);
    fila->setTextAlignment(kColPrecio, Qt::AlignRight | Qt::AlignVCenter);
    poner(kColMoneda, p.moneda, p.moneda);
    poner(kColFormaPago, p.formaPago, p.formaPago);
    poner(kColFecha, TextoFecha(p.fecha), p.fecha);
    poner(kColVigencia, TextoFecha(p.vigencia), p.vigencia);
    poner(kColAceptado, p.aceptado ? QStringLiteral("Si") : QStringLiteral("No"), p.aceptado);
}

FilaPrecio frmOrden::LeerFila(const QTreeWidgetItem* fila) const {
    FilaPrecio p;
    p.clave = fila->data(kColId, kRolClave).toString();
    p.id = fila->data(kColId, kRolValor).toInt();
    p.empId = fila->data(kColEmpId, kRolValor).toInt();
    p.proveedor = fila->data(kColProveedor, kRolValor).toString();
    p.contacto = fila->data(kColContacto, kRolValor).toString();
    p.precio = fila->data(kColPrecio, kRolValor).toDouble();
    p.moneda = fila->data(kColMoneda, kRolValor).toString();
    p.formaPago = fila->data(kColFormaPago, kRolValor).toString();
    p.fecha = fila->data(kColFecha, kRolValor).toDateTime();
    p.vigencia = fila->data(kColVigencia, kRolValor).toDateTime();
    p.aceptado = fila->text(kColAceptado) == QLatin1String("Si");
    return p;
}

QList<FilaPrecio> frmOrden::FilasPrecios() const {
    QList<FilaPrecio> r;
    for (int i = 0; i < grdPrecios->topLevelItemCount(); ++i)
        r << LeerFila(grdPrecios->topLevelItem(i));
    return r;
}

int frmOrden::FilaEnEdicion() const {
    return filaEnEdicion_ ? grdPrecios->indexOfTopLevelItem(filaEnEdicion_) + 1 : 0;
}

void frmOrden::ActualizarFilaEnEdicion() {
    const int fila = FilaEnEdicion();
    SetTag(txtPrecio, fila > 0 ? QString::number(fila) : QString());
}

void frmOrden::LimpiarPrecio() {
    SetTag(txtProveedor, QString());
    txtProveedor->clear();
    txtContacto->clear();
    dtcMoneda->SetValor(QString());
    txtPrecio->setText(QStringLiteral("0.0"));
    dtcFormaDePago->SetValor(QString());
    dtpPreFecha->SetMomento(Reloj::Ahora());
    dtpPreFecVigencia->SetMomento(Reloj::Ahora());
    chkAceptado->setChecked(false);
    filaEnEdicion_ = nullptr;
    ActualizarFilaEnEdicion();
}

void frmOrden::CargarFilaPrecio() {
    const QList<QTreeWidgetItem*> elegidas = grdPrecios->selectedItems();
    if (grdPrecios->topLevelItemCount() == 0 || elegidas.isEmpty())
        return;
    filaEnEdicion_ = elegidas.first();
    ActualizarFilaEnEdicion();
    const FilaPrecio p = LeerFila(filaEnEdicion_);
    SetTag(txtProveedor, QString::number(p.empId));
    txtProveedor->setText(p.proveedor);
    txtContacto->setText(p.contacto);
    txtPrecio->setText(Formato::Numero(p.precio));
    dtcMoneda->SetValor(p.moneda);
    dtpPreFecha->SetMomento(p.fecha);
    dtpPreFecVigencia->SetMomento(p.vigencia);
    dtcFormaDePago->SetValor(p.formaPago);
    chkAceptado->setChecked(p.aceptado);
}

bool frmOrden::ValidarPrecio() {
    QString mensaje;
    const QString precio = txtPrecio->text().trimmed();
    double valor = 0;
    if (precio.isEmpty())
        mensaje += QStringLiteral("El Precio es requerido.\r\n");
    else if (!Formato::LeerNumero(precio, &valor))
        mensaje += QStringLiteral("El Precio debe ser un valor numérico.\r\n");
    else if (valor <= 0)
        mensaje += QStringLiteral("La Precio debe ser mayor que cero.\r\n");
    const QString proveedor = Tag(txtProveedor);
    if (proveedor.isEmpty() || proveedor == QLatin1String("0"))
        mensaje += QStringLiteral("El Proveedor es requerido.\r\n");
    if (dtcMoneda->Valor().isEmpty())
        mensaje += QStringLiteral("La Moneda es requerida.\r\n");
    if (dtcFormaDePago->Valor().isEmpty())
        mensaje += QStringLiteral("La Forma de Pago es requerida.\r\n");
    if (mensaje.isEmpty())
        return true;
    Mensajes::MsgBox(mensaje, Botones::OK, Icono::Exclamacion, kAtencion);
    return false;
}

void frmOrden::AceptarPrecio() {
    QList<Historial::Nota> decisiones;
    if (!ValidarPrecio() || !ConfirmarAceptacion(&decisiones))
        return;
    if (chkAceptado->isChecked()) {
        for (int i = 0; i < grdPrecios->topLevelItemCount(); ++i) {
            QTreeWidgetItem* f = grdPrecios->topLevelItem(i);
            f->setText(kColAceptado, QStringLiteral("No"));
            f->setData(kColAceptado, kRolValor, false);
        }
    }
    QTreeWidgetItem* fila = filaEnEdicion_;
    FilaPrecio p;
    if (fila) {
        p = LeerFila(fila);
    } else {
        p.id = grdPrecios->topLevelItemCount() + 1;
        p.clave = QStringLiteral("N") + QString::number(siguienteClave_++);
        fila = new QTreeWidgetItem(grdPrecios);
    }
    p.empId = Tag(txtProveedor).toInt();
    p.proveedor = txtProveedor->text();
    p.contacto = txtContacto->text();
    Formato::LeerNumero(txtPrecio->text(), &p.precio);
    p.moneda = dtcMoneda->Valor();
    p.formaPago = dtcFormaDePago->Valor();
    p.fecha = dtpPreFecha->Momento();
    p.vigencia = dtpPreFecVigencia->Momento();
    p.aceptado = chkAceptado->isChecked();
    EscribirFila(fila, p);
    if (p.aceptado)
        AnotarAceptacion(p.clave, decisiones);
    MarcarPrecios();
    AjustarColumnasPrecios();
    LimpiarPrecio();
    RevisarAutorizacion();
}

void frmOrden::QuitarPrecio() {
    if (grdPrecios->topLevelItemCount() == 0) {
        Mensajes::MsgBox(QStringLiteral("No hay precios para quitar."), Botones::OK,
                         Icono::Informacion, kAtencion);
        return;
    }
    const QList<QTreeWidgetItem*> elegidas = grdPrecios->selectedItems();
    if (elegidas.isEmpty()) {
        Mensajes::MsgBox(QStringLiteral("Seleccione el precio que desea quitar."), Botones::OK,
                         Icono::Informacion, kAtencion);
        return;
    }
    if (Mensajes::MsgBox(QStringLiteral("¿Confirma que desea quitar el precio seleccionado?"),
                         Botones::SiNo, Icono::Pregunta,
                         QStringLiteral("Quitar precio")) != Respuesta::Si)
        return;
    QTreeWidgetItem* fila = elegidas.first();
    // The entry being edited follows its row; once that row is gone the entry becomes a new one.
    if (fila == filaEnEdicion_)
        filaEnEdicion_ = nullptr;
    delete fila;
    ActualizarFilaEnEdicion();
    MarcarPrecios();
    grdPrecios->update();
    RevisarAutorizacion();
}

void frmOrden::VerHistorial() {
    if (agregando || ordid <= 0) {
        Mensajes::MsgBox(QStringLiteral("La Orden de Compra todavía no fue guardada: no tiene "
                                        "historial."),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Atención"));
        return;
    }
    frmHistorial::Mostrar(ordid);
}
