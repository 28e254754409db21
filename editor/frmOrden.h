#pragma once

#include "CambiosOrden.h"
#include "Ordenes.h"
#include "Recordset.h"
#include "ReglasAprobacion.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>

template <class T> class VentanaUnica;
class ListaEnlazada;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class SelectorFecha;
namespace Ui {
class frmOrden;
}

// One quote of the list as its real values, whatever the list shows in the user's locale.
// `id` is the PreId, or the row's number when it was added here.
struct FilaPrecio : Ordenes::PrecioLeido {
    QString clave; // "P" + PreId for a stored quote
};

// What the editor is doing, which decides its command buttons (see kBotonesDeModo).
enum class ModoOrden {
    Inicial,  // just built, nothing loaded
    Nueva,    // a new order being entered
    Edicion,  // a stored order being changed
    Guardada, // the order on screen has just been stored
    Cargada   // a stored order shown
};

// The purchase order editor: one order with its supplier quotes. It exists once; the main window
// opens it with Abrir. The controls are laid out in frmOrden.ui.
class frmOrden : public QWidget {
    Q_OBJECT
public:
    // Set by the opener before the window loads; the window keeps them current afterwards.
    bool agregando = true;
    int ordid = 0;

    static frmOrden* Instancia();
    // Opens a new order or the order `ordid`. While the editor is open it is only brought
    // forward: the order on screen is never replaced by another caller.
    static void Abrir(bool agregando, int ordid);
    static bool Abierta();

    ~frmOrden() override;

    void CargarListas();
    void NuevaOrden();
    void LimpiarOrden();
    void CargarOrden();
    void HabilitarEdicion();
    void BloquearCampos();
    void EditarOrden();
    void CargarPrecios();
    void LimpiarPrecio();
    bool ValidarPrecio();
    bool ValidarOrden();
    bool GuardarOrden();

    // The quote list as values, first row to last.
    QList<FilaPrecio> FilasPrecios() const;
    // 1-based position of the quote row being edited, 0 when a new quote is being entered.
    int FilaEnEdicion() const;

    // The controls the editor's code reaches, under their names in frmOrden.ui.
    QLabel* lblNumeroDeOrden;
    SelectorFecha *dtpFecha, *dtpPreFecha, *dtpPreFecVigencia;
    QLineEdit *txtLogin, *txtDescripcion, *txtCantidad, *txtComentario, *txtProveedor, *txtContacto,
        *txtPrecio;
    QComboBox* cboPrioridades;
    QToolButton *cmdBuscarProducto, *cmdNuevoProducto, *cmdBuscarProveedor, *cmdNuevoProveedor;
    ListaEnlazada *dtcUnidades, *dtcLugarDeEntrega, *dtcSolicitantes, *dtcAutorizantes,
        *dtcSectores, *dtcCentrosDeCosto, *dtcMoneda, *dtcFormaDePago;
    QCheckBox *chkAutorizo, *chkAceptado;
    QPushButton *cmdAceptar, *cmdQuitar;
    QTreeWidget* grdPrecios;
    // The command row by index: cmdMenu_0 to cmdMenu_6.
    QPushButton* cmdMenu[7];

public slots:
    void cmdMenu_Click(int indice);
    void BuscarProducto();
    void BuscarProveedor();
    void AceptarPrecio();
    void QuitarPrecio();
    void CargarFilaPrecio();
    // Authorisation: the user ticked or unticked "Autorizó:", or chose in the authoriser list.
    void AutorizoCambiado(bool marcado);
    void AutorizanteElegido();
    // Windows of other parts of the program, opened from here.
    void NuevoProducto();
    void NuevoProveedor();
    void ImprimirOrden();
    void VerHistorial();

protected:
    void closeEvent(QCloseEvent* ev) override;
    void changeEvent(QEvent* ev) override;

private:
    explicit frmOrden(QWidget* parent = nullptr);
    void Cargar();
    void PonerModo(ModoOrden modo);
    void ConstruirControles();
    void ConectarControles();
    void CrearColumnasPrecios();
    QList<QWidget*> CamposDeEdicion() const;
    void EscribirFila(QTreeWidgetItem* fila, const FilaPrecio& p);
    FilaPrecio LeerFila(const QTreeWidgetItem* fila) const;
    void ActualizarFilaEnEdicion();
    void AjustarColumnasPrecios();
    // Asks the authoriser chosen in dtcAutorizantes for their password.
    bool ConfirmarAutorizante();
    // Ticks or unticks "Autorizó:" without asking for a password: the program's own changes.
    void MarcarAutorizo(bool marcado);
    // Shows which quotes expired and which is the cheapest of its currency.
    void MarcarPrecios();
    // Accepting an expired or dearer quote: asks first; false when the person backs out.
    // `decisiones` receives what the history is to keep of the answers.
    bool ConfirmarAceptacion(QList<Historial::Nota>* decisiones);

