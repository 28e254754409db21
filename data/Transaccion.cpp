#include "Conexiones.h"
#include "Ejecutor.h"
#include "Motor.h"

#include <sqlite3.h>

Transaccion::Transaccion() {
    // Whatever stops it from starting is told: the save it was for keeps nothing.
    const QSqlDatabase& db = Conexion();
    ErrorBD error{SQLITE_MISUSE, QStringLiteral("Ya hay una transacción en curso.")};
    activa_ = !Motor::EnTransaccion(db) && Motor::IniciarEscritura(db, &error);
    if (!activa_)
        ReportarErrores({error}, true);
}

Transaccion::~Transaccion() {
    if (activa_)
        Motor::Deshacer(Conexion());
}

bool Transaccion::Confirmar() {
    if (!activa_)
        return false;
    ErrorBD error;
    if (!Motor::Confirmar(Conexion(), &error)) {
        ReportarErrores({error}, true);
        return false;
    }
    activa_ = false;
    return true;
}
