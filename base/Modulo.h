#pragma once

#include <QString>

class QObject;

// Features that need a large library only some runs use (charts need Qt Charts and OpenGL,
// printing needs Qt Print Support) live in modules: shared libraries installed in the program's
// own library folder, loaded the first time the feature is asked for, so that every start does
// not pay for loading them. Each module gives one object implementing the feature's interface.
namespace Modulo {

// The object of the module `nombre` ("quimbel-graficos"), loaded on first use and kept for the
// rest of the run; nullptr when the module cannot be loaded, with the reason in `error`.
QObject* Cargar(const QString& nombre, QString* error = nullptr);

// The message a person is shown when a feature's module is missing or cannot be loaded, after
// `queNo` ("No se pueden mostrar los gráficos").
QString FaltaModulo(const QString& queNo, const QString& error);

} // namespace Modulo
