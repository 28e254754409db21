#pragma once

#include "Pantalla.h"

#include <QPointer>
#include <QWidget>

// A window the program shows once: created on first use, brought forward afterwards. The
// program's windows delete themselves on closing, a moment after the close; one that has closed
// is never handed out again (it would vanish right after being shown), the next use creates it
// afresh. Qt clears WA_DeleteOnClose when it schedules that deletion, which is what tells a
// closed window from a live one, so T must set that attribute.
template <class T> class VentanaUnica {
public:
    // The window, made by `crear` (which returns a new T) when none is open.
    template <class Crear> T* Obtener(Crear crear) {
        if (!Abierta())
            p_ = crear();
        return p_.data();
    }
    // As Obtener, shown, raised and given the focus.
    template <class Crear> T* Mostrar(Crear crear) {
        T* v = Obtener(crear);
        Pantalla::TraerAlFrente(v);
        return v;
    }
    // Shows the window (the open one, or a new one) modally through `ejecutar(T*)` and deletes
    // it once that returns.
    template <class Crear, class Ejecutar> void Modal(Crear crear, Ejecutar ejecutar) {
        QPointer<T> v = Obtener(crear);
        ejecutar(v.data());
        delete v.data();
    }
    // Deletes the open window now, discarding what it held as closing would.
    void Descartar() {
        if (Abierta())
            delete p_.data();
    }
    bool Abierta() const { return p_ && p_->testAttribute(Qt::WA_DeleteOnClose); }
    T* Actual() const { return Abierta() ? p_.data() : nullptr; }

private:
    QPointer<T> p_;
};
