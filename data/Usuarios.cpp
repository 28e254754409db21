#include "Usuarios.h"

#include "Conexiones.h"
#include "Contrasena.h"
#include "Ejecutor.h"
#include "ErrorPrograma.h"
#include "Historial.h"
#include "Motor.h"
#include "Recordset.h"

#include <QSysInfo>

namespace Usuarios {
namespace {

Lectura LeerColumna(int usuId, const QString& columna, QString* valor) {
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("select ") + columna +
                            QStringLiteral(" from usuarios where UsuId=?"),
                        rs, {usuId}))
        return Lectura::Fallo;
    const bool hallado = rs.AbsolutePosition() > 0;
    if (hallado)
        *valor = rs.Campo(0).toString();
    CerrarRecordset(rs, true);
    return hallado ? Lectura::Hallado : Lectura::NoExiste;
}

QString Puesto() {
    return QSysInfo::machineHostName();
}

// Every sign-in, let in or not, is a history line of its own: who typed which login at which
// workstation, when, and why it was turned away; never the password typed. The file engine's
// history write counts on the caller's write lock, so it has a transaction of its own.
bool RegistrarIngreso(const QString& login, int usuId, Ingreso resultado) {
    QList<Historial::Nota> notas{{QStringLiteral("Puesto"), Puesto()}};
    if (resultado == Ingreso::LoginIncorrecto)
        notas.append({QStringLiteral("Motivo"), QStringLiteral("login inexistente")});
    else if (resultado == Ingreso::ClaveIncorrecta)
        notas.append({QStringLiteral("Motivo"), QStringLiteral("contraseña incorrecta")});
    const QString tipo =
        resultado == Ingreso::Aceptado ? Historial::kIngreso : Historial::kIngresoRechazado;
    Transaccion t;
    return t.Activa() &&
           Historial::Anotar(login, QStringLiteral("usuarios"), usuId, 0, notas, tipo) &&
           t.Confirmar();
}

bool RegistrarConfirmacion(const QString& quien, int usuId, int ordId, Clave resultado) {
    QString autorizante;
    if (LeerLogin(usuId, &autorizante) == Lectura::Fallo)
        return false;
    QList<Historial::Nota> notas{{QStringLiteral("Puesto"), Puesto()},
                                 {QStringLiteral("Autorizante"), autorizante.trimmed()}};
    // The order's own history keeps the confirmation with its authorisation, once saved; this
    // line is the authoriser's, as a sign-in is, and only names the order.
    if (ordId > 0)
        notas.append({QStringLiteral("Orden"), QString::number(ordId)});
    if (resultado == Clave::Incorrecta)
        notas.append({QStringLiteral("Motivo"), QStringLiteral("contraseña incorrecta")});
    const QString tipo =
        resultado == Clave::Correcta ? Historial::kConfirmacion : Historial::kConfirmacionRechazada;
    Transaccion t;
    return t.Activa() &&
           Historial::Anotar(quien, QStringLiteral("usuarios"), usuId, 0, notas, tipo) &&
           t.Confirmar();
}

} // namespace

Ingreso ConfirmarIngreso(const QString& login, const QString& clave) {
    Recordset rs;
    // The login is bound, never pasted into the SQL text; the column's collation makes the
    // comparison blind to letter case.
    if (!AbrirRecordset(QStringLiteral("SELECT * FROM usuarios WHERE UsuLogin=? ORDER BY UsuId"),
                        rs, {login}))
        return Ingreso::Fallo;
    Ingreso resultado = Ingreso::LoginIncorrecto;
    int usuId = 0;
    if (rs.AbsolutePosition() > 0) {
        usuId = rs.Campo(QStringLiteral("UsuId")).toInt();
        resultado = Contrasena::Coincide(rs.Texto(QStringLiteral("UsuPassword")), clave)
                        ? Ingreso::Aceptado
                        : Ingreso::ClaveIncorrecta;
    }
    CerrarRecordset(rs, false);
    // A sign-in that cannot be recorded does not happen: the person has been told why.
    return RegistrarIngreso(login, usuId, resultado) ? resultado : Ingreso::Fallo;
}

Ingreso IngresoAceptadoPorServidor(const QString& login) {
    Derechos d;
    if (LeerDerechos(login, &d) == Lectura::Fallo)
        return Ingreso::Fallo;
    return RegistrarIngreso(login, d.usuId, Ingreso::Aceptado) ? Ingreso::Aceptado : Ingreso::Fallo;
}

Lectura LeerLogin(int usuId, QString* login) {
    return LeerColumna(usuId, QStringLiteral("UsuLogin"), login);
}

