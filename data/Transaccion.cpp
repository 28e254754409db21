#include "Conexiones.h"
#include "Motor.h"

#include <sqlite3.h>

Transaccion::Transaccion() {
    ErrorBD error{SQLITE_MISUSE, QStringLiteral("Ya hay una transacción en curso.")};
    activa_ = ConexionAbierta() && !Motor::EnTransaccion(gConexion) &&
              Motor::IniciarEscritura(gConexion, &error);
    if (!activa_ && ConexionAbierta())
        ReportarErrores({error});
}

Transaccion::~Transaccion() {
    if (activa_)
        Motor::Simple(gConexion, "ROLLBACK", nullptr);
}

bool Transaccion::Confirmar() {
    if (!activa_)
        return false;
    ErrorBD error;
    if (!Motor::Simple(gConexion, "COMMIT", &error)) {
        ReportarErrores({error});
        return false;
    }
    activa_ = false;
    return true;
}
