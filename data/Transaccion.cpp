#include "Conexiones.h"
#include "Ejecutor.h"
#include "Mensajes.h"
#include "Motor.h"

#include <sqlite3.h>

namespace {

// Another workstation holding the database file past the wait: nothing was done yet (BEGIN)
// or everything waits only to be committed (COMMIT), so trying again is safe, and the window
// still holds what the person typed. The server meets locks half-way through a save instead,
// where the save itself must be made again.
bool OfrecerReintento(const QSqlDatabase& db, const ErrorBD& error) {
    if (Motor::EsServidor(db) || (error.numero & 0xff) != SQLITE_BUSY)
        return false;
    return Mensajes::MsgBox(QStringLiteral("La base de datos está siendo utilizada por otro "
                                           "puesto y no se pudo guardar todavía.\r\n¿Desea "
                                           "volver a intentarlo?"),
                            Mensajes::Botones::ReintentarCancelar, Mensajes::Icono::Exclamacion,
                            QStringLiteral("Atención"),
                            error.descripcion) == Mensajes::Respuesta::Reintentar;
}

bool Ocupada(const QSqlDatabase& db, const ErrorBD& error) {
    return !Motor::EsServidor(db) && (error.numero & 0xff) == SQLITE_BUSY;
}

} // namespace

Transaccion::Transaccion() {
    // Whatever stops it from starting is told: the save it was for keeps nothing.
    const QSqlDatabase& db = Conexion();
    ErrorBD error{SQLITE_MISUSE, QStringLiteral("Ya hay una transacción en curso.")};
    do
        activa_ = !Motor::EnTransaccion(db) && Motor::IniciarEscritura(db, &error);
    while (!activa_ && OfrecerReintento(db, error));
    // A busy file the person chose not to wait for was told by the question itself.
    if (!activa_ && !Ocupada(db, error))
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
    bool ok = false;
    do
        ok = Motor::Confirmar(Conexion(), &error);
    while (!ok && OfrecerReintento(Conexion(), error));
    if (!ok) {
        if (!Ocupada(Conexion(), error))
            ReportarErrores({error}, true);
        return false;
    }
    activa_ = false;
    return true;
}