Clave ConfirmarClave(int usuId, const QString& clave) {
    if (ClavesEnServidor()) {
        QString login;
        const Lectura lectura = LeerLogin(usuId, &login);
        if (lectura != Lectura::Hallado)
            return lectura == Lectura::Fallo ? Clave::Fallo : Clave::Incorrecta;
        QString causa;
        switch (
            Motor::ProbarClave(RutaDeOrigen(gConexion.connectionName()), login, clave, &causa)) {
        case Motor::PruebaClave::Aceptada:
            return Clave::Correcta;
        case Motor::PruebaClave::Rechazada:
            return Clave::Incorrecta;
        case Motor::PruebaClave::Fallo:
            MostrarError({8, causa});
            return Clave::Fallo;
        }
    }
    QString guardada;
    const Lectura lectura = LeerColumna(usuId, QStringLiteral("UsuPassword"), &guardada);
    if (lectura == Lectura::Fallo)
        return Clave::Fallo;
    return lectura == Lectura::Hallado && Contrasena::Coincide(guardada, clave) ? Clave::Correcta
                                                                                : Clave::Incorrecta;
}

bool LeerClaveCodificada(const QString& usuId, QString* codificada) {
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("SELECT UsuPassword FROM usuarios WHERE UsuId=?"), rs,
                        {usuId}))
        return false;
    *codificada = rs.Texto(QStringLiteral("UsuPassword"));
    CerrarRecordset(rs, true);
    return true;
}

QString CifrarClave(const QString& clave, const QString& guardada) {
    if (Contrasena::Coincide(guardada, clave))
        return guardada;
    const QString cifrada = Contrasena::Cifrar(clave);
    if (cifrada.isEmpty())
        MostrarError({7, QStringLiteral("No hay memoria suficiente para cifrar la contraseña.")});
    return cifrada;
}

Clave ConcederAutorizacion(int usuId, const QString& clave, const QString& para,
                           const Concesion& orden) {
    if (!ClavesEnServidor())
        return ConfirmarClave(usuId, clave);
    QString login;
    const Lectura lectura = LeerLogin(usuId, &login);
    if (lectura != Lectura::Hallado)
        return lectura == Lectura::Fallo ? Clave::Fallo : Clave::Incorrecta;
    QString causa;
    switch (Motor::Conceder(RutaDeOrigen(gConexion.connectionName()), login, clave, orden.ordId,
                            para, orden.cantidad, orden.empId, orden.precio, orden.moneda,
                            &causa)) {
    case Motor::PruebaClave::Aceptada:
        return Clave::Correcta;
    case Motor::PruebaClave::Rechazada:
        return Clave::Incorrecta;
    case Motor::PruebaClave::Fallo:
        break;
    }
    MostrarError({8, causa});
    return Clave::Fallo;
}

Clave ConfirmarAutorizante(int usuId, const QString& clave, const QString& quien,
                           const Concesion* orden) {
    const Clave r =
        orden ? ConcederAutorizacion(usuId, clave, quien, *orden) : ConfirmarClave(usuId, clave);
    if (r == Clave::Fallo)
        return r;
    return RegistrarConfirmacion(quien, usuId, orden ? orden->ordId : 0, r) ? r : Clave::Fallo;
}

bool RegistrarIngresosRechazados(const QList<IngresoRechazado>& intentos) {
    if (intentos.isEmpty())
        return true;
    QVariantList valores;
    QStringList marcas;
    for (const IngresoRechazado& i : intentos) {
        valores << i.login << i.puesto << i.momento.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))
                << i.motivo;
        marcas << QStringLiteral("?, ?, ?, ?");
    }
    Transaccion t;
    Recordset rs;
    return t.Activa() &&
           AbrirRecordset(QStringLiteral("SELECT quimbel_ingresos_rechazados(%1)")
                              .arg(marcas.join(QStringLiteral(", "))),
                          rs, valores) &&
           t.Confirmar();
}

bool ClavesEnServidor() {
    return BaseProtegida();
}

bool SincronizarRol(int usuId) {
    Recordset rs;
    return AbrirRecordset(QStringLiteral("SELECT quimbel_sincronizar_rol(?)"), rs, {usuId});
}

bool CambiarClaveServidor(int usuId, const QString& clave) {
    QString login;
    if (LeerLogin(usuId, &login) != Lectura::Hallado)
        return false;
    ErrorBD error;
    if (Motor::CambiarClaveRol(gConexion, usuId, login, clave, &error))
        return true;
    ReportarErrores({error}, true);
    return false;
}

Lectura LeerDerechos(const QString& login, Derechos* d) {
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("select UsuId,UsuPuedeSolicitar,UsuPuedeCumplir from "
                                       "usuarios where UsuLogin=? order by UsuId"),
                        rs, {login}))
        return Lectura::Fallo;
    const bool hallado = rs.AbsolutePosition() > 0;
    if (hallado) {
        d->usuId = rs.Campo(0).toInt();
        d->puedeSolicitar = rs.Campo(1).toInt() != 0;
        d->puedeCumplir = rs.Campo(2).toInt() != 0;
    }
    CerrarRecordset(rs, true);
    return hallado ? Lectura::Hallado : Lectura::NoExiste;
}

} // namespace Usuarios
