#include "Controles.h"
#include "frmOrden.h"

#include <QCheckBox>

// Without the password confirmation yet: ticking opens the authoriser list, unticking empties
// and closes it.
void frmOrden::AutorizoCambiado(bool marcado) {
    if (!marcado)
        dtcAutorizantes->SetValor(QString());
    dtcAutorizantes->setEnabled(marcado);
}

void frmOrden::AutorizanteElegido() {}
