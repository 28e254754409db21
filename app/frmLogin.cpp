#include "frmLogin.h"

#include "Conexiones.h"
#include "Configuracion.h"
#include "Mensajes.h"
#include "Usuario.h"

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
    Recordset rs;
    // The login is bound, never pasted into the SQL text; the column's collation makes the
    // comparison blind to letter case.
    if (!AbrirRecordset(QStringLiteral("SELECT * FROM usuarios WHERE UsuLogin=? ORDER BY UsuId"),
                        rs, {txtLogin->text().trimmed()}))
        return; // the data-access module has reported it; the window stays as it was
    if (rs.AbsolutePosition() <= 0) {
        Mensajes::MsgBox(QStringLiteral("Login incorrecto!"), Mensajes::Botones::OK,
                         Mensajes::Icono::Ninguno, QStringLiteral("Login"));
        Reintentar(txtLogin);
    } else if (rs.Texto(QStringLiteral("UsuPassword")) == CodificarClave(txtPassword->text())) {
        LoginSucceeded = true;
        gLogin = txtLogin->text();
        accept();
    } else {
        Mensajes::MsgBox(QStringLiteral("Password incorrecta!"), Mensajes::Botones::OK,
                         Mensajes::Icono::Ninguno, QStringLiteral("Login"));
        Reintentar(txtPassword);
    }
    CerrarRecordset(rs, false);
}

void frmLogin::reject() {
    LoginSucceeded = false;
    QDialog::reject();
}
