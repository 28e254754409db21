#include "cQueryReg.h"

#include <QFileInfo>
#include <QSettings>
#include <memory>

namespace {

std::unique_ptr<QSettings> Almacen(const QString& sKey, HKEY_ROOT hKey) {
    const QString archivo = qEnvironmentVariable("QUIMBEL_SETTINGS");
    if (!archivo.isEmpty())
        return std::make_unique<QSettings>(archivo, QSettings::IniFormat);
    // "Software\Organisation\Application" names the store the way Qt names it.
    QStringList partes = sKey.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!partes.isEmpty() &&
        partes.first().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
        partes.removeFirst();
    const QString org = partes.value(0);
    const QString app = partes.mid(1).join(QLatin1Char('/'));
    const auto ambito = hKey == HKEY_LOCAL_MACHINE ? QSettings::SystemScope : QSettings::UserScope;
    return std::make_unique<QSettings>(ambito, org, app);
}

} // namespace

QVariant cQueryReg::GetReg(const QString& sKey, const QString& sValue, HKEY_ROOT hKey,
                           bool bAsString) const {
    auto s = Almacen(sKey, hKey);
    if (s->status() != QSettings::NoError || !s->contains(sValue))
        return {};
    const QVariant v = s->value(sValue);
    return bAsString ? QVariant(v.toString()) : v;
}

bool cQueryReg::SetReg(const QString& sKey, const QString& sName, const QVariant& vValue,
                       HKEY_ROOT hKey, TipoRegistro, bool bCreateKey) const {
    auto s = Almacen(sKey, hKey);
    if (!bCreateKey && !QFileInfo::exists(s->fileName()) && s->format() == QSettings::IniFormat)
        return false;
    s->setValue(sName, vValue.toString());
    s->sync();
    return s->status() == QSettings::NoError;
}

QString cQueryReg::Ubicacion(const QString& sKey, HKEY_ROOT hKey) const {
    return Almacen(sKey, hKey)->fileName();
}
