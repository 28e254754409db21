#include "Carpetas.h"

#include "Mensajes.h"

#include <QFileDialog>

namespace Carpetas {

QString ExaminarCarpeta(QWidget* padre, const QString& titulo, const QString& inicial) {
    if (Mensajes::EnModoPrueba())
        return Mensajes::TextoDePrueba({Mensajes::Tipo::Carpeta,
                                        QString(),
                                        titulo,
                                        Mensajes::Icono::Ninguno,
                                        Mensajes::Botones::OKCancelar,
                                        {}});
    return QFileDialog::getExistingDirectory(padre, titulo, inicial);
}

} // namespace Carpetas
