#pragma once

#include "DialogoClave.h"
#include "Usuarios.h"

#include <functional>

// Sign-in at start-up. The caller shows it modally and reads LoginSucceeded; on success gLogin
// holds the login exactly as typed.
class frmLogin : public DialogoClave {
    Q_OBJECT
public:
    explicit frmLogin(QWidget* parent = nullptr);

    bool LoginSucceeded = false;
    // Set before showing on a server database protected with a role per person: signing in is
    // opening the shared connection as the person's role, and the server checks the password.
    bool ConectarAlIngresar = false;
    // What must be ready before anyone is let in, when the caller prepares it while the window
    // shows (the start-up's database); false closes the window without letting anyone in.
    std::function<bool()> AntesDeIngresar;

    void cmdOK_Click() override;

protected:
    void reject() override;

private:
    Usuarios::Ingreso IngresarEnServidor();
};
