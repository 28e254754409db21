#include "Carpetas.h"

#include "Mensajes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

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

bool ProgramaInstalado(const QString& carpetaPrograma) {
    const QString c = QDir::cleanPath(carpetaPrograma);
    for (const char* sistema : {"/usr/", "/opt/", "/bin", "/sbin"})
        if (c.startsWith(QLatin1String(sistema)))
            return true;
    return false;
}

bool ProgramaInstalado() {
    return ProgramaInstalado(QCoreApplication::applicationDirPath());
}

QString InicioDeDialogo(const QString& inicial, bool imagen) {
    const QFileInfo propuesto(inicial);
    if (!ProgramaInstalado() ||
        (!inicial.isEmpty() && propuesto.isAbsolute() && propuesto.absoluteDir().exists()))
        return inicial;
    QList<QStandardPaths::StandardLocation> lugares = {QStandardPaths::DocumentsLocation,
                                                       QStandardPaths::HomeLocation};
    if (imagen)
        lugares.prepend(QStandardPaths::PicturesLocation);
    for (const auto lugar : lugares) {
        const QString carpeta = QStandardPaths::writableLocation(lugar);
        if (!carpeta.isEmpty() && QDir(carpeta).exists())
            return inicial.isEmpty() ? carpeta : QDir(carpeta).filePath(propuesto.fileName());
    }
    return inicial;
}

} // namespace Carpetas
