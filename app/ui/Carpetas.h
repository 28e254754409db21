#pragma once

#include <QString>

class QWidget;

namespace Carpetas {

// The folder browser owned by the given window, with the given title, offering folders only.
// Gives the chosen folder's full path, or the empty text when the person cancels.
QString ExaminarCarpeta(QWidget* padre, const QString& titulo, const QString& inicial = {});

// Whether the program runs installed in a system folder (/usr/bin...) rather than from the
// folder it was built in: installed, it keeps nothing beside itself.
bool ProgramaInstalado(const QString& carpetaPrograma);
bool ProgramaInstalado();

// Where a file dialog starts when it is given only a file name, or a folder that does not
// exist: the person's pictures folder for a picture, else the documents folder, else home. The
// program run from its build folder keeps `inicial` as it is.
QString InicioDeDialogo(const QString& inicial, bool imagen);

} // namespace Carpetas
