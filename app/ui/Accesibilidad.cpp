#include "Accesibilidad.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace Accesibilidad {
namespace {

// The role follows the widget, so one that stops being a window is announced as a part again.
class VentanaAccesible : public QAccessibleWidget {
public:
    explicit VentanaAccesible(QWidget* w) : QAccessibleWidget(w, QAccessible::Window) {}
    QAccessible::Role role() const override {
        return widget()->isWindow() ? QAccessible::Window : QAccessible::Client;
    }
};

QAccessibleInterface* Fabrica(const QString& clase, QObject* objeto) {
    // Qt asks with each class name from the most derived up: "QWidget" is reached only by
    // widgets no more specific interface claimed.
    if (clase != QLatin1String("QWidget") || !objeto || !objeto->isWidgetType())
        return nullptr;
    auto* w = static_cast<QWidget*>(objeto);
    return w->isWindow() ? new VentanaAccesible(w) : nullptr;
}

} // namespace

void Instalar() {
    QAccessible::installFactory(&Fabrica);
}

} // namespace Accesibilidad
