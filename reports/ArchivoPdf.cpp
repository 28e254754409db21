#include "ArchivoPdf.h"

#include "ErrorSistema.h"

#include <QPdfWriter>
#include <QSaveFile>

bool EscribirPdf(const QString& ruta, const std::function<bool(QPdfWriter&)>& pintar,
                 QString* error) {
    QSaveFile archivo(ruta);
    const auto fallo = [&] {
        if (error)
            *error = archivo.error() != QFileDevice::NoError
                         ? ErrorDeArchivo(archivo.errorString())
                         : QStringLiteral("No se pudo dibujar el documento.");
        return false;
    };
    if (!archivo.open(QIODevice::WriteOnly))
        return fallo();
    bool pintado = false;
    {
        // The writer finishes the file when it is destroyed, before the commit.
        QPdfWriter escritor(&archivo);
        escritor.setCreator(QStringLiteral("Quimbel"));
        pintado = pintar(escritor);
    }
    if (!pintado) {
        fallo();
        archivo.cancelWriting();
        return false;
    }
    return archivo.commit() || fallo();
}
