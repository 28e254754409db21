#include "Conexiones.h"

#include "Ejecutor.h"
#include "Mensajes.h"
#include "Motor.h"

#include <QHash>
#include <QSysInfo>

namespace {

std::function<void()>& manejadorFallo() {
    static std::function<void()> f;
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
    QString causa = QStringLiteral("No está registrado el origen de datos %1.").arg(nombre);
    if (QSqlDatabase::contains(nombre)) {
        QSqlDatabase db = QSqlDatabase::database(nombre, false);
        causa = Motor::Abrir(db, RutaDeOrigen(nombre), password, kEsperaOcupadoMs);
        if (causa.isEmpty())
            gConexion = db;
    }
    if (!causa.isEmpty())
        InformarConexionFallida(causa);
    return causa.isEmpty();
}

AccesoServidor AbrirConexionServidor(const QString& nombre) {
    CerrarConexion();
    if (!QSqlDatabase::contains(nombre)) {
        InformarConexionFallida(
            QStringLiteral("No está registrado el origen de datos %1.").arg(nombre));
        return AccesoServidor::Fallida;
    }
    QSqlDatabase db = QSqlDatabase::database(nombre, false);
    bool rechazo = false;
    const QString causa =
        Motor::Abrir(db, RutaDeOrigen(nombre), QString(), kEsperaOcupadoMs, &rechazo);
    if (causa.isEmpty() && Motor::Protegida(db)) {
        CerrarBase(db);
        return AccesoServidor::PideIngreso;
    }
    if (causa.isEmpty()) {
        gConexion = db;
        return AccesoServidor::Abierta;
    }
    if (rechazo)
        return AccesoServidor::PideIngreso;
    InformarConexionFallida(causa);
    return AccesoServidor::Fallida;
}

IngresoServidor AbrirConexionComo(const QString& nombre, const QString& login,
                                  const QString& clave) {
    CerrarConexion();
    if (!QSqlDatabase::contains(nombre)) {
        InformarConexionFallida(
            QStringLiteral("No está registrado el origen de datos %1.").arg(nombre));
        return IngresoServidor::Fallo;
    }
    QSqlDatabase db = QSqlDatabase::database(nombre, false);
    const QString ruta = RutaDeOrigen(nombre);
    db.setUserName(Motor::RolDePersona(ruta, login));
    db.setPassword(clave);
    bool rechazo = false;
    const QString causa = Motor::Abrir(db, ruta, QString(), kEsperaOcupadoMs, &rechazo);
    if (causa.isEmpty()) {
        gConexion = db;
        return IngresoServidor::Aceptado;
    }
    if (rechazo)
        return IngresoServidor::Rechazado;
    InformarConexionFallida(causa);
    return IngresoServidor::Fallo;
}

bool BaseProtegida() {
    return gConexion.isValid() && Motor::Protegida(gConexion);
}

void InformarConexionFallida(const QString& causa) {
    Mensajes::MsgBox(
        QStringLiteral("No tiene suficientes permisos en la ubicación actual de la base de datos."),
        Mensajes::Botones::OK, Mensajes::Icono::Informacion, QStringLiteral("Atención"), causa);
    if (manejadorFallo())
        manejadorFallo()();
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

void AlFallarConexion(std::function<void()> manejador) {
    manejadorFallo() = std::move(manejador);
}

QStringList RevisarBaseAbierta() {
    return Motor::RevisionRapida(gConexion);
}
