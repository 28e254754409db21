#pragma once

// What screen readers and other assistive tools are told about the program's windows.
namespace Accesibilidad {
// A top-level window built on a plain QWidget (the order editor, the maintenance windows) is
// announced as a window with its caption rather than as an unnamed filler. Call once, after the
// QApplication exists and before the first window is shown.
void Instalar();
} // namespace Accesibilidad
