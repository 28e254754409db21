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
} // namespace Reloj
