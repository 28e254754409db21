#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <cstdlib>

// For bench_arranque: with QUIMBEL_MEDIR_ARRANQUE set, the process ends the moment its first
// window is on screen, so that the time from its start to its end is the start-up's. Without
// the variable nothing is installed. Header-only, so that the bench's floor (a bare Qt program
// that links nothing of this one) ends in the very same way.
namespace MedidaArranque {

class AlPrimerExpose : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        const auto* ventana = qobject_cast<QWindow*>(objeto);
        // Ended at once: what a normal exit tears down is not start-up.
        if (evento->type() == QEvent::Expose && ventana && ventana->isExposed())
            std::_Exit(0);
        return false;
    }
};

inline void Instalar() {
    if (qEnvironmentVariableIsSet("QUIMBEL_MEDIR_ARRANQUE"))
        QCoreApplication::instance()->installEventFilter(
            new AlPrimerExpose(QCoreApplication::instance()));
}

} // namespace MedidaArranque
