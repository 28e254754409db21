#include "Provisional.h"

#include "Conexiones.h"
#include "Mensajes.h"
#include "Usuario.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>

// A plain sign-in until the real login window takes its place.
bool MostrarLogin() {
    QDialog dlg;
    dlg.setWindowTitle(QStringLiteral("Quimbel - Login"));
    auto* form = new QFormLayout(&dlg);
    auto* login = new QLineEdit(QStringLiteral("korva"));
    auto* clave = new QLineEdit;
    clave->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("&Login:"), login);
    form->addRow(QStringLiteral("&Password:"), clave);
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(botones);
    QObject::connect(botones, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    QObject::connect(botones, &QDialogButtonBox::accepted, &dlg, [&] {
        Recordset rs;
        if (AbrirRecordset(QStringLiteral("SELECT UsuPassword FROM usuarios WHERE UsuLogin=?"), rs,
                           {login->text().trimmed()}) &&
            rs.AbsolutePosition() > 0 &&
            rs.Texto(QStringLiteral("UsuPassword")) == CodificarClave(clave->text())) {
            gLogin = login->text();
            dlg.accept();
        } else {
            Mensajes::MsgBox(QStringLiteral("Login incorrecto!"), Mensajes::Botones::OK,
                             Mensajes::Icono::Ninguno, QStringLiteral("Login"));
        }
    });
    return dlg.exec() == QDialog::Accepted;
}

QWidget* MostrarPresentacion() {
    return nullptr;
}

void RespaldarBaseDeDatos(const QString&, const QString&) {}

void MostrarPrincipal() {
    auto* w = new QMainWindow;
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowTitle(QStringLiteral("Quimbel - Menú Principal"));
    w->setCentralWidget(new QLabel(QStringLiteral("Sesión iniciada como ") + gLogin));
    w->resize(800, 500);
    QObject::connect(w, &QObject::destroyed, [] { CerrarConexion(); });
    w->show();
}

void MostrarOpcionesTrasFallo() {}
