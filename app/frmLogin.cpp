#include "frmLogin.h"

#include "AvisoConexion.h"
#include "Conexiones.h"
#include "Configuracion.h"
#include "IngresosPendientes.h"
#include "Mensajes.h"
#include "Reloj.h"
#include "Usuario.h"
#include "Usuarios.h"

#include <QLineEdit>
#include <QSysInfo>

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

// The server cannot tell an unknown person from a wrong password, and says neither: both are
// answered as a wrong password. A server whose access configuration does not admit this
// workstation for that person is told apart, as no password helps; the window stays, as it may
// admit another person. Both refusals are kept for the history until a sign-in the server
// accepts, which hands them in before its own line. A server that cannot be reached was told,
// with the options dialog, and the program ends as when it cannot open the database.
Usuarios::Ingreso frmLogin::IngresarEnServidor() {
    const QString login = txtLogin->text().trimmed();
    const QString base = RutaDeOrigen(QString::fromLatin1(kOrigenDeDatos));
    const auto guardar = [&](const QString& motivo) {
        IngresosPendientes::Guardar(base,
                                    {login, QSysInfo::machineHostName(), Reloj::Ahora(), motivo});
    };
    FalloApertura noAdmitido;
    switch (AbrirConexionComo(QString::fromLatin1(kOrigenDeDatos), login, txtPassword->text(),
                              &noAdmitido)) {
    case IngresoServidor::Aceptado:
        IngresosPendientes::Entregar(base);
        return Usuarios::IngresoAceptadoPorServidor(login);
    case IngresoServidor::Rechazado:
        guardar(QStringLiteral("el servidor rechazó el login o la contraseña"));
        return Usuarios::Ingreso::ClaveIncorrecta;
    case IngresoServidor::NoAdmitido:
        guardar(QStringLiteral("el servidor no admite este equipo para ese usuario"));
        Mensajes::MsgBox(TitularConexionFallida(noAdmitido.tipo), Mensajes::Botones::OK,
                         Mensajes::Icono::Informacion, QStringLiteral("Login"), noAdmitido.causa);
        Reintentar(txtLogin);
        return Usuarios::Ingreso::Fallo;
    case IngresoServidor::Fallo:
        break;
    }
    reject();
    return Usuarios::Ingreso::Fallo;
}

void frmLogin::cmdOK_Click() {
    if (AntesDeIngresar && !AntesDeIngresar()) {
        reject();
        return;
    }
    switch (ConectarAlIngresar
                ? IngresarEnServidor()
                : Usuarios::ConfirmarIngreso(txtLogin->text().trimmed(), txtPassword->text())) {
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
