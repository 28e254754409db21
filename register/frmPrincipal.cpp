#include "frmPrincipal.h"

#include "Conexiones.h"
#include "Configuracion.h"
#include "EstadosOrden.h"
#include "Formato.h"
#include "Iconos.h"
#include "Mensajes.h"
#include "ModeloOrdenes.h"
#include "Ordenes.h"
#include "Pantalla.h"
#include "Reloj.h"
#include "Usuario.h"
#include "VentanaUnica.h"
#include "cQueryReg.h"
#include "frmAcercaDe.h"
#include "frmHistorial.h"
#include "frmImprimirOpciones.h"
#include "frmMantCategorias.h"
#include "frmMantCentrosDeCosto.h"
#include "frmMantProductos.h"
#include "frmMantProveedores.h"
#include "frmMantSectores.h"
#include "frmMantUsuarios.h"
#include "frmOpciones.h"
#include "frmOrden.h"
#include "frmProcesar.h"
#include "frmReglas.h"
#include "frmResumenCompras.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

namespace {

constexpr const char* kSitioWebPorDefecto = "https://www.tolvanex.com/quimbel/";

const int kAnchos[ModeloOrdenes::kColumnas] = {400, 1250, 600, 1200, 1800, 950, 1500, 1500};
// A column widens to show its values whole, a text column only up to this many twips.
constexpr int kAnchoMaximoTexto = 4500;
// Rows measured after a fill; scrolling measures the rows that come into view.
constexpr int kFilasMedidas = 1000;

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

// The widget behind a top-level window of the program.
QWidget* WidgetDe(QWindow* ventana) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowHandle() == ventana)
            return w;
    return nullptr;
}

// Message and input boxes are not windows of their own in the sense of "coming back from
// another window": answering one must not drop a search or the check marks.
bool EsVentanaDelPrograma(QWindow* ventana) {
    if (ventana->type() == Qt::Popup || ventana->type() == Qt::ToolTip)
        return false;
    QWidget* w = WidgetDe(ventana);
    return w && !qobject_cast<QMessageBox*>(w) && !qobject_cast<QInputDialog*>(w) &&
           !qobject_cast<QFileDialog*>(w);
}

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

    connect(qApp, &QGuiApplication::focusWindowChanged, this, &frmPrincipal::VentanaEnfocada);
    setTabOrder(cboEstado, grdLista);
}

