#pragma once

#include "Historial.h"
#include "ModeloLista.h"
#include "Recordset.h"
#include "SeleccionLista.h"
#include "VentanaUnica.h"

#include <QList>
#include <QString>
#include <QWidget>
#include <memory>

struct DisenoInforme;
class QCheckBox;
class QGridLayout;
class QIcon;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
namespace Ui {
class frmMantenimiento;
}

// The master-data maintenance windows all share one shape, built here once:
//
//   lblLista + dtgLista   read-only grid over the window's list record set (ModeloLista)
//   txtFields_0..n        entry text boxes; txtFields_0 is the record's key unless the window
//                         says it has none (an empty key means "the next save inserts")
//   extra check boxes     e.g. the users' rights, editable in the entry state
//   chkDesactivado        the record's disabled flag
//   cmdMenu_0..n          the command buttons; cmdMenu_Click(index) runs one
//
// A window is a subclass that passes a ConfiguracionMant (captions, columns, fields, buttons,
// its table, stored commands, messages, tooltips) and overrides only what it does differently
// (the virtual commands and hooks below). Browse and entry states follow each button's
// enNavegacion/enEdicion flags; Enter moves to the next control as Tab does.
//
// Controls a window adds itself (AgregarControl, before the first show) are reached by Enter too;
// its PonerEstado override makes them editable or not. A window whose records live in another
// record set gives the grid its own ModeloLista (CambiarModelo) and overrides Form_Load,
// FilaActualCambiada and MostrarRegistro.
//
// A window laid out by its own form (disenoPropio) gets nothing built: after its setupUi it calls
// TomarControles(), which takes over the controls the form names as above, keeping the form's
// texts, look and tab order.
//
// One instance per window: the subclass keeps a `VentanaUnica<T>` and its static Instancia()
// calls MostrarUnica(unica) (or AbrirModalUnica for a modal opening). Closing deletes the
// window (which closes and releases its list record set); the next opening loads it afresh.

enum class AccionMant {
    Nuevo,
    Editar,
    Guardar,
    Imprimir,
    Buscar,
    Actualizar,
    Cancelar,
    Atras,
    Eliminar
};

struct BotonMant {
    QString caption;
    AccionMant accion;
    QString tooltip;
    // Enabled in each state. BotonMant::De() fills them the usual way.
    bool enNavegacion = true;
    bool enEdicion = false;
    // The usual states: Guardar/Cancelar only while entering, Atras always, the rest only while
    // browsing.
    static BotonMant De(const QString& caption, AccionMant accion, const QString& tooltip = {});
    // The eight usual buttons, indexes 0 to 7: "Nuevo", "Editar", "Guardar", "Imprimir",
    // "Buscar", "Actualizar", "Cancelar", "Atras", with the window's own tooltips for the first,
    // second and fourth and the shared ones for the rest.
    static QList<BotonMant> Comunes(const QString& tipNuevo, const QString& tipEditar,
                                    const QString& tipImprimir);
};

// One entry text box.
struct CampoMant {
    QString etiqueta;
    QString campo;       // column of the list record set it shows
    int maximo = 0;      // longest text accepted; 0 = no limit
    bool oculto = false; // typed characters shown as '*'
};

// An extra check box besides chkDesactivado (objectName `nombre`).
struct CasillaMant {
    QString nombre;
    QString etiqueta;
    QString campo;
};

struct ConfiguracionMant {
    QString nombre; // objectName of the window (its class name)
    QString tabla;  // the table the list shows and a save writes (with its history); its key is
                    // the first field
    QString titulo;
    QString tituloLista;
    QList<ColumnaLista> columnas;
    QList<CampoMant> campos;
    bool campo0EsClave = true;
    QList<CasillaMant> casillas;
    QString etiquetaDesactivado = QStringLiteral("Desactivado: ");
    QString campoDesactivado;
    QList<BotonMant> botones;

    QString tituloBuscar = QStringLiteral("Buscar");

    DisenoInforme (*informe)() = nullptr; // list report printed by "Imprimir"
    bool informeModal = false;            // shown modally, and then the list is reloaded as it was

    QString comandoInsertar;
    QString comandoActualizar;
    int campoObligatorio = 1;
    QString mensajeObligatorio;

    // What a window may do differently from the plain pattern.
    bool nuevoVaciaCampos = false; // "Nuevo" empties every field, not only the key
    bool desactivadoEditableAlCrear = false;
    bool cancelarVaciaCampos = false; // "Cancelar" empties the key and the fields
    bool cancelarRecarga = false;     // "Cancelar" reloads the list as it was

    // Laid out by the window's form, which also gives its name, title and button texts; see
    // TomarControles().
    bool disenoPropio = false;
    int columnaAncha = -1; // the list column that takes the spare width; -1: the last text one

    int camposPorFila = 1; // label/field pairs side by side in the entry area
    int anchoTwips = 7200;
    int altoTwips = 6600;
};

class frmMantenimiento : public QWidget {
    Q_OBJECT
public:
    explicit frmMantenimiento(ConfiguracionMant config, QWidget* padre = nullptr);
    ~frmMantenimiento() override;

    // Runs the command of button `Index` whatever the state of the buttons.
    void cmdMenu_Click(int Index);

    // Reloads the list with those records of the window's table: the grid shows nothing while
    // the record set is replaced and stays empty when the query fails. The fields and the state
    // are left alone.
    void RecargarLista(const SeleccionLista& seleccion);
    // Copies the list record set's current record into the fields.
    virtual void MostrarRegistro();

