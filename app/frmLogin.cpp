#include "frmLogin.h"

#include "Conexiones.h"
#include "Configuracion.h"
#include "Mensajes.h"
#include "Usuario.h"
#include "Usuarios.h"

#include <QLineEdit>

namespace {

// Focus to the field with its whole text selected, so that typing replaces it.
void Reintentar(QLineEdit* campo) {
    campo->setFocus(Qt::OtherFocusReason);
    campo->home(false);
    campo->end(true);
}

} // namespace

frmLogin::frmLogin(QWidget* parent)
    : DialogoClave(QStringLiteral("&Login:"), QStringLiteral("&Password:"), parent) {
    CargarConfiguracion();
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Quimbel - Login"));
    txtLogin->setText(QStringLiteral("korva"));
    txtLogin->setFocus();
}

void frmLogin::cmdOK_Click() {
    switch (Usuarios::ConfirmarIngreso(txtLogin->text().trimmed(), txtPassword->text())) {
    case Usuarios::Ingreso::Fallo:
        return; // the data-access module has reported it; the window stays as it was
    case Usuarios::Ingreso::LoginIncorrecto:
        Mensajes::MsgBox(QStringLiteral("Login incorrecto!"), Mensajes::Botones::OK,
                         Mensajes::Icono::Ninguno, QStringLiteral("Login"));
        Reintentar(txtLogin);
        break;
    case Usuarios::Ingreso::Aceptado:
        LoginSucceeded = true;
        gLogin = txtLogin->text();
        NombrarSesion(gLogin);
        accept();
        break;
    case Usuarios::Ingreso::ClaveIncorrecta:
        Mensajes::MsgBox(QStringLiteral("Password incorrecta!"), Mensajes::Botones::OK,
                         Mensajes::Icono::Ninguno, QStringLiteral("Login"));
        Reintentar(txtPassword);
        break;
    }
}

void frmLogin::reject() {
    LoginSucceeded = false;
    QDialog::reject();
}
