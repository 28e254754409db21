#include "Conexiones.h"
#include "Ejecutor.h"
#include "Motor.h"

#include <sqlite3.h>

Transaccion::Transaccion() {
    ErrorBD error{SQLITE_MISUSE, QStringLiteral("Ya hay una transacción en curso.")};
    activa_ = ConexionAbierta() && !Motor::EnTransaccion(Conexion()) &&
              Motor::IniciarEscritura(Conexion(), &error);
    if (!activa_ && ConexionAbierta())
        ReportarErrores({error});
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
        ReportarErrores({error});
        return false;
    }
    activa_ = false;
    return true;
}
