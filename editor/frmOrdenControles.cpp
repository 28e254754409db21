#include "frmOrden.h"

#include "Iconos.h"
#include "Listas.h"
#include "Pantalla.h"
#include "Sugerencias.h"

#include "ui_frmOrden.h"

#include <QHeaderView>

// The layout, texts, buddies and Tab order are in frmOrden.ui; Tab visits the controls in the
// order the file creates them. What a .ui file cannot say is set here: sizes in twips, which
// depend on the screen, icons, and the lists' ways of finding retired records.
void frmOrden::ConstruirControles() {
    ui->setupUi(this);
    lblNumeroDeOrden = ui->lblNumeroDeOrden;
    dtpFecha = ui->dtpFecha;
    dtpPreFecha = ui->dtpPreFecha;
    dtpPreFecVigencia = ui->dtpPreFecVigencia;
    txtLogin = ui->txtLogin;
    txtDescripcion = ui->txtDescripcion;
    txtCantidad = ui->txtCantidad;
    txtComentario = ui->txtComentario;
    txtProveedor = ui->txtProveedor;
    txtContacto = ui->txtContacto;
    txtPrecio = ui->txtPrecio;
    cboPrioridades = ui->cboPrioridades;
    cmdBuscarProducto = ui->cmdBuscarProducto;
    cmdNuevoProducto = ui->cmdNuevoProducto;
    cmdBuscarProveedor = ui->cmdBuscarProveedor;
    cmdNuevoProveedor = ui->cmdNuevoProveedor;
    dtcUnidades = ui->dtcUnidades;
    dtcLugarDeEntrega = ui->dtcLugarDeEntrega;
    dtcSolicitantes = ui->dtcSolicitantes;
    dtcAutorizantes = ui->dtcAutorizantes;
    dtcSectores = ui->dtcSectores;
    dtcCentrosDeCosto = ui->dtcCentrosDeCosto;
    dtcMoneda = ui->dtcMoneda;
    dtcFormaDePago = ui->dtcFormaDePago;
    chkAutorizo = ui->chkAutorizo;
    chkAceptado = ui->chkAceptado;
    cmdAceptar = ui->cmdAceptar;
    cmdQuitar = ui->cmdQuitar;
    grdPrecios = ui->grdPrecios;
    cmdMenu[0] = ui->cmdMenu_0;
    cmdMenu[1] = ui->cmdMenu_1;
    cmdMenu[2] = ui->cmdMenu_2;
    cmdMenu[3] = ui->cmdMenu_3;
    cmdMenu[4] = ui->cmdMenu_4;
    cmdMenu[5] = ui->cmdMenu_5;
    cmdMenu[6] = ui->cmdMenu_6;

    lblNumeroDeOrden->setMinimumWidth(Pantalla::Twips(1200, this));
    grdPrecios->setMinimumHeight(Pantalla::Twips(1800, this));
    grdPrecios->header()->setSectionsClickable(false);
    ui->menu->insertSpacing(ui->menu->indexOf(ui->cmdHistorial), Pantalla::Twips(300, this));

    cmdBuscarProducto->setIcon(Iconos::De(QStringLiteral("buscar")));
    cmdNuevoProducto->setIcon(Iconos::De(QStringLiteral("nuevo")));
    cmdBuscarProveedor->setIcon(Iconos::De(QStringLiteral("buscar")));
    cmdNuevoProveedor->setIcon(Iconos::De(QStringLiteral("nuevo")));

    SetTag(txtDescripcion, QStringLiteral("0"));
    for (ListaEnlazada* libre : {dtcUnidades, dtcLugarDeEntrega, dtcMoneda, dtcFormaDePago})
        Sugerencias::Ofrecer(libre);
    dtcSolicitantes->SetBuscarRetirado(&Listas::NombreDeUsuario);
    dtcAutorizantes->SetBuscarRetirado(&Listas::NombreDeUsuario);
    dtcSectores->SetBuscarRetirado(&Listas::NombreDeSector);
    dtcCentrosDeCosto->SetBuscarRetirado(&Listas::NombreDeCentroDeCosto);

    for (int i = 0; i < 7; ++i)
        connect(cmdMenu[i], &QPushButton::clicked, this, [this, i] { cmdMenu_Click(i); });
    PonerModo(ModoOrden::Inicial);
    ConectarControles();

    resize(Pantalla::Twips(11400, this), Pantalla::Twips(9600, this));
}

void frmOrden::ConectarControles() {
    connect(ui->cmdHistorial, &QPushButton::clicked, this, &frmOrden::VerHistorial);
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
    connect(dtcSolicitantes, &QComboBox::currentIndexChanged, this, &frmOrden::SeguirAutorizantes);
    connect(dtcAutorizantes, &QComboBox::activated, this, &frmOrden::AutorizanteElegido);
}