    bool EnEdicion() const { return enEdicion_; }
    const Recordset& Lista() const { return rs_; }
    // What the list was last loaded with (also when that load failed).
    const SeleccionLista& SeleccionActual() const { return seleccion_; }
    const ConfiguracionMant& Configuracion() const { return config_; }
    // Loads the list as the window opens it and shows its first record; runs on the first show.
    virtual void Form_Load();

    QTableView* dtgLista() const { return dtgLista_; }
    QLabel* lblLista() const { return lblLista_; }
    QLineEdit* txtFields(int i) const { return txtFields_.value(i); }
    int CantidadCampos() const { return static_cast<int>(txtFields_.size()); }
    QCheckBox* chkDesactivado() const { return chkDesactivado_; }
    QCheckBox* Casilla(const QString& nombre) const;
    QPushButton* cmdMenu(int i) const { return cmdMenu_.value(i); }
    int IndiceDe(AccionMant accion) const; // -1 when the window has no such button

    // The look every maintenance window shares, also for one built on its own: the icon of a
    // command button, and the style sheet of the entry boxes.
    static QIcon IconoBoton(AccionMant accion);
    static QString Estilo();

    // Shows the one window held by `v`, creating it on first use; brings it forward otherwise.
    template <class T> static T* MostrarUnica(VentanaUnica<T>& v) {
        return v.Mostrar([] { return new T; });
    }
    // Opens the one window modally and returns when it has closed. An instance already open
    // without being modal is closed first (discarding an unsaved entry, as closing does).
    template <class T> static void AbrirModalUnica(VentanaUnica<T>& v, QWidget* padre) {
        v.Descartar();
        v.Modal([] { return new T; }, [padre](T* t) { t->EjecutarModal(padre); });
    }

signals:
    // The window has closed (it is deleted right after).
    void Cerrada();

protected:
    // The commands. Subclasses override the ones that differ.
    virtual void Nuevo();
    virtual void Editar();
    virtual void Guardar();
    virtual void Imprimir();
    virtual void Buscar();
    virtual void MostrarTodos();
    virtual void Cancelar();
    virtual void Atras();
    virtual void Eliminar() {}
    // Hands the list record set, as it stands, to the window's list report.
    virtual void ImprimirLista();

    // The values for the stored commands: the fields after the key in order (insert), the key,
    // those fields, the extra check boxes and the flag (update).
    virtual QVariantList ValoresInsertar() const;
    virtual QVariantList ValoresActualizar() const;
    // Runs the stored command of a save; false (after the user was told) keeps the entry.
    virtual bool GuardarRegistro();
    // What a window keeps beside its record (`clave`: the record's key, also a new one), written
    // in the record's transaction; false undoes the whole save.
    virtual bool GuardarDependientes(int clave) {
        Q_UNUSED(clave);
        return true;
    }

    // Browse (false) or entry (true) state: buttons and which controls may be edited.
    // `alCrear` says the entry started with "Nuevo".
    virtual void PonerEstado(bool edicion, bool alCrear = false);

    // Adds a labelled control to the entry area (for controls beyond the configured ones); the
    // label becomes its buddy.
    void AgregarControl(const QString& etiqueta, QWidget* control);
    QGridLayout* AreaCampos() const { return areaCampos_; }
    // Takes over the controls of the window's own form (disenoPropio), then browses.
    void TomarControles();
    ModeloLista* Modelo() const { return modelo_; }

    // Selects in the grid, without touching the fields, the row whose key is `clave`.
    void SeleccionarClave(const QString& clave);
    void CambiarModelo(ModeloLista* modelo);
    // The grid's current row changed (0-based): moves the record set there and shows the record.
    virtual void FilaActualCambiada(int fila);
    void EnfocarPrimerCampo();
    void TraerAlFrente();
    void EjecutarModal(QWidget* padre);

    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

    static QString TextoDe(const QVariant& valor);
    static int Marca(const QCheckBox* casilla);

private:
    void Construir();
    void ConstruirLista();
    void ConstruirEntrada();
    void ConstruirBotones();
    void PrepararLista();
    void PrepararCampo(QLineEdit* txt, const CampoMant& campo);
    void PrepararBoton(QPushButton* cmd, int indice);

    // Tells the person that another workstation changed the record since it was shown, and
    // who; shows it afresh if they want, leaving what they typed otherwise.
    void AvisarCambiadoPorOtro(int clave);

    const std::unique_ptr<Ui::frmMantenimiento> ui;
    ConfiguracionMant config_;
    Recordset rs_;
    // The record as MostrarRegistro last showed it: the save keeps nothing if another
    // workstation changed it since.
    Historial::Registro mostrado_;
    bool cambiadoPorOtro_ = false; // set by the last GuardarRegistro
    SeleccionLista seleccion_;
    ModeloLista* modelo_ = nullptr;
    QLabel* lblLista_ = nullptr;
    QTableView* dtgLista_ = nullptr;
    QGridLayout* areaCampos_ = nullptr;
    QList<QLineEdit*> txtFields_;
    QList<QCheckBox*> casillas_;
    QCheckBox* chkDesactivado_ = nullptr;
    QList<QPushButton*> cmdMenu_;
    bool enEdicion_ = false;
    bool silencio_ = false;
    bool cargada_ = false;
    int filaCampos_ = 0;
    int columnaCampos_ = 0;
};
