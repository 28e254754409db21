#include "frmVerificarUsuario.h"

#include "Mensajes.h"
#include "Usuario.h"
#include "Usuarios.h"

#include <QApplication>
#include <QLineEdit>
#include <optional>

std::function<QString()> frmVerificarUsuario::LeerAutorizante;
std::function<Usuarios::Concesion()> frmVerificarUsuario::LeerOrden;

frmVerificarUsuario::frmVerificarUsuario(QWidget* parent)
    : DialogoClave(QStringLiteral("Usuario:"), QStringLiteral("Contraseña:"), parent) {
    setObjectName(QStringLiteral("frmVerificarUsuario"));
    setWindowTitle(QStringLiteral("Verificación de Usuario"));
    txtLogin->setEnabled(false);

    usuId_ = LeerAutorizante ? LeerAutorizante().trimmed() : QString();
    QString login;
    bool numero = false;
    const int id = usuId_.toInt(&numero);
    if (numero) {
        const Usuarios::Lectura lectura = Usuarios::LeerLogin(id, &login);
        if (lectura == Usuarios::Lectura::Hallado)
            txtLogin->setText(login);
        else if (lectura == Usuarios::Lectura::Fallo)
            RestaurarPuntero();
    }
    txtPassword->setFocus();
}

void frmVerificarUsuario::RestaurarPuntero() {
    // The data-access module has reported the failure; only the pointer is left to restore.
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void frmVerificarUsuario::cmdOK_Click() {
    autorizado = false;
    // The authoriser's id is bound as a number; anything else names no user.
    bool numero = false;
    const int id = usuId_.toInt(&numero);
    Usuarios::Clave clave = Usuarios::Clave::Incorrecta;
    if (numero) {
        const std::optional<Usuarios::Concesion> orden =
            LeerOrden ? std::optional(LeerOrden()) : std::nullopt;
        clave = Usuarios::ConfirmarAutorizante(id, txtPassword->text(), gLogin,
                                               orden ? &*orden : nullptr);
    }
    if (clave == Usuarios::Clave::Fallo) {
        RestaurarPuntero();
        return;
    }
    if (clave == Usuarios::Clave::Correcta) {
        autorizado = true;
        accept();
        return;
    }
    Mensajes::MsgBox(QStringLiteral("La contraseña no es válida. Vuelva a intentarlo"),
                     Mensajes::Botones::OK, Mensajes::Icono::Ninguno,
                     QStringLiteral("Autenticación"));
}
