#pragma once

#include "Ordenes.h"
#include "Recordset.h"
#include "Tabla.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>

class MedidasTexto;
class ModeloOrdenes;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QToolBar;
class QTreeView;
class QWindow;
namespace Ui {
class frmPrincipal;
}

// The main window: the orders of one state, ticked for the toolbar's commands.
class frmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    // The one main window, created (and its list filled) on first use.
    static frmPrincipal* Instancia();
    ~frmPrincipal() override;

    // While true, coming back to this window from another window of the program refills the
    // list; printing turns it off so that its check marks survive.
    bool recargarAlActivar = true;

    // Refills the list with the chosen state's orders: all of them for the condition "1", which
    // every caller but the search passes; any other text keeps those whose description contains
    // it, as typed.
    void CargarLista(const QString& condicion);
    // Ids of the ticked rows, first to last, as decimal text.
    QStringList IdsMarcados() const;
    // The SQL text of the view on screen, search restriction included.
    QString SqlActual() const;
    // The state chosen in cboEstado.
    QString EstadoActual() const;
    // The state of the orders the list shows, as it was when the list was filled.
    QString EstadoDeLaLista() const { return estadoLista_; }
    ModeloOrdenes* Modelo() const { return modelo_; }

    void tbrPrincipal_ButtonClick(const QString& key);
    void grdLista_DblClick();

    // Saves the rows on screen (only the ticked ones when some are ticked) to a spreadsheet.
    void mnuArchivoExportar_Click();
    // The history of the highlighted order.
    void mnuArchivoHistorial_Click();
    // The rows and columns that export writes: the list's, with the price's currency.
    Tabla TablaParaExportar() const;
    void mnuArchivoSalir_Click();
    void mnuAyudaSitioWeb_Click();

    // The address "Sitio web" opens: the settings value "sitio_web" when present.
    static QString DireccionSitioWeb();

    QLabel* Label1;
    QComboBox* cboEstado;
    QTreeView* grdLista;
    QProgressBar* pbProgreso;
    QToolBar* tbrPrincipal;
    QMenu* mnuArchivo;
    QMenu* mnuHerramientas;
    QMenu* mnuAyuda;
    QAction* mnuArchivoExportar;
    QAction* mnuArchivoHistorial;
    QAction* mnuArchivoSalir;
    QAction* mnuHerramientasMantCategorias;
    QAction* mnuHerramientasMantCentrosCosto;
    QAction* mnuHerramientasMantProductos;
    QAction* mnuHerramientasMantProveedores;
    QAction* mnuHerramientasMantSectores;
    QAction* mnuHerramientasMantUsuarios;
    QAction* mnuHerramientasOpciones;
    QAction* mnuHerramientasReglas;
    QAction* mnuHerramientasAuditoria;
    QAction* mnuHerramientasResumenCompras;
    QAction* mnuAyudaSitioWeb;
    QAction* mnuAyudaAcercaDe;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmPrincipal(QWidget* parent = nullptr);

    // Takes the controls from the layout and gives the list its model and column widths.
    void PrepararLista();
    void ConectarMenu();
    void CrearBarra();
    void NuevaOrden();
    void Imprimir();
    void Procesar();
    void Eliminar();
    void Buscar();
    // The list fill itself: the state's orders, those whose description contains `busqueda`
    // when it is not empty.
    void CargarListaBuscando(const QString& busqueda);
    void Sumar();
    void AbrirOrden(int ordid);
    void VentanaEnfocada(QWindow* ventana);
    // Widens the columns whose values do not fit: the first rows after a fill, otherwise the
    // rows in view. Columns never narrow, so a width the person chose stays.
    void AjustarColumnas(bool desdeElPrincipio);

    const std::unique_ptr<Ui::frmPrincipal> ui;
    // The widths of the list's texts in its current font, kept from one fill to the next.
    std::unique_ptr<MedidasTexto> medidas_;
    Recordset rsLista;
    // What rsLista was opened with, for printing the view again.
    Ordenes::Vista vista_;
    QString estadoLista_;
    ModeloOrdenes* modelo_;
    bool cargando_ = false;
    // Another window of the program had the focus since this one last had it.
    bool estuvoEnOtraVentana_ = false;
};
