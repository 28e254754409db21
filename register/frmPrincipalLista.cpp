#include "frmPrincipal.h"

#include "Conexiones.h"
#include "Configuracion.h"
#include "EstadosOrden.h"
#include "MedidasTexto.h"
#include "ModeloOrdenes.h"
#include "Ordenes.h"
#include "Pantalla.h"
#include "Reloj.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProgressBar>
#include <QStyle>
#include <QTreeView>
#include <QWindow>

namespace {

// A column widens to show its values whole, a text column only up to this many twips.
constexpr int kAnchoMaximoTexto = 4500;
// Rows measured after a fill; scrolling measures the rows that come into view.
constexpr int kFilasMedidas = 1000;
// Rows shown before the rest of a long list is read: more than any screen holds.
constexpr int kFilasPrimeras = 250;

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

} // namespace

void frmPrincipal::CargarLista(const QString& condicion) {
    CargarListaBuscando(condicion == QLatin1String("1") ? QString() : condicion);
}

void frmPrincipal::CargarListaBuscando(const QString& busqueda) {
    // A refill asked for while one runs (a window activated meanwhile) has nothing to add.
    if (cargando_)
        return;
    cargando_ = true;
    CursorOcupado ocupado;
    modelo_->Vaciar();
    CerrarRecordset(rsLista, false);
    const QString estado = EstadoActual();
    vista_ = Ordenes::Lista(estado, busqueda);
    estadoLista_ = estado;
    // A long list's first screen is painted at once, and the rest read right after, before
    // anything else the person does is taken: what follows works on the whole list as ever.
    const auto primeras = [&](const Recordset& rs) {
        modelo_->Cargar(&rs, estado == EstadosOrden::kPendiente, gAvisoDias, Reloj::Hoy());
        grdLista->setCurrentIndex(modelo_->index(0, ModeloOrdenes::Marca));
        AjustarColumnas(true);
        grdLista->repaint();
        modelo_->Vaciar();
    };
    if (Ordenes::AbrirVista(vista_, rsLista, kFilasPrimeras, primeras) &&
        rsLista.RecordCount() > 0) {
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
    // Widths come from the font's metrics: asking the delegate for each cell's size hint lays the
    // cell out in full, which on a thousand rows cost a third of the list's fill. The model only
    // turns the view's font bold (an overdue date) or italic (an authorised order).
    // The delegate's own margins: a focus frame and a pixel on each side, and one more pixel.
    const int margen =
        2 * (grdLista->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grdLista) + 1) +
        1;
    if (!medidas_ || medidas_->Fuente() != grdLista->font())
        medidas_ = std::make_unique<MedidasTexto>(grdLista->font());
    QHeaderView* cabecera = grdLista->header();
    for (int c = ModeloOrdenes::Fecha; c < ModeloOrdenes::kColumnas; ++c) {
        // A date or an amount cut short is misread; a long text may end in "...".
        const bool texto = c != ModeloOrdenes::Fecha && c != ModeloOrdenes::Cantidad &&
                           c != ModeloOrdenes::Importe;
        int ancho = cabecera->sectionSizeHint(c);
        for (int f = desde; f <= hasta; ++f) {
            const QModelIndex i = modelo_->index(f, c);
            const QVariant propia = modelo_->data(i, Qt::FontRole);
            bool negrita = false;
            bool cursiva = false;
            if (propia.userType() == QMetaType::QFont) {
                const QFont fuente = propia.value<QFont>();
                negrita = fuente.bold();
                cursiva = fuente.italic();
            }
            ancho = qMax(ancho,
                         medidas_->Ancho(modelo_->data(i).toString(), negrita, cursiva) + margen);
        }
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
