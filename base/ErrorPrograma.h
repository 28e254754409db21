#pragma once

#include <QString>

struct ErrorPrograma {
    int numero = 0;
    QString descripcion;
};

// Normal pointer, then "Seleccione primero una empresa" for error 3021 or the description.
void MostrarError(const ErrorPrograma& error);
