#include "MedidaArranque.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <cstdlib>

namespace MedidaArranque {
namespace {

class AlPrimerExpose : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::Expose) {
            const auto* ventana = qobject_cast<QWindow*>(objeto);
            // Ended at once: what a normal exit tears down is not start-up.
            if (ventana && ventana->isExposed())
                std::_Exit(0);
        }
        return false;
    }
};

} // namespace

void Instalar() {
    if (qEnvironmentVariableIsSet("QUIMBEL_MEDIR_ARRANQUE"))
        QCoreApplication::instance()->installEventFilter(
            new AlPrimerExpose(QCoreApplication::instance()));
}

} // namespace MedidaArranque
