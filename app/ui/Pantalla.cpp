#include "Pantalla.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

namespace Pantalla {
namespace {

void SiguienteControl(QWidget* desde) {
    QWidget* ventana = desde->window();
    for (QWidget* w = desde->nextInFocusChain(); w && w != desde; w = w->nextInFocusChain()) {
        if (w->window() == ventana && w->isVisible() && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

class FiltroEnter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() != QEvent::KeyPress)
            return false;
        auto* k = static_cast<QKeyEvent*>(ev);
        if ((k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter) ||
            (k->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* w = qobject_cast<QWidget*>(obj);
        if (!w || qobject_cast<QAbstractButton*>(w) || qobject_cast<QTextEdit*>(w) ||
            qobject_cast<QPlainTextEdit*>(w))
            return false;
        // An open drop-down list takes Enter as its choice.
        if (auto* combo = qobject_cast<QComboBox*>(w->parentWidget() ? w->parentWidget() : w))
            if (combo->view() && combo->view()->isVisible())
                return false;
        // The control still sees the key (a product box opens its picker on Enter) and the focus
        // then moves on, unless the control moved it itself.
        QWidget* antes = QApplication::focusWidget();
        obj->removeEventFilter(this);
        QApplication::sendEvent(obj, ev);
        obj->installEventFilter(this);
        if (antes && QApplication::focusWidget() == antes && antes->isVisible())
            SiguienteControl(antes);
        // Handled: an ignored key would travel on to the parent, whose filter would move the
        // focus a second time.
        k->accept();
        return true;
    }
};

void Instalar(QObject* filtro, QWidget* w) {
    w->installEventFilter(filtro);
    for (QWidget* hijo : w->findChildren<QWidget*>())
        hijo->installEventFilter(filtro);
}

} // namespace

int Twips(int twips, const QWidget* w) {
    qreal dpi = 96.0;
    if (w && w->screen())
        dpi = w->screen()->logicalDotsPerInch();
    else if (QGuiApplication::primaryScreen())
        dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
    return qRound(twips * dpi / 1440.0);
}

void EnterComoTab(QWidget* ventana) {
    auto* filtro = new FiltroEnter(ventana);
    Instalar(filtro, ventana);
}

void PasarAlSiguiente(QWidget* desde) {
    SiguienteControl(desde);
}

namespace {

class PrimerDibujo : public QObject {
public:
    PrimerDibujo(QWidget* ventana, std::function<void()> accion)
        : QObject(ventana), accion_(std::move(accion)) {
        ventana->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::Paint) {
            objeto->removeEventFilter(this);
            QTimer::singleShot(0, this, accion_);
        }
        return false;
    }

private:
    std::function<void()> accion_;
};

} // namespace

void TrasElPrimerDibujo(QWidget* ventana, std::function<void()> accion) {
    new PrimerDibujo(ventana, std::move(accion));
}

void TraerAlFrente(QWidget* ventana) {
    if (ventana->isMinimized())
        ventana->showNormal();
    ventana->show();
    ventana->raise();
    ventana->activateWindow();
}

} // namespace Pantalla

CursorOcupado::CursorOcupado() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

CursorOcupado::~CursorOcupado() {
    QApplication::restoreOverrideCursor();
}
