#include "cQueryReg.h"

#include "ArchivoIni.h"

#include <QSettings>
#include <memory>

namespace {

// "Software\Organisation\Application" names the store the way Qt names it.
std::unique_ptr<QSettings> Registro(const QString& sKey, HKEY_ROOT hKey) {
    QStringList partes = sKey.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!partes.isEmpty() &&
        partes.first().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
        partes.removeFirst();
    const QString org = partes.value(0);
    const QString app = partes.mid(1).join(QLatin1Char('/'));
    const auto ambito = hKey == HKEY_LOCAL_MACHINE ? QSettings::SystemScope : QSettings::UserScope;
    return std::make_unique<QSettings>(QSettings::NativeFormat, ambito, org, app);
}

// The INI file that holds the store, or the empty text when it is the Windows registry. Qt's
// own INI reader is not used: it takes a hand-typed "Tolvanex, S.A." for a list, and keeps a
// failed write pending in a cache that every later read in the process then reports as an
// access error.
QString ArchivoDelAlmacen(const QString& sKey, HKEY_ROOT hKey) {
    const QString archivo = qEnvironmentVariable("QUIMBEL_SETTINGS");
    if (!archivo.isEmpty())
        return archivo;
#if defined(Q_OS_WIN)
    Q_UNUSED(sKey);
    Q_UNUSED(hKey);
    return {};
#else
    return Registro(sKey, hKey)->fileName();
#endif
}

} // namespace

QVariant cQueryReg::GetReg(const QString& sKey, const QString& sValue, HKEY_ROOT hKey,
                           bool bAsString) const {
    const QString archivo = ArchivoDelAlmacen(sKey, hKey);
    if (!archivo.isEmpty()) {
        const auto v = ArchivoIni::Leer(archivo, sValue);
        return v ? QVariant(*v) : QVariant();
    }
    auto s = Registro(sKey, hKey);
    if (!s->contains(sValue))
        return {};
    const QVariant v = s->value(sValue);
    return bAsString ? QVariant(v.toString()) : v;
}

bool cQueryReg::SetReg(const QString& sKey, const QString& sName, const QVariant& vValue,
                       HKEY_ROOT hKey, TipoRegistro, bool bCreateKey) const {
    const QString archivo = ArchivoDelAlmacen(sKey, hKey);
    if (!archivo.isEmpty())
        return ArchivoIni::Escribir(archivo, sName, vValue.toString(), bCreateKey);
    auto s = Registro(sKey, hKey);
    s->setValue(sName, vValue.toString());
    s->sync();
    return s->status() == QSettings::NoError;
}

QString cQueryReg::Ubicacion(const QString& sKey, HKEY_ROOT hKey) const {
    const QString archivo = ArchivoDelAlmacen(sKey, hKey);
    return archivo.isEmpty() ? Registro(sKey, hKey)->fileName() : archivo;
}
