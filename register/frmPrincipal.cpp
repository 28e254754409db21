#include "frmPrincipal.h"

#include "Conexiones.h"
#include "EstadosOrden.h"
#include "Iconos.h"
#include "MedidasTexto.h"
#include "ModeloOrdenes.h"
#include "Pantalla.h"
#include "Usuario.h"
#include "VentanaUnica.h"
#include "frmAcercaDe.h"
#include "frmAuditoria.h"
#include "frmMantCategorias.h"
#include "frmMantCentrosDeCosto.h"
#include "frmMantProductos.h"
#include "frmMantProveedores.h"
#include "frmMantSectores.h"
#include "frmMantUsuarios.h"
#include "frmOpciones.h"
#include "frmReglas.h"
#include "frmResumenCompras.h"
#include "ui_frmPrincipal.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QWindow>

namespace {

const int kAnchos[ModeloOrdenes::kColumnas] = {400, 1250, 600, 1200, 1800, 950, 1500, 1500};

struct Boton {
    const char* key;
    const char* tooltip;
    const char* tema;
    const char* teclas; // the keys a Spanish desktop user tries for the command
    const char* icono;  // the program's own picture, where the icon theme has none
};

const Boton kBotones[] = {
    {"nueva", "Nueva Orden de Compra", "document-new", "Ctrl+N", "nuevo"},
    {"eliminar", "Eliminar la orden seleccionada", "edit-delete", "Del", "eliminar"},
    {"imprimir", "Imprimir", "document-print", "Ctrl+P", "imprimir"},
    {"buscar", "Búsqueda por Descripción", "edit-find", "Ctrl+B; Ctrl+F", "buscar"},
    {"sumar", "Sumar las ordenes seleccionadas", "", "Ctrl+T", "sumar"},
    {"procesar", "Cambiar de estado las ordenes seleccionadas", "view-refresh", "Ctrl+E",
     "procesar"},
    {"salir", "Salir", "application-exit", "Ctrl+Q", "salir"},
};

VentanaUnica<frmPrincipal>& Unica() {
    static VentanaUnica<frmPrincipal> unica;
    return unica;
}

} // namespace

frmPrincipal* frmPrincipal::Instancia() {
    return Unica().Obtener([] { return new frmPrincipal; });
}

frmPrincipal::frmPrincipal(QWidget* parent) : QMainWindow(parent), ui(new Ui::frmPrincipal) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);

    PrepararLista();
    ConectarMenu();
    CrearBarra();
    resize(Pantalla::Twips(12600, this), Pantalla::Twips(8400, this));

    cboEstado->setCurrentIndex(0);
    connect(cboEstado, &QComboBox::currentIndexChanged, this,
            [this] { CargarLista(QStringLiteral("1")); });
    recargarAlActivar = true;
    CargarLista(QStringLiteral("1"));
    const bool administrador = EsAdministrador(gLogin);
    mnuHerramientasMantUsuarios->setEnabled(administrador);
    mnuHerramientasOpciones->setEnabled(administrador);
    mnuHerramientasReglas->setEnabled(administrador);
    mnuHerramientasAuditoria->setEnabled(administrador);

    connect(qApp, &QGuiApplication::focusWindowChanged, this, &frmPrincipal::VentanaEnfocada);
    setTabOrder(cboEstado, grdLista);
}

frmPrincipal::~frmPrincipal() {
    // QWidget's destructor hides and deletes the list after this part of the window is gone;
    // what the list, its scroll bar, the chooser and the application signal meanwhile must not
    // reach it.
    disconnect(qApp, nullptr, this, nullptr);
    grdLista->verticalScrollBar()->disconnect(this);
    cboEstado->disconnect(this);
    grdLista->removeEventFilter(this);
    grdLista->viewport()->removeEventFilter(this);
    modelo_->Vaciar();
    CerrarRecordset(rsLista, true);
}

void frmPrincipal::PrepararLista() {
    Label1 = ui->Label1;
    cboEstado = ui->cboEstado;
    grdLista = ui->grdLista;
    pbProgreso = ui->pbProgreso;
    cboEstado->addItems(EstadosOrden::Todos());

    modelo_ = new ModeloOrdenes(this);
    grdLista->setModel(modelo_);
    grdLista->header()->setSectionsMovable(false);
    for (int c = 0; c < ModeloOrdenes::kColumnas; ++c)
        grdLista->setColumnWidth(c, Pantalla::Twips(kAnchos[c], this));
    grdLista->installEventFilter(this);
    grdLista->viewport()->installEventFilter(this);
    connect(grdLista->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { AjustarColumnas(false); });
}

