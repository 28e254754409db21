#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Helpers every window of the program shares.
namespace Pantalla {
// Twips (1/1440 inch) to pixels on the widget's screen: 15 twips a pixel at 96 dpi.
int Twips(int twips, const QWidget* w = nullptr);
// Enter and the keypad's Enter move the focus to the next control, as Tab does. Buttons and
// multi-line text boxes keep Enter for themselves.
void EnterComoTab(QWidget* ventana);
// Gives the focus to the control that Tab would reach from `desde`.
void PasarAlSiguiente(QWidget* desde);
// Show a window that exists once: raise it and give it the focus.
void TraerAlFrente(QWidget* ventana);
// Runs `accion` once, as soon as `ventana` has been painted for the first time (and not at all if
// it never is): work that can wait until the window is on screen.
void TrasElPrimerDibujo(QWidget* ventana, std::function<void()> accion);
} // namespace Pantalla

// Busy pointer for the lifetime of the object.
class CursorOcupado {
public:
    CursorOcupado();
    ~CursorOcupado();
    CursorOcupado(const CursorOcupado&) = delete;
    CursorOcupado& operator=(const CursorOcupado&) = delete;
};
