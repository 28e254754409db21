#pragma once

#include <QString>

// Each character replaced by the next one of the single-byte code page (Windows-1252). A
// character that cannot be raised is reported through MostrarError and yields the empty text.
QString CodificarClave(const QString& clave);
