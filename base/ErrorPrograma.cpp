#include "ErrorPrograma.h"

#include "Mensajes.h"

void MostrarError(const ErrorPrograma& error) {
    Mensajes::QuitarEspera();
    if (error.numero == 3021)
        Mensajes::MsgBox(QStringLiteral("Seleccione primero una empresa"));
    else
        Mensajes::MsgBox(error.descripcion, Mensajes::Botones::OK, Mensajes::Icono::Exclamacion,
                         QStringLiteral("Quimbel"));
}
