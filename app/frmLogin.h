#pragma once

#include "DialogoClave.h"

// Sign-in at start-up. The caller shows it modally and reads LoginSucceeded; on success gLogin
// holds the login exactly as typed.
class frmLogin : public DialogoClave {
    Q_OBJECT
public:
    explicit frmLogin(QWidget* parent = nullptr);

    bool LoginSucceeded = false;

    void cmdOK_Click() override;

protected:
    void reject() override;
};
