#include "frmVerificarUsuario.h"

#include "Conexiones.h"
#include "Mensajes.h"
#include "Usuario.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

std::function<QString()> frmVerificarUsuario::LeerAutorizante;

frmVerificarUsuario::frmVerificarUsuario(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmVerificarUsuario"));
    setWindowTitle(QStringLiteral("Verificación de Usuario"));

    lblLabels_0 = new QLabel(QStringLiteral("Usuario:"), this);
    lblLabels_1 = new QLabel(QStringLiteral("Contraseña:"), this);
    txtLogin = new QLineEdit(this);
    txtLogin->setEnabled(false);
    txtPassword = new QLineEdit(this);
    txtPassword->setEchoMode(QLineEdit::Password);
    cmdOK = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancelar"), this);
    lblLabels_0->setObjectName(QStringLiteral("lblLabels_0"));
    lblLabels_1->setObjectName(QStringLiteral("lblLabels_1"));
    txtLogin->setObjectName(QStringLiteral("txtLogin"));
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    lblLabels_0->setBuddy(txtLogin);
    lblLabels_1->setBuddy(txtPassword);
    cmdOK->setDefault(true);

    auto* grilla = new QGridLayout(this);
    grilla->addWidget(lblLabels_0, 0, 0);
    grilla->addWidget(txtLogin, 0, 1);
    grilla->addWidget(lblLabels_1, 1, 0);
    grilla->addWidget(txtPassword, 1, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdOK);
    botones->addWidget(cmdCancel);
    grilla->addLayout(botones, 2, 0, 1, 2);
    grilla->setColumnMinimumWidth(1, 200);

    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    connect(cmdOK, &QPushButton::clicked, this, &frmVerificarUsuario::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmVerificarUsuario::cmdCancel_Click);

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

void frmVerificarUsuario::cmdCancel_Click() {
    reject();
}
