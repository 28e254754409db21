#include "ArchivoPdf.h"

#include "ArchivoEntero.h"
#include "ErrorSistema.h"

#include <QPdfWriter>

bool EscribirPdf(const QString& ruta, const std::function<bool(QPdfWriter&)>& pintar,
                 QString* error) {
    ArchivoEntero archivo(ruta);
    const auto fallo = [&] {
        if (error)
            *error = !archivo.Error().isEmpty()
                         ? ErrorDeArchivo(archivo.Error())
                         : QStringLiteral("No se pudo dibujar el documento.");
        archivo.Descartar();
        return false;
    };
    if (!archivo.Abrir())
        return fallo();
    bool pintado = false;
    {
        // The writer finishes the file when it is destroyed, before the commit.
        QPdfWriter escritor(&archivo);
        escritor.setCreator(QStringLiteral("Quimbel"));
        pintado = pintar(escritor);
    }
    if (!pintado)
        return fallo();
    return archivo.Confirmar() || fallo();
}
