#include "frmOrden.h"

#include "Controles.h"
#include "Iconos.h"
#include "Listas.h"
#include "Pantalla.h"
#include "Sugerencias.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

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

// A list that also takes typed text, with its rows as suggestions.
ListaEnlazada* ListaLibre(QWidget* padre) {
    auto* l = new ListaEnlazada(padre);
    l->setEditable(true);
    l->setInsertPolicy(QComboBox::NoInsert);
    Sugerencias::Ofrecer(l);
    return l;
}

} // namespace

// Controls are created in the order Tab visits them.
void frmOrden::ConstruirControles() {
    auto* raiz = new QVBoxLayout(this);
    ConstruirCabecera(raiz);
    raiz->addWidget(ConstruirCargo());

    auto* comentario = new QHBoxLayout;
    txtComentario = new QLineEdit(this);
    txtComentario->setObjectName(QStringLiteral("txtComentario"));
    comentario->addWidget(Etiqueta(QStringLiteral("Comentario:"), txtComentario, this));
    comentario->addWidget(txtComentario, 1);
    raiz->addLayout(comentario);

    raiz->addWidget(ConstruirPrecios(), 1);
    raiz->addLayout(ConstruirMenu());
    ConectarControles();

    resize(Pantalla::Twips(11400, this), Pantalla::Twips(9600, this));
}

void frmOrden::ConstruirCabecera(QVBoxLayout* raiz) {
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

    ConstruirSolicitud(cab);
}

void frmOrden::ConstruirSolicitud(QGridLayout* cab) {
    txtCantidad = new QLineEdit(this);
    txtCantidad->setObjectName(QStringLiteral("txtCantidad"));
    txtCantidad->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cab->addWidget(Etiqueta(QStringLiteral("Cantidad:"), txtCantidad, this), 3, 0);
    cab->addWidget(txtCantidad, 3, 1);

    dtcUnidades = ListaLibre(this);
    dtcUnidades->setObjectName(QStringLiteral("dtcUnidades"));
    cab->addWidget(Etiqueta(QStringLiteral("Unidad de Compra:"), dtcUnidades, this), 3, 2);
    cab->addWidget(dtcUnidades, 3, 3);

    dtcLugarDeEntrega = ListaLibre(this);
    dtcLugarDeEntrega->setObjectName(QStringLiteral("dtcLugarDeEntrega"));
    cab->addWidget(Etiqueta(QStringLiteral("Lugar de entrega:"), dtcLugarDeEntrega, this), 4, 0);
    cab->addWidget(dtcLugarDeEntrega, 4, 1);

    dtcSolicitantes = new ListaEnlazada(this);
    dtcSolicitantes->setObjectName(QStringLiteral("dtcSolicitantes"));
    dtcSolicitantes->SetBuscarRetirado(&Listas::NombreDeUsuario);
    cab->addWidget(Etiqueta(QStringLiteral("Solicitó:"), dtcSolicitantes, this), 4, 2);
    cab->addWidget(dtcSolicitantes, 4, 3);

    chkAutorizo = new QCheckBox(QStringLiteral("Autorizó:"), this);
    chkAutorizo->setObjectName(QStringLiteral("chkAutorizo"));
    chkAutorizo->setLayoutDirection(Qt::RightToLeft);
    dtcAutorizantes = new ListaEnlazada(this);
    dtcAutorizantes->setObjectName(QStringLiteral("dtcAutorizantes"));
    dtcAutorizantes->setAccessibleName(QStringLiteral("Autorizó:"));
    dtcAutorizantes->SetBuscarRetirado(&Listas::NombreDeUsuario);
    cab->addWidget(chkAutorizo, 5, 2, Qt::AlignRight);
    cab->addWidget(dtcAutorizantes, 5, 3);
    cab->setColumnStretch(1, 1);
    cab->setColumnStretch(3, 1);
}

QGroupBox* frmOrden::ConstruirCargo() {
    auto* cargo = new QGroupBox(QStringLiteral("Con cargo a:"), this);
    auto* gc = new QGridLayout(cargo);
    dtcSectores = new ListaEnlazada(cargo);
    dtcSectores->setObjectName(QStringLiteral("dtcSectores"));
    dtcSectores->SetBuscarRetirado(&Listas::NombreDeSector);
    dtcCentrosDeCosto = new ListaEnlazada(cargo);
    dtcCentrosDeCosto->setObjectName(QStringLiteral("dtcCentrosDeCosto"));
    dtcCentrosDeCosto->SetBuscarRetirado(&Listas::NombreDeCentroDeCosto);
    gc->addWidget(Etiqueta(QStringLiteral("Sector:"), dtcSectores, cargo), 0, 0);
    gc->addWidget(dtcSectores, 0, 1);
    gc->addWidget(Etiqueta(QStringLiteral("Centro de Costo:"), dtcCentrosDeCosto, cargo), 0, 2);
    gc->addWidget(dtcCentrosDeCosto, 0, 3);
    gc->setColumnStretch(1, 1);
    gc->setColumnStretch(3, 1);
    return cargo;
}

QGroupBox* frmOrden::ConstruirPrecios() {
    // Quotes: the entry fields above the list they fill.
    auto* precios = new QGroupBox(QStringLiteral("Precios:"), this);
    auto* gp = new QGridLayout(precios);
    ConstruirDatosPrecio(gp, precios);
    ConstruirAccionesPrecio(gp, precios);

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
    return precios;
}

void frmOrden::ConstruirDatosPrecio(QGridLayout* gp, QGroupBox* precios) {
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

    dtcMoneda = ListaLibre(precios);
    dtcMoneda->setObjectName(QStringLiteral("dtcMoneda"));
    dtcMoneda->setMinimumContentsLength(8);
    gp->addWidget(Etiqueta(QStringLiteral("Moneda:"), dtcMoneda, precios), 1, 2);
    gp->addWidget(dtcMoneda, 1, 3);

    dtcFormaDePago = ListaLibre(precios);
    dtcFormaDePago->setObjectName(QStringLiteral("dtcFormaDePago"));
    gp->addWidget(Etiqueta(QStringLiteral("Forma de pago:"), dtcFormaDePago, precios), 1, 4);
    gp->addWidget(dtcFormaDePago, 1, 5);
}

void frmOrden::ConstruirAccionesPrecio(QGridLayout* gp, QGroupBox* precios) {
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
}

QHBoxLayout* frmOrden::ConstruirMenu() {
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
    return menu;
}

void frmOrden::ConectarControles() {
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
}