    // The office's approval rules (all off unless an administrator switched them on).
    std::optional<FilaPrecio> PrecioAceptado() const;
    // Leaves out of the authoriser list whoever the rules do not allow for this order.
    void FiltrarAutorizantes();
    // Under the limit rule the quote's currency is one already in use, spelt as it is there; a
    // new one is added only when the person says so. False when they do not.
    bool MonedaEnUso();
    // Builds the authoriser list again while it is in use, as what it depends on changes.
    void SeguirAutorizantes();
    // ValidarOrden's lines for the rules the chosen authoriser breaks.
    QString ErroresDeReglas(bool autorizanteQueda);
    // The order and its quotes as they are on screen, as the save would write them.
    EstadoOrden EstadoActual() const;
    // Remembers the order as it stands as what the authorisation on screen was given for.
    void RecordarAutorizacion();
    // What changed since the authorisation was given, when the rules say that a change drops
    // it; empty otherwise.
    QStringList CambiosQueQuitanAutorizacion() const;
    // At save: tells what changed, drops the authorisation and keeps why for the history.
    void QuitarAutorizacionCambiada();
    // At save: the reason for accepting a quote that is not the cheapest valid one of its
    // currency, asked when the rule wants one and none was given; false when refused.
    bool JustificarPrecioAceptado();
    // The order's stored reason, while its quotes are still those loaded with it.
    QString MotivoGuardadoVigente() const;
    // The reason given for accepting the quote row `fila`, pending or stored; empty when none.
    QString MotivoDe(const QString& fila) const;
    void LeerMotivoGuardado();
    // The decisions taken when the quote row `fila` was stored as the accepted one; they replace
    // those of an earlier acceptance.
    void AnotarAceptacion(const QString& fila, const QList<Historial::Nota>& decisiones);
    // The decisions the save keeps: those about a quote only while it is still the accepted one.
    QList<Historial::Nota> NotasParaGuardar() const;

    static VentanaUnica<frmOrden>& Unica();
    const std::unique_ptr<Ui::frmOrden> ui;
    Recordset rsUnidades_, rsLugares_, rsSolicitantes_, rsAutorizantes_, rsSectores_, rsCentros_,
        rsMonedas_, rsFormasDePago_;
    QTreeWidgetItem* filaEnEdicion_ = nullptr;
    int siguienteClave_ = 1;
    int anchosPrecios_[10] = {};
    // The authoriser whose password was confirmed, or who was stored with the order.
    QString autorizanteConfirmado_;
    // When a password was last confirmed to give or remove the authorisation.
    QDateTime autorizacionConfirmada_;
    bool autorizoPorPrograma_ = false;
    // A rule's decision waiting for the save; `fila` is the key of the quote row it is about.
    struct NotaPendiente {
        Historial::Nota nota;
        QString fila;
    };
    QList<NotaPendiente> notasHistorial_;
    // The order as it was when the authorisation on screen was given or loaded.
    std::optional<EstadoOrden> autorizada_;
    // The reason kept with the stored order for its accepted quote, and the quotes it was for.
    QString motivoGuardado_;
    QList<Ordenes::PrecioAGuardar> preciosDelMotivo_;
    // The stored order as it was loaded or last saved here: the save keeps nothing if another
    // workstation changed it since.
    std::optional<Historial::Orden> cargada_;
    // Tells the person who changed the order meanwhile; reloads it if they want.
    void AvisarCambiadaPorOtro(const Ordenes::ResultadoGuardado& r);
};
