#pragma once

#include <QString>
#include <QVariant>

// The machine-wide settings store. On Windows it is the registry key under HKEY_LOCAL_MACHINE;
// elsewhere the system-wide INI file Qt uses for the same organisation and application. The
// environment variable QUIMBEL_SETTINGS names an INI file that replaces the store (tests,
// installations without rights to the system folder).
enum HKEY_ROOT { HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE };
enum TipoRegistro { REG_SZ = 1 };

inline constexpr const char* kClaveQuimbel = "Software\\Tolvanex\\Quimbel";

class cQueryReg {
public:
    // The value, or an invalid QVariant when the store or the value cannot be read.
    QVariant GetReg(const QString& sKey, const QString& sValue, HKEY_ROOT hKey = HKEY_LOCAL_MACHINE,
                    bool bAsString = true) const;
    // Gives whether the value reached the store.
    bool SetReg(const QString& sKey, const QString& sName, const QVariant& vValue,
                HKEY_ROOT hKey = HKEY_LOCAL_MACHINE, TipoRegistro RegDataType = REG_SZ,
                bool bCreateKey = true) const;
    // Where the store is, for messages ("/etc/xdg/Tolvanex/Quimbel.conf").
    QString Ubicacion(const QString& sKey = QString::fromLatin1(kClaveQuimbel),
                      HKEY_ROOT hKey = HKEY_LOCAL_MACHINE) const;
};
