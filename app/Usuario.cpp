#include "Usuario.h"

QString gLogin;

bool EsAdministrador(const QString& login) {
    const QString l = login.toUpper();
    return l == QLatin1String("KORVA") || l == QLatin1String("ZELTI");
}
