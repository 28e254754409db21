#include "Conexiones.h"

#include "Ejecutor.h"
#include "Mensajes.h"
#include "Motor.h"

#include <QHash>
#include <QSysInfo>
#include <optional>

namespace {

std::function<void(const FalloApertura&)>& manejadorFallo() {
    static std::function<void(const FalloApertura&)> f;
    return f;
}

// What each registered connection was given: a file path or a server URI.
QHash<QString, QString>& origenes() {
    static QHash<QString, QString> o;
    return o;
}

} // namespace

bool EsServidor(const QString& ruta) {
    return Motor::EsServidor(ruta);
}

bool CrearOrigenDeDatos(const QString& nombre, const QString& ruta) {
    if (QSqlDatabase::contains(nombre)) {
        if (gConexion.isValid() && gConexion.connectionName() == nombre)
            gConexion = QSqlDatabase();
        {
            QSqlDatabase db = QSqlDatabase::database(nombre, false);
            CerrarBase(db);
        }
        QSqlDatabase::removeDatabase(nombre);
    }
    origenes().insert(nombre, ruta);
    if (Motor::Registrar(nombre, ruta, kEsperaOcupadoMs))
        return true;
    Mensajes::MsgBox(QStringLiteral("DSN Creation Failed"));
    return false;
}

QString RutaDeOrigen(const QString& nombre) {
    return Motor::Ruta(QSqlDatabase::database(nombre, false), origenes().value(nombre));
}

bool AbrirConexion(const QString& nombre, const QString& password) {
    CerrarConexion();
    FalloApertura fallo{FalloApertura::Tipo::Otro,
                        QStringLiteral("No está registrado el origen de datos %1.").arg(nombre)};
    if (QSqlDatabase::contains(nombre)) {
        QSqlDatabase db = QSqlDatabase::database(nombre, false);
        fallo = Motor::Abrir(db, RutaDeOrigen(nombre), password, kEsperaOcupadoMs);
        if (!fallo.Hay())
            gConexion = db;
    }
    if (fallo.Hay())
        InformarConexionFallida(fallo);
    return !fallo.Hay();
}

namespace {

// The registered connection, or nullptr with the failure told.
std::optional<QSqlDatabase> Registrada(const QString& nombre) {
    if (QSqlDatabase::contains(nombre))
        return QSqlDatabase::database(nombre, false);
    InformarConexionFallida(
        {FalloApertura::Tipo::Otro,
         QStringLiteral("No está registrado el origen de datos %1.").arg(nombre)});
    return std::nullopt;
}

} // namespace

AccesoServidor AbrirConexionServidor(const QString& nombre) {
    CerrarConexion();
    std::optional<QSqlDatabase> db = Registrada(nombre);
    if (!db)
        return AccesoServidor::Fallida;
    const FalloApertura fallo =
        Motor::Abrir(*db, RutaDeOrigen(nombre), QString(), kEsperaOcupadoMs);
    if (!fallo.Hay() && Motor::ConRoles(*db)) {
        CerrarBase(*db);
        return AccesoServidor::PideIngreso;
    }
    if (!fallo.Hay()) {
        gConexion = *db;
        return AccesoServidor::Abierta;
    }
    if (fallo.tipo == FalloApertura::Tipo::Acceso)
        return AccesoServidor::PideIngreso;
    // A workstation that keeps only the server's address connects first as its own system
    // user, whom the server may not admit where it admits the persons' roles: the sign-in tells.
    // A user named in the address is the one the workstation connects as, and no sign-in helps.
    if (fallo.tipo == FalloApertura::Tipo::NoAdmitido && db->userName().isEmpty())
        return AccesoServidor::PideIngreso;
    InformarConexionFallida(fallo);
    return AccesoServidor::Fallida;
}

IngresoServidor AbrirConexionComo(const QString& nombre, const QString& login, const QString& clave,
                                  FalloApertura* noAdmitido) {
    CerrarConexion();
    std::optional<QSqlDatabase> db = Registrada(nombre);
    if (!db)
        return IngresoServidor::Fallo;
    const QString ruta = RutaDeOrigen(nombre);
    db->setUserName(Motor::RolDePersona(ruta, login));
    db->setPassword(clave);
    const FalloApertura fallo = Motor::Abrir(*db, ruta, QString(), kEsperaOcupadoMs);
    if (!fallo.Hay()) {
        gConexion = *db;
        return IngresoServidor::Aceptado;
    }
    if (fallo.tipo == FalloApertura::Tipo::Acceso)
        return IngresoServidor::Rechazado;
    if (fallo.tipo == FalloApertura::Tipo::NoAdmitido) {
        if (noAdmitido)
            *noAdmitido = fallo;
        return IngresoServidor::NoAdmitido;
    }
    InformarConexionFallida(fallo);
    return IngresoServidor::Fallo;
}

bool BaseProtegida() {
    return gConexion.isValid() && Motor::Protegida(gConexion);
}

void InformarConexionFallida(const FalloApertura& fallo) {
    if (manejadorFallo())
        manejadorFallo()(fallo);
    else
        Mensajes::MsgBox(fallo.titular.isEmpty()
                             ? QStringLiteral("No se pudo abrir la base de datos.")
                             : fallo.titular,
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Atención"), fallo.causa);
}

void NombrarSesion(const QString& login) {
    ErrorBD error;
    if (!Motor::NombrarSesion(
            Conexion(),
            QStringLiteral("Quimbel - %1 - %2").arg(QSysInfo::machineHostName(), login.trimmed()),
            &error))
        ReportarErrores({error});
}

void CerrarConexion() {
    if (gConexion.isValid()) {
        CerrarBase(gConexion);
        gConexion = QSqlDatabase();
    }
}

bool ConexionAbierta() {
    return gConexion.isValid() && gConexion.isOpen();
}

void AlFallarConexion(std::function<void(const FalloApertura&)> manejador) {
    manejadorFallo() = std::move(manejador);
}

QStringList RevisarBaseAbierta() {
    return Motor::RevisionRapida(gConexion);
}
