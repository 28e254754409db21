#pragma once

#include <QString>

class QWidget;

namespace Carpetas {

// The folder browser owned by the given window, with the given title, offering folders only.
// Gives the chosen folder's full path, or the empty text when the person cancels.
QString ExaminarCarpeta(QWidget* padre, const QString& titulo, const QString& inicial = {});

} // namespace Carpetas
