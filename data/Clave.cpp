#include "Clave.h"

#include "ErrorPrograma.h"
#include "PaginaCodigos.h"

QString CodificarClave(const QString& clave) {
    QString r;
    r.reserve(clave.size());
    for (QChar c : clave) {
        const int b = PaginaCodigos::AWindows1252(c);
        if (b < 0 || b >= 0xFF) {
            MostrarError({5, QStringLiteral("La contraseña contiene el carácter \"%1\", que no "
                                            "se puede codificar.")
                                 .arg(c)});
            return {};
        }
        r.append(PaginaCodigos::DeWindows1252(static_cast<unsigned char>(b + 1)));
    }
    return r;
}
