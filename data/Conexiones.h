#pragma once

#include "Recordset.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <functional>

struct sqlite3;

// The one shared database connection and the ways every window reaches the database. Database
// errors are shown to the user here, through the message seam, one box per error; every
// operation also says whether it worked, so that a caller that must not carry on can stop.

inline constexpr const char* kOrigenDeDatos = "QUIMBEL";
inline constexpr const char* kClaveBaseDeDatos = "tarpon";
// How long a workstation waits for another's write before giving up.
inline constexpr int kEsperaOcupadoMs = 10000;

extern QSqlDatabase gConexion;

// One statement with its values, for AbrirRecordsets.
struct Consulta {
    QString sql;
    QVariantList valores;
};

struct ErrorBD {
    int numero = 0;
    QString descripcion;
};

// Whether "db_path" names a server database (a postgresql:// or postgres:// URI) rather than a
// database file.
bool EsServidor(const QString& ruta);
// (Re)registers the named connection for the database file or server URI; opening it is
// AbrirConexion's job.
bool CrearOrigenDeDatos(const QString& nombre, const QString& ruta);
// The database file (or server URI) a registered connection points at.
QString RutaDeOrigen(const QString& nombre);
// Opens the shared connection. A missing file (never created here), a file that is not a
// database of this program, or one that cannot be written tells the user, runs the handler set
// with AlFallarConexion (the options dialog) and gives false: start-up then ends the program.
// The user is told the same for every cause; the cause itself goes in the message's details.
bool AbrirConexion(const QString& nombre, const QString& password);
// What AbrirConexion does when it cannot open: the message, then the handler.
void InformarConexionFallida(const QString& causa);
void CerrarConexion();
// Closes any connection of the program, letting go first of what is kept prepared for it.
void CerrarBase(QSqlDatabase& db);
bool ConexionAbierta();
void AlFallarConexion(std::function<void()> manejador);

// Runs the stored command of that name (without regard to case) with positional values, each
// converted to the type the command declares. rs receives the rows the command produces.
bool EjecutarComando(const QString& nombre, Recordset& rs, const QVariantList& valores);
// Opens a snapshot for an SQL text; an action statement is run and leaves rs closed. Values in
// `valores` are bound to the text's ? placeholders, never pasted into it.
bool AbrirRecordset(const QString& sql, Recordset& rs, const QVariantList& valores = {});
void CerrarRecordset(Recordset& rs, bool liberar);

// The same operations on any open connection of the program (the data environment has its own).
bool AbrirRecordsetEn(const QSqlDatabase& db, const QString& sql, Recordset& rs,
                      const QVariantList& valores = {});
// Opens a snapshot for each statement, as AbrirRecordset does, but on the server all of them
// travel together: one round trip instead of one each. False (the person told) if any failed.
bool AbrirRecordsets(const QList<Consulta>& consultas, QList<Recordset>* rs);
// Runs an INSERT as AbrirRecordsetEn does and gives the key it made, in column `columnaClave`.
bool InsertarEn(const QSqlDatabase& db, const QString& sql, const QString& columnaClave,
                const QVariantList& valores, QVariant* clave);
// Prepares a freshly opened Qt connection as every connection of the program must be.
bool PrepararConexion(QSqlDatabase& db);
sqlite3* HandleDe(const QSqlDatabase& db);
sqlite3* HandleConexion();

// The errors of the last failed operation, as reported.
QList<ErrorBD> UltimosErrores();

// Atomic unit of work on the shared connection: rolled back unless Confirmar() succeeds.
class Transaccion {
public:
    Transaccion();
    ~Transaccion();
    Transaccion(const Transaccion&) = delete;
    Transaccion& operator=(const Transaccion&) = delete;
    bool Activa() const { return activa_; }
    bool Confirmar();

private:
    bool activa_ = false;
};

// A write inside the open transaction whose answer nobody waits for, such as a history line. On
// the server it travels with the transaction's COMMIT, a round trip fewer for every save; if it
// fails, the COMMIT does not run, Confirmar says so and the work is rolled back. On the file
// engine, or with no Transaccion open, it runs at once. False after the person was told.
bool EscribirAlConfirmar(const Consulta& escritura);
