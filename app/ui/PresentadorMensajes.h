#pragma once

namespace Mensajes {
// Puts the message, input, file and folder boxes on screen with Qt Widgets.
void InstalarPresentadorWidgets();
} // namespace Mensajes
