#include "Motor.h"

#include "MotorPostgres.h"

#include <sqlite3.h>

namespace Motor {
namespace {

ErrorBD Cerrada() {
    return {SQLITE_MISUSE, QStringLiteral("La conexión con la base de datos está cerrada.")};
}

} // namespace

bool Ejecutar(const QSqlDatabase& db, const QString& sql, const QVariantList& valores,
              Recordset& rs, bool varias, ErrorBD* error) {
    if (sqlite3* h = HandleDe(db))
        return MotorSqlite::Ejecutar(h, sql, valores, rs, varias, error);
    if (PGconn* h = MotorPostgres::HandleDe(db))
        return MotorPostgres::Ejecutar(h, sql, valores, rs, varias, error);
    *error = Cerrada();
    return false;
}

bool EjecutarLote(const QSqlDatabase& db, const QList<Consulta>& consultas, QList<Recordset>* rs,
                  ErrorBD* error) {
    if (PGconn* h = MotorPostgres::HandleDe(db)) {
        const MotorPostgres::Lote lote = MotorPostgres::EjecutarLote(h, consultas, rs, error);
        if (lote != MotorPostgres::Lote::UnaPorUna)
            return lote == MotorPostgres::Lote::Hecho;
    }
    rs->clear();
    for (const Consulta& c : consultas) {
        rs->append(Recordset());
        if (!Ejecutar(db, c.sql, c.valores, rs->last(), false, error))
            return false;
    }
    return true;
}

bool Simple(const QSqlDatabase& db, const char* sql, ErrorBD* error) {
    if (sqlite3* h = HandleDe(db)) {
        if (sqlite3_exec(h, sql, nullptr, nullptr, nullptr) == SQLITE_OK)
            return true;
        if (error)
            *error = MotorSqlite::ErrorDe(h);
        return false;
    }
    if (PGconn* h = MotorPostgres::HandleDe(db))
        return MotorPostgres::Simple(h, sql, error);
    if (error)
        *error = Cerrada();
    return false;
}

bool EnTransaccion(const QSqlDatabase& db) {
    if (sqlite3* h = HandleDe(db))
        return !sqlite3_get_autocommit(h);
    if (PGconn* h = MotorPostgres::HandleDe(db))
        return MotorPostgres::EnTransaccion(h);
    return false;
}

bool IniciarEscritura(const QSqlDatabase& db, ErrorBD* error) {
    // On the file, IMMEDIATE takes the write lock now (waiting for another workstation if need
    // be), so the work inside never fails half-way for want of it. The server locks row by row
    // as the work goes, each wait bounded by the session's lock_timeout.
    if (HandleDe(db))
        return Simple(db, "BEGIN IMMEDIATE", error);
    return Simple(db, "BEGIN", error);
}

qlonglong UltimaClave(const QSqlDatabase& db) {
    if (sqlite3* h = HandleDe(db))
        return sqlite3_last_insert_rowid(h);
    return 0;
}

qlonglong Cambios(const QSqlDatabase& db) {
    if (sqlite3* h = HandleDe(db))
        return sqlite3_changes64(h);
    if (PGconn* h = MotorPostgres::HandleDe(db))
        return MotorPostgres::Cambios(h);
    return 0;
}

bool EsServidor(const QSqlDatabase& db) {
    return db.driverName() == QLatin1String("QPSQL");
}

} // namespace Motor
