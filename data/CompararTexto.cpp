#include "CompararTexto.h"

#include "Dialecto.h"

int CompararTexto(const QString& a, const QString& b) {
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return Dialecto::Comparar(ua.constData(), static_cast<int>(ua.size()), ub.constData(),
                              static_cast<int>(ub.size()));
}
