#include "Reloj.h"

namespace Reloj {
namespace {
QDateTime& fijado() {
    static QDateTime m;
    return m;
}
} // namespace

QDateTime Ahora() {
    return fijado().isValid() ? fijado() : QDateTime::currentDateTime();
}

QDate Hoy() {
    return Ahora().date();
}

void Fijar(const QDateTime& momento) {
    fijado() = momento;
}

QDateTime Fijado() {
    return fijado();
}

void PrepararZonaHoraria() {
#if defined(Q_OS_LINUX)
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime");
#endif
}
} // namespace Reloj
