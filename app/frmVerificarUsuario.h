#pragma once

#include "DialogoClave.h"
#include "Usuarios.h"

#include <functional>

// The chosen authoriser confirms with their own password. Loaded anew for each use; the caller
// reads `autorizado` after exec().
class frmVerificarUsuario : public DialogoClave {
    Q_OBJECT
public:
    explicit frmVerificarUsuario(QWidget* parent = nullptr);

    // Gives the chosen authoriser's UsuId as text; set by the window that owns the choice.
    static std::function<QString()> LeerAutorizante;
    // The order being authorised as it stands, when there is one: the authoriser's confirmation
    // then also grants that order's save.
    static std::function<Usuarios::Concesion()> LeerOrden;

    bool autorizado = false;

    void cmdOK_Click() override;

private:
    static void RestaurarPuntero();

    QString usuId_;
};
