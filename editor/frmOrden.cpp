#include "frmOrden.h"

#include "VistaPrevia.h"
#include "frmMantProductos.h"
#include "frmMantProveedores.h"

#include "Conexiones.h"
#include "Controles.h"
#include "Formato.h"
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

#include "ui_frmOrden.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using Mensajes::Botones;
using Mensajes::Icono;
using Mensajes::Respuesta;

namespace {

const QString kAtencion = QStringLiteral("Atención");

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

frmOrden::frmOrden(QWidget* parent) : QWidget(parent), ui(new Ui::frmOrden) {
    setAttribute(Qt::WA_DeleteOnClose);
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
        // A list that cannot be read was told to the person and stays empty.
        static_cast<void>(Listas::Abrir(e.cual, *e.rs));
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
    autorizada_.reset();
    motivoGuardado_.clear();
    preciosDelMotivo_.clear();
    filaEnEdicion_ = nullptr;
    siguienteClave_ = 1;
}

void frmOrden::NuevaOrden() {
    LimpiarOrden();
    cargada_.reset();
    HabilitarEdicion();
    PonerModo(ModoOrden::Nueva);
    agregando = true;
}

void frmOrden::CargarOrden() {
    Ordenes::OrdenLeida o;
    Historial::Orden version;
    if (Ordenes::LeerVersion(ordid, &version) && Ordenes::LeerOrden(ordid, &o)) {
        cargada_ = std::move(version);
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
        LeerMotivoGuardado();
        MarcarPrecios();
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