void frmPrincipal::ConectarMenu() {
    mnuArchivo = ui->mnuArchivo;
    mnuHerramientas = ui->mnuHerramientas;
    mnuAyuda = ui->mnuAyuda;
    // An entry runs a method of this window, or opens a window through its Instancia().
    auto entrada = [this](QAction*& accion, QAction* delLayout, auto metodo) {
        accion = delLayout;
        connect(accion, &QAction::triggered, this, metodo);
    };
    entrada(mnuArchivoExportar, ui->mnuArchivoExportar, &frmPrincipal::mnuArchivoExportar_Click);
    entrada(mnuArchivoHistorial, ui->mnuArchivoHistorial, &frmPrincipal::mnuArchivoHistorial_Click);
    entrada(mnuArchivoSalir, ui->mnuArchivoSalir, &frmPrincipal::mnuArchivoSalir_Click);
    // The list's context menu offers the same export of its rows, and the history.
    grdLista->addAction(mnuArchivoExportar);
    grdLista->addAction(mnuArchivoHistorial);

    entrada(mnuHerramientasMantCategorias, ui->mnuHerramientasMantCategorias,
            &frmMantCategorias::Instancia);
    entrada(mnuHerramientasMantCentrosCosto, ui->mnuHerramientasMantCentrosCosto,
            &frmMantCentrosDeCosto::Instancia);
    entrada(mnuHerramientasMantProductos, ui->mnuHerramientasMantProductos,
            &frmMantProductos::Instancia);
    entrada(mnuHerramientasMantProveedores, ui->mnuHerramientasMantProveedores,
            &frmMantProveedores::Instancia);
    entrada(mnuHerramientasMantSectores, ui->mnuHerramientasMantSectores,
            &frmMantSectores::Instancia);
    entrada(mnuHerramientasMantUsuarios, ui->mnuHerramientasMantUsuarios,
            &frmMantUsuarios::Instancia);
    entrada(mnuHerramientasOpciones, ui->mnuHerramientasOpciones, &frmOpciones::Instancia);
    entrada(mnuHerramientasReglas, ui->mnuHerramientasReglas, [this] { frmReglas::Mostrar(this); });
    entrada(mnuHerramientasAuditoria, ui->mnuHerramientasAuditoria, &frmAuditoria::Instancia);
    entrada(mnuHerramientasResumenCompras, ui->mnuHerramientasResumenCompras,
            &frmResumenCompras::Instancia);

    entrada(mnuAyudaSitioWeb, ui->mnuAyudaSitioWeb, &frmPrincipal::mnuAyudaSitioWeb_Click);
    entrada(mnuAyudaAcercaDe, ui->mnuAyudaAcercaDe, &frmAcercaDe::Instancia);
}

void frmPrincipal::CrearBarra() {
    tbrPrincipal = ui->tbrPrincipal;
    for (const Boton& b : kBotones) {
        const QString key = QLatin1String(b.key);
        const QString tip = QString::fromUtf8(b.tooltip);
        QIcon icono = Iconos::De(QLatin1String(b.icono));
        if (*b.tema)
            icono = QIcon::fromTheme(QLatin1String(b.tema), icono);
        QAction* a = tbrPrincipal->addAction(icono, tip);
        a->setObjectName(key);
        a->setData(key);
        a->setShortcuts(QKeySequence::listFromString(QLatin1String(b.teclas)));
        a->setToolTip(tip + QStringLiteral(" (") +
                      a->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
        connect(a, &QAction::triggered, this, [this, key] { tbrPrincipal_ButtonClick(key); });
    }
}

void frmPrincipal::closeEvent(QCloseEvent* event) {
    // Other windows close first, while they can still reach the database; one that refuses
    // (unsaved changes kept) keeps the program running.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible() && !w->close()) {
            event->ignore();
            return;
        }
    }
    modelo_->Vaciar();
    CerrarRecordset(rsLista, true);
    CerrarConexion();
    event->accept();
}
