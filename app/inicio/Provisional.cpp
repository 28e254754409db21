#include "Provisional.h"

QWidget* MostrarPresentacion() {
    return nullptr;
}

void RespaldarBaseDeDatos(const QString&, const QString&) {}

void MostrarOpcionesTrasFallo() {}