frmPrincipal::~frmPrincipal() {
    modelo_->Vaciar();
    CerrarRecordset(rsLista, true);
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
    mnuHerramientasMantUsuarios->setEnabled(false);
    mnuHerramientasOpciones->setEnabled(false);
    mnuHerramientasReglas->setEnabled(false);
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

void frmPrincipal::CargarLista(const QString& condicion) {
    // A refill asked for while one runs (a window activated meanwhile) has nothing to add.
    if (cargando_)
        return;
    cargando_ = true;
    CursorOcupado ocupado;
    modelo_->Vaciar();
    CerrarRecordset(rsLista, false);
    const QString estado = EstadoActual();
    if (Ordenes::AbrirLista(estado, condicion, rsLista) && rsLista.RecordCount() > 0) {
        const int n = rsLista.RecordCount();
        const bool conBarra = n > 100;
        if (conBarra) {
            pbProgreso->setRange(0, n);
            pbProgreso->setValue(0);
            pbProgreso->show();
        }
        // The bar is repainted at once on every change; a few changes a second are enough.
        QElapsedTimer desdeAvance;
        desdeAvance.start();
        modelo_->Cargar(&rsLista, estado == EstadosOrden::kPendiente, gAvisoDias, Reloj::Hoy(),
                        [&](int leidas) {
                            if (conBarra && (leidas == n || desdeAvance.elapsed() >= 100)) {
                                pbProgreso->setValue(leidas);
                                desdeAvance.restart();
                            }
                        });
        pbProgreso->hide();
        rsLista.MoveFirst();
        grdLista->setCurrentIndex(modelo_->index(0, ModeloOrdenes::Marca));
        AjustarColumnas(true);
    }
    cargando_ = false;
}

void frmPrincipal::AjustarColumnas(bool desdeElPrincipio) {
    const int n = modelo_->rowCount();
    if (n == 0)
        return;
    int desde = 0;
    int hasta = qMin(n, kFilasMedidas) - 1;
    if (!desdeElPrincipio) {
        const QRect vista = grdLista->viewport()->rect();
        const QModelIndex arriba = grdLista->indexAt(vista.topLeft());
        const QModelIndex abajo = grdLista->indexAt(QPoint(0, vista.bottom()));
        if (!arriba.isValid())
            return;
        desde = arriba.row();
        hasta = abajo.isValid() ? abajo.row() : n - 1;
    }
    QStyleOptionViewItem opcion;
    opcion.initFrom(grdLista->viewport());
    opcion.font = grdLista->font();
    opcion.widget = grdLista;
    QAbstractItemDelegate* delegado = grdLista->itemDelegate();
    QHeaderView* cabecera = grdLista->header();
    for (int c = ModeloOrdenes::Fecha; c < ModeloOrdenes::kColumnas; ++c) {
        // A date or an amount cut short is misread; a long text may end in "...".
        const bool texto = c != ModeloOrdenes::Fecha && c != ModeloOrdenes::Cantidad &&
                           c != ModeloOrdenes::Importe;
        int ancho = cabecera->sectionSizeHint(c);
        for (int f = desde; f <= hasta; ++f)
            ancho = qMax(ancho, delegado->sizeHint(opcion, modelo_->index(f, c)).width());
        if (texto)
            ancho = qMin(ancho, Pantalla::Twips(kAnchoMaximoTexto, this));
        if (ancho > grdLista->columnWidth(c))
            grdLista->setColumnWidth(c, ancho);
    }
}

QStringList frmPrincipal::IdsMarcados() const {
    QStringList ids;
    for (int i = 0; i < modelo_->rowCount(); ++i)
        if (modelo_->Marcada(i))
            ids << QString::number(modelo_->Id(i));
    return ids;
}

QString frmPrincipal::SqlActual() const {
    return rsLista.Source();
}

QString frmPrincipal::EstadoActual() const {
    return cboEstado->currentText();
}

void frmPrincipal::tbrPrincipal_ButtonClick(const QString& key) {
    if (key == QLatin1String("nueva"))
        NuevaOrden();
    else if (key == QLatin1String("eliminar"))
        Eliminar();
    else if (key == QLatin1String("imprimir"))
        Imprimir();
    else if (key == QLatin1String("buscar"))
        Buscar();
    else if (key == QLatin1String("sumar"))
        Sumar();
    else if (key == QLatin1String("procesar"))
        Procesar();
    else if (key == QLatin1String("salir"))
        close();
}

void frmPrincipal::NuevaOrden() {
    frmOrden::Abrir(true, 0);
}

void frmPrincipal::Imprimir() {
    ImprimirListaDeOrdenes(EstadoActual(), SqlActual(), IdsMarcados(), recargarAlActivar, this);
}

void frmPrincipal::Procesar() {
    frmProcesar::Procesar(this, IdsMarcados());
    CargarLista(QStringLiteral("1"));
}

void frmPrincipal::AbrirOrden(int ordid) {
    frmOrden::Abrir(false, ordid);
}

void frmPrincipal::Eliminar() {
    const int n = modelo_->rowCount();
    if (n == 0) {
        Mensajes::MsgBox(QStringLiteral("No hay Ordenes de Compra para seleccionar."),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Atención"));
        return;
    }
    bool hubo = false;
    bool confirmado = false;
    for (int i = 0; i < n; ++i) {
        if (!modelo_->Marcada(i))
            continue;
        hubo = true;
        if (!confirmado) {
            if (Mensajes::MsgBox(QStringLiteral("¿Está seguro que desea eliminar la/s Orden/es "
                                                "de Compra seleccionada/s?"),
                                 Mensajes::Botones::SiNo, Mensajes::Icono::Pregunta,
                                 QStringLiteral("Eliminar")) != Mensajes::Respuesta::Si)
                break;
            confirmado = true;
        }
        CursorOcupado ocupado;
        Ordenes::Eliminar(modelo_->Id(i), gLogin);
    }
    if (confirmado)
        CargarLista(QStringLiteral("1"));
    if (!hubo)
        Mensajes::MsgBox(QStringLiteral("No ha seleccionado ninguna Orden de Compra."),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Verifique"));
}

void frmPrincipal::Buscar() {
    const QString texto = Mensajes::InputBox(QStringLiteral("Ingrese el texto a buscar:"),
                                             QStringLiteral("Búsqueda por descripción"));
    if (texto.isEmpty()) {
        CargarLista(QStringLiteral("1"));
        return;
    }
    // The text is searched as it was typed: quotes doubled, LIKE's wildcards escaped.
    QString literal = SqlTexto(texto);
    literal.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('%'), QLatin1String("\\%"))
        .replace(QLatin1Char('_'), QLatin1String("\\_"));
    CargarLista(QStringLiteral("OrdDescripcion like '%") + literal +
                QStringLiteral("%' escape '\\'"));
}

void frmPrincipal::Sumar() {
    const QStringList ids = IdsMarcados();
    if (ids.isEmpty()) {
        Mensajes::MsgBox(QStringLiteral("No ha seleccionado ninguna Orden de Compra."),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Verifique"));
        return;
    }
    QList<Ordenes::SumaMoneda> sumas;
    if (!Ordenes::SumarPorMoneda(ids, &sumas))
        return;
    if (!sumas.isEmpty()) {
        QString texto;
        for (const Ordenes::SumaMoneda& s : sumas)
            texto += Formato::Valor(s.suma) + QLatin1Char(' ') + s.moneda + QStringLiteral("\r\n");
        Mensajes::MsgBox(texto, Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Suma de precios"));
    } else {
        Mensajes::MsgBox(QStringLiteral("No hay datos para mostrar"), Mensajes::Botones::OK,
                         Mensajes::Icono::Informacion, QStringLiteral("Atención"));
    }
}

void frmPrincipal::grdLista_DblClick() {
    if (modelo_->rowCount() == 0) {
        Mensajes::MsgBox(QStringLiteral("No hay Ordenes de Compra para seleccionar."),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Atención"));
        return;
    }
    const QModelIndex actual = grdLista->currentIndex();
    if (actual.isValid())
        AbrirOrden(modelo_->Id(actual.row()));
}

void frmPrincipal::mnuArchivoHistorial_Click() {
    const QModelIndex actual = grdLista->currentIndex();
    if (!actual.isValid()) {
        Mensajes::MsgBox(QStringLiteral("No hay Ordenes de Compra para seleccionar."),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Atención"));
        return;
    }
    frmHistorial::Mostrar(modelo_->Id(actual.row()));
}

void frmPrincipal::mnuArchivoSalir_Click() {
    close();
}

QString frmPrincipal::DireccionSitioWeb() {
    const QString configurada =
        cQueryReg()
            .GetReg(QString::fromLatin1(kClaveQuimbel), QStringLiteral("sitio_web"))
            .toString()
            .trimmed();
    return configurada.isEmpty() ? QString::fromLatin1(kSitioWebPorDefecto) : configurada;
}

void frmPrincipal::mnuAyudaSitioWeb_Click() {
    QDesktopServices::openUrl(QUrl::fromUserInput(DireccionSitioWeb()));
}

void frmPrincipal::VentanaEnfocada(QWindow* ventana) {
    if (!ventana)
        return; // another application, or a window on its way to another
    if (ventana == windowHandle()) {
        const bool volvio = estuvoEnOtraVentana_;
        estuvoEnOtraVentana_ = false;
        if (volvio && recargarAlActivar)
            CargarLista(QStringLiteral("1"));
    } else if (recargarAlActivar && EsVentanaDelPrograma(ventana)) {
        estuvoEnOtraVentana_ = true;
    }
}

bool frmPrincipal::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grdLista->viewport() && event->type() == QEvent::Resize)
        AjustarColumnas(false); // a taller list shows rows not measured yet
    if (watched == grdLista->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        grdLista_DblClick();
        return true;
    }
    if (watched == grdLista && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        const QModelIndex actual = grdLista->currentIndex();
        if (k->key() == Qt::Key_Space && actual.isValid()) {
            modelo_->Marcar(actual.row(), !modelo_->Marcada(actual.row()));
            return true;
        }
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            grdLista_DblClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
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
