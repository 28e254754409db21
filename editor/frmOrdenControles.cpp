#include "frmOrden.h"

#include "Iconos.h"
#include "Listas.h"
#include "Pantalla.h"
#include "Sugerencias.h"

#include <QHeaderView>

// The layout, texts, buddies and Tab order are in frmOrden.ui; Tab visits the controls in the
// order the file creates them. What a .ui file cannot say is set here: sizes in twips, which
// depend on the screen, icons, and the lists' ways of finding retired records.
void frmOrden::ConstruirControles() {
    setupUi(this);
    cmdMenu[0] = cmdMenu_0;
    cmdMenu[1] = cmdMenu_1;
    cmdMenu[2] = cmdMenu_2;
    cmdMenu[3] = cmdMenu_3;
    cmdMenu[4] = cmdMenu_4;
    cmdMenu[5] = cmdMenu_5;
    cmdMenu[6] = cmdMenu_6;

    lblNumeroDeOrden->setMinimumWidth(Pantalla::Twips(1200, this));
    grdPrecios->setMinimumHeight(Pantalla::Twips(1800, this));
    grdPrecios->header()->setSectionsClickable(false);
    menu->insertSpacing(menu->indexOf(cmdHistorial), Pantalla::Twips(300, this));

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
    connect(cmdHistorial, &QPushButton::clicked, this, &frmOrden::VerHistorial);
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
