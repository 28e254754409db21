#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// The program's users as stored: who they are, what they may do, their password. Nothing here
// shows anything; a database refusal has been reported by the data-access module.
namespace Usuarios {

enum class Lectura { Hallado, NoExiste, Fallo };

// Sign-in: the user with that login (letter case aside) whose password is `clave`.
enum class Ingreso { Aceptado, LoginIncorrecto, ClaveIncorrecta, Fallo };
Ingreso ConfirmarIngreso(const QString& login, const QString& clave);

// A sign-in the server has already accepted (a protected server's role, its password checked
// there), recorded in the history as ConfirmarIngreso records its own.
Ingreso IngresoAceptadoPorServidor(const QString& login);

// A sign-in a protected server turned away, as the workstation kept it: never the password.
struct IngresoRechazado {
    QString login; // as typed
    QString puesto;
    QDateTime momento; // on the workstation's clock
    QString motivo;
};
// Writes into the history of the protected server open now the refused sign-ins a workstation
// kept, each a change of its own, dated by the server and naming who handed it in. False: told.
[[nodiscard]] bool RegistrarIngresosRechazados(const QList<IngresoRechazado>& intentos);

// The identity check of an authoriser, by user id.
Lectura LeerLogin(int usuId, QString* login);
enum class Clave { Correcta, Incorrecta, Fallo };
Clave ConfirmarClave(int usuId, const QString& clave);

// The stored password (its hash) of the user whose id is the decimal text `usuId`.
[[nodiscard]] bool LeerClaveCodificada(const QString& usuId, QString* codificada);
// The form in which a password is stored: a salted hash that cannot be turned back. `guardada`
// itself when it already is this password's hash, so that a password saved again unchanged is
// not recorded as changed. Empty, the person told, when it cannot be made.
QString CifrarClave(const QString& clave, const QString& guardada = {});

// On a server protected with a role per person the server keeps the passwords: the users window
// stores none, and sets them with CambiarClaveServidor once the user's role is in step with the
// row (SincronizarRol). Both tell the person of a refusal.
bool ClavesEnServidor();
[[nodiscard]] bool SincronizarRol(int usuId);
[[nodiscard]] bool CambiarClaveServidor(int usuId, const QString& clave);

// The order an authoriser confirms, as it stands on screen: its number (0: not yet saved), the
// quantity and the accepted quote (empId 0: none).
struct Concesion {
    int ordId = 0;
    double cantidad = 0;
    int empId = 0;
    double precio = 0;
    QString moneda;
};
// ConfirmarClave for an authorisation. On a server protected with a role per person the
// authoriser's own short session also grants `para`'s next save of that order one use of the
// authorisation; a refused grant is told and gives Fallo.
Clave ConcederAutorizacion(int usuId, const QString& clave, const QString& para,
                           const Concesion& orden);

// The confirmation window's check: ConcederAutorizacion when `orden` is given, ConfirmarClave
// otherwise, recorded like a sign-in, accepted or refused, as done by `quien` (the person signed
// in at this workstation) about the authoriser's row. A confirmation that cannot be recorded
// gives Fallo, told.
Clave ConfirmarAutorizante(int usuId, const QString& clave, const QString& quien,
                           const Concesion* orden);

struct Derechos {
    int usuId = 0;
    bool puedeSolicitar = false;
    bool puedeCumplir = false;
};
// The first user with that login, as sign-in found it.
Lectura LeerDerechos(const QString& login, Derechos* derechos);

} // namespace Usuarios
