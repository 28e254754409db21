#include "frmPrincipal.h"

#include "Conexiones.h"
#include "EstadosOrden.h"
#include "Iconos.h"
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

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollBar>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
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

frmPrincipal::frmPrincipal(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmPrincipal"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Quimbel - Menú Principal"));

    ConstruirCentro();
    CrearMenu();
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

void frmPrincipal::ConstruirCentro() {
    auto* centro = new QWidget(this);
    auto* vertical = new QVBoxLayout(centro);
    auto* arriba = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("Vista actual:"), centro);
    Label1->setObjectName(QStringLiteral("Label1"));
    cboEstado = new QComboBox(centro);
    cboEstado->setObjectName(QStringLiteral("cboEstado"));
    cboEstado->addItems(EstadosOrden::Todos());
    Label1->setBuddy(cboEstado);
    arriba->addWidget(Label1);
    arriba->addWidget(cboEstado);
    arriba->addStretch();
    vertical->addLayout(arriba);

    modelo_ = new ModeloOrdenes(this);
    grdLista = new QTreeView(centro);
    grdLista->setObjectName(QStringLiteral("grdLista"));
    grdLista->setAccessibleName(QStringLiteral("Ordenes de Compra"));
    grdLista->setRootIsDecorated(false);
    grdLista->setItemsExpandable(false);
    grdLista->setUniformRowHeights(true);
    grdLista->setAllColumnsShowFocus(true);
    grdLista->setSortingEnabled(false);
    grdLista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdLista->setSelectionMode(QAbstractItemView::SingleSelection);
    grdLista->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdLista->setModel(modelo_);
    grdLista->header()->setStretchLastSection(false);
    grdLista->header()->setSectionsMovable(false);
    for (int c = 0; c < ModeloOrdenes::kColumnas; ++c)
        grdLista->setColumnWidth(c, Pantalla::Twips(kAnchos[c], this));
    grdLista->installEventFilter(this);
    grdLista->viewport()->installEventFilter(this);
    connect(grdLista->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { AjustarColumnas(false); });
    vertical->addWidget(grdLista, 1);

    pbProgreso = new QProgressBar(centro);
    pbProgreso->setObjectName(QStringLiteral("pbProgreso"));
    pbProgreso->hide();
    vertical->addWidget(pbProgreso);
    setCentralWidget(centro);
}

void frmPrincipal::CrearMenu() {
    // An entry runs a method of this window, or opens a window through its Instancia().
    auto entrada = [this](QMenu* menu, QAction*& accion, const char* nombre, const QString& texto,
                          auto metodo) {
        accion = menu->addAction(texto);
        accion->setObjectName(QLatin1String(nombre));
        connect(accion, &QAction::triggered, this, metodo);
    };
    mnuArchivo = menuBar()->addMenu(QStringLiteral("&Archivo"));
    mnuArchivo->setObjectName(QStringLiteral("mnuArchivo"));
    entrada(mnuArchivo, mnuArchivoExportar, "mnuArchivoExportar", QStringLiteral("&Exportar..."),
            &frmPrincipal::mnuArchivoExportar_Click);
    entrada(mnuArchivo, mnuArchivoHistorial, "mnuArchivoHistorial",
            QStringLiteral("&Historial de la Orden de Compra..."),
            &frmPrincipal::mnuArchivoHistorial_Click);
    mnuArchivoHistorial->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    // The list's context menu offers the same export of its rows, and the history.
    grdLista->addAction(mnuArchivoExportar);
    grdLista->addAction(mnuArchivoHistorial);
    grdLista->setContextMenuPolicy(Qt::ActionsContextMenu);
    mnuArchivo->addSeparator();
    entrada(mnuArchivo, mnuArchivoSalir, "mnuArchivoSalir", QStringLiteral("&Salir"),
            &frmPrincipal::mnuArchivoSalir_Click);

    mnuHerramientas = menuBar()->addMenu(QStringLiteral("&Herramientas"));
    mnuHerramientas->setObjectName(QStringLiteral("mnuHerramientas"));
    entrada(mnuHerramientas, mnuHerramientasMantCategorias, "mnuHerramientasMantCategorias",
            QStringLiteral("Mantenimiento de &Categorías"), &frmMantCategorias::Instancia);
    entrada(mnuHerramientas, mnuHerramientasMantCentrosCosto, "mnuHerramientasMantCentrosCosto",
            QStringLiteral("Mantenimiento de Centros de C&osto"),
            &frmMantCentrosDeCosto::Instancia);
    entrada(mnuHerramientas, mnuHerramientasMantProductos, "mnuHerramientasMantProductos",
            QStringLiteral("Mantenimiento de &Productos"), &frmMantProductos::Instancia);
    entrada(mnuHerramientas, mnuHerramientasMantProveedores, "mnuHerramientasMantProveedores",
            QStringLiteral("Mantenimiento de Pro&veedores"), &frmMantProveedores::Instancia);
    entrada(mnuHerramientas, mnuHerramientasMantSectores, "mnuHerramientasMantSectores",
            QStringLiteral("Mantenimiento de &Sectores"), &frmMantSectores::Instancia);
    entrada(mnuHerramientas, mnuHerramientasMantUsuarios, "mnuHerramientasMantUsuarios",
            QStringLiteral("Mantenimiento de &Usuarios"), &frmMantUsuarios::Instancia);
    entrada(mnuHerramientas, mnuHerramientasOpciones, "mnuHerramientasOpciones",
            QStringLiteral("Op&ciones"), &frmOpciones::Instancia);
    entrada(mnuHerramientas, mnuHerramientasReglas, "mnuHerramientasReglas",
            QStringLiteral("Reglas de &aprobación"), [this] { frmReglas::Mostrar(this); });
    entrada(mnuHerramientas, mnuHerramientasAuditoria, "mnuHerramientasAuditoria",
            QStringLiteral("Au&ditoría"), &frmAuditoria::Instancia);
    mnuHerramientasMantUsuarios->setEnabled(false);
    mnuHerramientasOpciones->setEnabled(false);
    mnuHerramientasReglas->setEnabled(false);
    mnuHerramientasAuditoria->setEnabled(false);
    mnuHerramientas->addSeparator();
    entrada(mnuHerramientas, mnuHerramientasResumenCompras, "mnuHerramientasResumenCompras",
            QStringLiteral("&Resumen de compras"), &frmResumenCompras::Instancia);

    mnuAyuda = menuBar()->addMenu(QStringLiteral("A&yuda"));
    mnuAyuda->setObjectName(QStringLiteral("mnuAyuda"));
    entrada(mnuAyuda, mnuAyudaSitioWeb, "mnuAyudaSitioWeb", QStringLiteral("Sitio &web"),
            &frmPrincipal::mnuAyudaSitioWeb_Click);
    entrada(mnuAyuda, mnuAyudaAcercaDe, "mnuAyudaAcercaDe", QStringLiteral("&Acerca De..."),
            &frmAcercaDe::Instancia);
}

void frmPrincipal::CrearBarra() {
    tbrPrincipal = addToolBar(QStringLiteral("tbrPrincipal"));
    tbrPrincipal->setObjectName(QStringLiteral("tbrPrincipal"));
    tbrPrincipal->setMovable(false);
    tbrPrincipal->setIconSize(QSize(32, 32));
    tbrPrincipal->setToolButtonStyle(Qt::ToolButtonIconOnly);
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
