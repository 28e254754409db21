#include "frmLogin.h"

#include "Conexiones.h"
#include "Configuracion.h"
#include "Mensajes.h"
#include "Usuario.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Focus to the field with its whole text selected, so that typing replaces it.
void Reintentar(QLineEdit* campo) {
    campo->setFocus(Qt::OtherFocusReason);
    campo->home(false);
    campo->end(true);
}

} // namespace

frmLogin::frmLogin(QWidget* parent) : QDialog(parent) {
    CargarConfiguracion();
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Quimbel - Login"));

    lblLabels_0 = new QLabel(QStringLiteral("&Login:"), this);
    lblLabels_1 = new QLabel(QStringLiteral("&Password:"), this);
    txtLogin = new QLineEdit(QStringLiteral("korva"), this);
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

    setTabOrder(txtLogin, txtPassword);
    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmLogin::cmdCancel_Click);
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

void frmLogin::cmdCancel_Click() {
    reject();
}

void frmLogin::reject() {
    LoginSucceeded = false;
    QDialog::reject();
}
