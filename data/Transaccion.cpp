#include "Conexiones.h"
#include "Motor.h"

#include <sqlite3.h>
#include <utility>

namespace {

// The writes waiting for the COMMIT of the one transaction the shared connection may have open.
struct Pendientes {
    bool abierta = false;
    QList<Consulta> escrituras;
};

Pendientes& pendientes() {
    static Pendientes p;
    return p;
}

bool Commit(QList<Consulta> escrituras, ErrorBD* error) {
    if (escrituras.isEmpty())
        return Motor::Simple(gConexion, "COMMIT", error);
    escrituras.append({QStringLiteral("COMMIT"), {}});
    QList<Recordset> rs;
    return Motor::EjecutarLote(gConexion, escrituras, &rs, error);
}

} // namespace

Transaccion::Transaccion() {
    ErrorBD error{SQLITE_MISUSE, QStringLiteral("Ya hay una transacción en curso.")};
    activa_ = ConexionAbierta() && !Motor::EnTransaccion(gConexion) &&
              Motor::IniciarEscritura(gConexion, &error);
    if (!activa_ && ConexionAbierta())
        ReportarErrores({error});
    if (activa_)
        pendientes() = {true, {}};
}

Transaccion::~Transaccion() {
    if (!activa_)
        return;
    pendientes() = {};
    Motor::Simple(gConexion, "ROLLBACK", nullptr);
}

bool Transaccion::Confirmar() {
    if (!activa_)
        return false;
    ErrorBD error;
    if (!Commit(std::exchange(pendientes().escrituras, {}), &error)) {
        ReportarErrores({error});
        return false;
    }
    activa_ = false;
    pendientes() = {};
    return true;
}

bool EscribirAlConfirmar(const Consulta& escritura) {
    if (pendientes().abierta && Motor::EsServidor(gConexion)) {
        pendientes().escrituras.append(escritura);
        return true;
    }
    Recordset rs;
    return AbrirRecordset(escritura.sql, rs, escritura.valores);
}
