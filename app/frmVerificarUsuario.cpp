#include "frmVerificarUsuario.h"

#include "Conexiones.h"
#include "Mensajes.h"
#include "Usuario.h"

#include <QApplication>
#include <QLineEdit>

std::function<QString()> frmVerificarUsuario::LeerAutorizante;

frmVerificarUsuario::frmVerificarUsuario(QWidget* parent)
    : DialogoClave(QStringLiteral("Usuario:"), QStringLiteral("Contraseña:"), parent) {
    setObjectName(QStringLiteral("frmVerificarUsuario"));
    setWindowTitle(QStringLiteral("Verificación de Usuario"));
    txtLogin->setEnabled(false);

    usuId_ = LeerAutorizante ? LeerAutorizante().trimmed() : QString();
    QString login;
    if (LeerUsuario(QStringLiteral("UsuLogin"), &login) == Lectura::Hallado)
        txtLogin->setText(login);
    txtPassword->setFocus();
}

frmVerificarUsuario::Lectura frmVerificarUsuario::LeerUsuario(const QString& columna,
                                                              QString* valor) {
    // The authoriser's id is bound as a number; anything else names no user.
    bool numero = false;
    const int id = usuId_.toInt(&numero);
    if (!numero)
        return Lectura::NoExiste;
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("select ") + columna +
                            QStringLiteral(" from usuarios where UsuId=?"),
                        rs, {id})) {
        // Already reported by the data-access module; only the pointer is left to restore.
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        return Lectura::Fallo;
    }
    const bool hallado = rs.AbsolutePosition() > 0;
    if (hallado)
        *valor = rs.Campo(0).toString();
    CerrarRecordset(rs, true);
    return hallado ? Lectura::Hallado : Lectura::NoExiste;
}

void frmVerificarUsuario::cmdOK_Click() {
    autorizado = false;
    QString guardada;
    const Lectura lectura = LeerUsuario(QStringLiteral("UsuPassword"), &guardada);
    if (lectura == Lectura::Fallo)
        return;
    if (lectura == Lectura::Hallado && guardada == CodificarClave(txtPassword->text())) {
        autorizado = true;
        accept();
        return;
    }
    Mensajes::MsgBox(QStringLiteral("La contraseña no es válida. Vuelva a intentarlo"),
                     Mensajes::Botones::OK, Mensajes::Icono::Ninguno,
                     QStringLiteral("Autenticación"));
}
