#pragma once

#include "Recordset.h"
#include "TiposBD.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

// The one shared database connection and the ways every window reaches the database. Database
// errors are shown to the user here, through the message seam, one box per error; every
// operation also says whether it worked, so that a caller that must not carry on can stop.

inline constexpr const char* kOrigenDeDatos = "QUIMBEL";
inline constexpr const char* kClaveBaseDeDatos = "tarpon";

// Whether "db_path" names a server database (a postgresql:// or postgres:// URI) rather than a
// database file.
bool EsServidor(const QString& ruta);
// (Re)registers the named connection for the database file or server URI; opening it is
// AbrirConexion's job.
[[nodiscard]] bool CrearOrigenDeDatos(const QString& nombre, const QString& ruta);
// The database file (or server URI) a registered connection points at.
QString RutaDeOrigen(const QString& nombre);
// Opens the shared connection. A missing file (never created here), a file that is not a
// database of this program, one that cannot be written, or a server that refuses it goes, told
// apart, to the handler set with AlFallarConexion (start-up shows it and the options dialog)
// and gives false: start-up then ends the program.
[[nodiscard]] bool AbrirConexion(const QString& nombre, const QString& password);
// What AbrirConexion does when it cannot open: the handler, or without one (the command-line
// tool) a plain message with the cause in its details.
void InformarConexionFallida(const FalloApertura& fallo);

// A server database protected with a role per person is opened only once the person has signed
// in, as that person's role. First the connection is tried as the address says: PideIngreso
// when the database is protected or the server wants to know who connects (the connection is
// then closed), Fallida when it was told as AbrirConexion tells it. A server that does not admit
// the workstation's own user, with no user in the address, also asks for the sign-in.
enum class AccesoServidor { Abierta, PideIngreso, Fallida };
[[nodiscard]] AccesoServidor AbrirConexionServidor(const QString& nombre);
// Opens the shared connection as the role of the person `login` with their password. Rechazado:
// the server refused that person or password; NoAdmitido: the server's access configuration
// admits no such connection from this workstation, whatever the password (`noAdmitido` says
// why); neither is shown. Fallo: told as AbrirConexion tells it. It is opened again as that
// person when lost.
enum class IngresoServidor { Aceptado, Rechazado, NoAdmitido, Fallo };
[[nodiscard]] IngresoServidor AbrirConexionComo(const QString& nombre, const QString& login,
                                                const QString& clave,
                                                FalloApertura* noAdmitido = nullptr);
// Whether the open connection's database is a server's protected with a role per person.
bool BaseProtegida();
// Names the shared connection's session on the server after the workstation and the person
// signed in as `login`, "Quimbel - <equipo> - <login>", so that the office's administrator can
// tell the sessions apart; it keeps the name when it is opened again. Nothing on the file.
void NombrarSesion(const QString& login);
void CerrarConexion();
bool ConexionAbierta();
void AlFallarConexion(std::function<void(const FalloApertura&)> manejador);
// What the engine's quick check finds wrong in the pages of the open database file (the first
// few findings); empty when they are sound, and always on a server, which looks after its own.
QStringList RevisarBaseAbierta();

// Runs the stored command of that name (without regard to case) with positional values, each
// converted to the type the command declares. rs receives the rows the command produces.
[[nodiscard]] bool EjecutarComando(const QString& nombre, Recordset& rs,
                                   const QVariantList& valores);
// Opens a snapshot for an SQL text; an action statement is run and leaves rs closed. Values in
// `valores` are bound to the text's ? placeholders, never pasted into it.
[[nodiscard]] bool AbrirRecordset(const QString& sql, Recordset& rs,
                                  const QVariantList& valores = {});
void CerrarRecordset(Recordset& rs, bool liberar);
// Opens a snapshot for each statement, as AbrirRecordset does, but on the server all of them
// travel together: one round trip instead of one each. False (the person told) if any failed.
[[nodiscard]] bool AbrirRecordsets(const QList<Consulta>& consultas, QList<Recordset>* rs);

// Atomic unit of work on the shared connection: rolled back unless Confirmar() succeeds.
class Transaccion {
public:
    Transaccion();
    ~Transaccion();
    Transaccion(const Transaccion&) = delete;
    Transaccion& operator=(const Transaccion&) = delete;
    bool Activa() const { return activa_; }
    [[nodiscard]] bool Confirmar();

private:
    bool activa_ = false;
};
