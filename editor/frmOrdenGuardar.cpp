#include "frmOrden.h"

// Placeholders until validation and saving are in place: every order passes and nothing is
// written; the window just moves to view mode as a save would leave it.
bool frmOrden::ValidarOrden() {
    return true;
}

bool frmOrden::GuardarOrden() {
    agregando = false;
    BloquearCampos();
    return true;
}
