#include "VentanasEnPantalla.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace VentanasEnPantalla {
namespace {

// The frame is known only once the window manager has framed the window; before the first
// showing, the style's title bar and border stand in for it.
QMargins Marco(const QWidget* w) {
    if (w->testAttribute(Qt::WA_WState_Created) && w->frameGeometry() != w->geometry())
        return {w->geometry().left() - w->frameGeometry().left(),
                w->geometry().top() - w->frameGeometry().top(),
                w->frameGeometry().right() - w->geometry().right(),
                w->frameGeometry().bottom() - w->geometry().bottom()};
    const int borde = w->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, w);
    const int titulo = w->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, w);
    return {borde, titulo + borde, borde, borde};
}

// The screen the window will open on: its own when placed, else that of the window it opens
// from, else the primary screen.
QScreen* PantallaDe(const QWidget* w) {
    if (w->testAttribute(Qt::WA_Moved))
        if (QScreen* s = QGuiApplication::screenAt(w->geometry().center()))
            return s;
    if (const QWidget* activa = QApplication::activeWindow())
        return activa->screen();
    return w->screen() ? w->screen() : QGuiApplication::primaryScreen();
}

class Filtro : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* obj, QEvent* ev) override {
        if (ev->type() != QEvent::Show || !obj->isWidgetType())
            return false;
        auto* w = static_cast<QWidget*>(obj);
        const Qt::WindowType tipo = w->windowType();
        if (!w->isWindow() || tipo == Qt::Popup || tipo == Qt::ToolTip ||
            tipo == Qt::SplashScreen || w->isMaximized() || w->isFullScreen())
            return false;
        const QScreen* pantalla = PantallaDe(w);
        if (!pantalla)
            return false;
        const QRect area = pantalla->availableGeometry();
        QRect actual = w->geometry();
        // A window never placed would be put by the window manager, which may leave it partly
        // off the screen: it is centred on the window it opens from, or on the screen.
        if (!w->testAttribute(Qt::WA_Moved)) {
            const QWidget* activa = QApplication::activeWindow();
            const bool deReferencia =
                activa && activa != w && activa->windowType() != Qt::SplashScreen;
            const QRect sobre = deReferencia ? activa->frameGeometry() : area;
            actual.moveCenter(sobre.center());
        }
        const QRect ajustada = Ajustar(actual, area, Marco(w));
        if (ajustada.size() != w->size())
            w->resize(ajustada.size().expandedTo(w->minimumSize()));
        if (ajustada.topLeft() != w->geometry().topLeft())
            w->move(ajustada.topLeft() - QPoint(Marco(w).left(), Marco(w).top()));
        return false;
    }
};

} // namespace

QRect Ajustar(const QRect& ventana, const QRect& area, const QMargins& marco) {
    const QRect util = area.marginsRemoved(marco);
    QRect r(ventana.topLeft(), ventana.size().boundedTo(util.size()));
    r.moveLeft(qBound(util.left(), r.left(), util.right() - r.width() + 1));
    r.moveTop(qBound(util.top(), r.top(), util.bottom() - r.height() + 1));
    return r;
}

void Instalar() {
    static Filtro* filtro = nullptr;
    if (!filtro) {
        filtro = new Filtro(qApp);
        qApp->installEventFilter(filtro);
    }
}

} // namespace VentanasEnPantalla
