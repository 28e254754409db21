#include "Configuracion.h"

#include "Carpetas.h"
#include "cQueryReg.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

QString gDbPath;
QString gDbBackup;
QString gLogoPath;
QString gEmpresa;
int gAvisoDias = 15;

QString RutaPorDefectoBaseDeDatos(const QString& carpetaPrograma) {
    const QString carpeta = Carpetas::ProgramaInstalado(carpetaPrograma)
                                ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                : carpetaPrograma;
    return QDir::toNativeSeparators(carpeta + QStringLiteral("/bdquimbel.mdb"));
}

QString RutaPorDefectoBaseDeDatos() {
    return RutaPorDefectoBaseDeDatos(QCoreApplication::applicationDirPath());
}

namespace {

QString LeerTexto(const cQueryReg& reg, const char* nombre) {
    return reg.GetReg(QLatin1String(kClaveQuimbel), QLatin1String(nombre)).toString();
}

// Text settings: a missing or empty value is written as the empty text.
QString CargarTexto(const cQueryReg& reg, const char* nombre) {
    const QString v = LeerTexto(reg, nombre);
    if (v.isEmpty())
        reg.SetReg(QLatin1String(kClaveQuimbel), QLatin1String(nombre), QString());
    return v;
}

} // namespace

void CargarConfiguracion() {
    const cQueryReg reg;
    const QString clave = QLatin1String(kClaveQuimbel);

    gDbPath = LeerTexto(reg, "db_path");
    if (gDbPath.isEmpty()) {
        gDbPath = RutaPorDefectoBaseDeDatos();
        reg.SetReg(clave, QStringLiteral("db_path"), gDbPath);
    }
    gDbBackup = CargarTexto(reg, "db_backup");
    gLogoPath = CargarTexto(reg, "logo_path");
    gEmpresa = CargarTexto(reg, "empresa");

    // Text that is not a whole number counts as 0, as a missing value does.
    bool ok = false;
    gAvisoDias = reg.GetReg(clave, QStringLiteral("aviso_dias"), HKEY_LOCAL_MACHINE, false)
                     .toString()
                     .trimmed()
                     .toInt(&ok);
    if (!ok || gAvisoDias == 0) {
        gAvisoDias = 15;
        reg.SetReg(clave, QStringLiteral("aviso_dias"), QStringLiteral("15"));
    }
}
