#include "Motor.h"

#include "ConexionArchivo.h"
#include "ConexionServidor.h"
#include "Esquema.h"
#include "MotorPostgres.h"
#include "MotorSqlite.h"
#include "Origen.h"
#include "ProteccionPg.h"
#include "SentenciasPg.h"
#include "SentenciasSqlite.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <utility>

namespace Motor {
namespace {

// Why the last attempt to open a lost connection again failed.
QString& causaPerdida() {
    static QString c;
    return c;
}

// The file connections whose database file went from its place while open, until it is
// opened there again.
QSet<QString>& archivosPerdidos() {
    static QSet<QString> p;
    return p;
}

// Whether the database file open on `h` is no longer at its path: moved, renamed or deleted.
// On Linux an open file can be deleted and still written to, every change then lost with it.
bool Movido(sqlite3* h) {
    int movido = 0;
    return sqlite3_file_control(h, "main", SQLITE_FCNTL_HAS_MOVED, &movido) == SQLITE_OK &&
           movido != 0;
}

ErrorBD ArchivoPerdido(const QSqlDatabase& db) {
    return {SQLITE_CANTOPEN,
            QStringLiteral("No se encuentra el archivo de la base de datos «%1»: se movió o se "
                           "borró mientras el programa lo usaba.")
                .arg(QDir::toNativeSeparators(ConexionArchivo::Ruta(db))),
            true};
}

ErrorBD Cerrada(const QSqlDatabase& db) {
    // A server's connection is closed only when it was lost and could not be opened again.
    if (EsServidor(db))
        return MotorPostgres::Perdida(causaPerdida());
    if (archivosPerdidos().contains(db.connectionName()))
        return ArchivoPerdido(db);
    return {SQLITE_MISUSE, QStringLiteral("La conexión con la base de datos está cerrada.")};
}

// The name each connection's session carries on the server, by connection.
QHash<QString, QString>& nombresSesion() {
    static QHash<QString, QString> n;
    return n;
}

bool AplicarNombre(const QSqlDatabase& db, ErrorBD* error) {
    const auto it = nombresSesion().constFind(db.connectionName());
    if (it == nombresSesion().constEnd())
        return true;
    FilasLeidas filas;
    return Ejecutar(db, QStringLiteral("SELECT set_config('application_name', ?, false)"), {*it},
                    &filas, false, error);
}

// The writes waiting for the COMMIT of the transaction IniciarEscritura started, by connection.
// Only the server keeps any: there every statement is a round trip.
QHash<QString, QList<Consulta>>& aplazadas() {
    static QHash<QString, QList<Consulta>> a;
    return a;
}

// Whether each open server session's database is protected, as first asked.
QHash<PGconn*, bool>& protegidas() {
    static QHash<PGconn*, bool> p;
    return p;
}

} // namespace

bool EsServidor(const QString& ruta) {
    return Origen::EsServidor(ruta);
}

bool EsServidor(const QSqlDatabase& db) {
    return db.driverName() == QLatin1String("QPSQL");
}

bool Registrar(const QString& nombre, const QString& ruta, int esperaMs) {
    return EsServidor(ruta) ? ConexionServidor::Registrar(nombre, ruta)
                            : ConexionArchivo::Registrar(nombre, ruta, esperaMs);
}

QString Ruta(const QSqlDatabase& db, const QString& registrada) {
    return EsServidor(registrada) ? registrada : ConexionArchivo::Ruta(db);
}

FalloApertura Abrir(QSqlDatabase& db, const QString& ruta, const QString& password, int esperaMs) {
    const FalloApertura f = EsServidor(ruta) ? ConexionServidor::Abrir(db, ruta, esperaMs)
                                             : ConexionArchivo::Abrir(db, ruta, password, esperaMs);
    if (f.Hay())
        Cerrar(db);
    else
        archivosPerdidos().remove(db.connectionName());
    return f;
}

bool Protegida(const QSqlDatabase& db) {
    PGconn* h = EsServidor(db) ? MotorPostgres::HandleDe(db) : nullptr;
    if (!h)
        return false;
    // Asked before every write: the server is asked once per session.
    const auto it = protegidas().constFind(h);
    if (it != protegidas().constEnd())
        return it.value();
    const bool si = ProteccionPg::Protegida(h) && ProteccionPg::ComoPersona(h);
    protegidas().insert(h, si);
    return si;
}

bool HistorialDeFilaEnServidor(const QSqlDatabase& db, const QString& tabla) {
    return ProteccionPg::TablasConHistorialPropio().contains(tabla.toLower()) && Protegida(db);
}

bool ConRoles(const QSqlDatabase& db) {
    PGconn* h = EsServidor(db) ? MotorPostgres::HandleDe(db) : nullptr;
    return h && ProteccionPg::Protegida(h);
}

QString RolDePersona(const QString& ruta, const QString& login) {
    return ProteccionPg::NombreRol(login, ConexionServidor::Base(ruta));
}

PruebaClave ProbarClave(const QString& ruta, const QString& login, const QString& clave,
                        QString* causa) {
    QString texto;
    switch (ProteccionPg::ProbarClave(ruta, RolDePersona(ruta, login), clave, &texto)) {
    case ProteccionPg::Prueba::Aceptada:
        return PruebaClave::Aceptada;
    case ProteccionPg::Prueba::Rechazada:
        return PruebaClave::Rechazada;
    case ProteccionPg::Prueba::Negada:
    case ProteccionPg::Prueba::Fallo:
        break;
    }
    if (causa)
        *causa = ConexionServidor::Causa(ruta, texto).causa;
    return PruebaClave::Fallo;
}

PruebaClave Conceder(const QString& ruta, const QString& login, const QString& clave, int ordId,
                     const QString& para, double cantidad, int empId, double precio,
                     const QString& moneda, QString* causa) {
    const auto numero = [](double d) { return QByteArray::number(d, 'g', 17); };
    QString texto;
    const ProteccionPg::Prueba p = ProteccionPg::ProbarClave(
        ruta, RolDePersona(ruta, login), clave, &texto,
        "SELECT quimbel_conceder($1, $2, $3, $4, $5, $6)",
        {QByteArray::number(ordId), para.toUtf8(), numero(cantidad),
         empId > 0 ? QByteArray::number(empId) : QByteArray(),
         empId > 0 ? numero(precio) : QByteArray(), empId > 0 ? moneda.toUtf8() : QByteArray()});
    switch (p) {
    case ProteccionPg::Prueba::Aceptada:
        return PruebaClave::Aceptada;
    case ProteccionPg::Prueba::Rechazada:
        return PruebaClave::Rechazada;
    case ProteccionPg::Prueba::Negada:
        *causa = texto;
        return PruebaClave::Fallo;
    case ProteccionPg::Prueba::Fallo:
        break;
    }
    *causa = ConexionServidor::Causa(ruta, texto).causa;
    return PruebaClave::Fallo;
}

bool CambiarClaveRol(const QSqlDatabase& db, int usuId, const QString& login, const QString& clave,
                     ErrorBD* error) {
    PGconn* h = MotorPostgres::HandleDe(db);
    const QString verificador =
        h ? ProteccionPg::Verificador(h, ProteccionPg::NombreRol(login, QString::fromUtf8(PQdb(h))),
                                      clave)
          : QString();
    if (verificador.isEmpty()) {
        *error = {7, QStringLiteral("No se pudo cifrar la contraseña.")};
        return false;
    }
    FilasLeidas filas;
    return MotorPostgres::Ejecutar(h, QStringLiteral("SELECT quimbel_cambiar_clave(?, ?)"),
                                   {usuId, verificador}, &filas, false, error);
}

bool Preparar(QSqlDatabase& db, int esperaMs) {
    return EsServidor(db) ? ConexionServidor::Preparar(db, esperaMs)
                          : ConexionArchivo::Preparar(db, esperaMs);
}

bool Perdida(const QSqlDatabase& db) {
    if (!db.isValid())
        return false;
    if (!EsServidor(db)) {
        if (archivosPerdidos().contains(db.connectionName()))
            return true;
        sqlite3* h = MotorSqlite::HandleDe(db);
        return h && Movido(h);
    }
    PGconn* h = MotorPostgres::HandleDe(db);
    return !h || MotorPostgres::Caida(h);
}

bool Reabrir(QSqlDatabase& db, int esperaMs, ErrorBD* error) {
    Cerrar(db);
    const bool servidor = EsServidor(db);
    const auto perdida = [&](const QString& causa) {
        if (servidor) {
            *error = MotorPostgres::Perdida(causa);
        } else {
            archivosPerdidos().insert(db.connectionName());
            *error = ArchivoPerdido(db);
        }
        return false;
    };
    // The file is opened again only where it was: never made anew (mode=rw).
    if (!db.open()) {
        causaPerdida() = db.lastError().databaseText().trimmed();
        return perdida(causaPerdida());
    }
    if (!Preparar(db, esperaMs)) {
        Cerrar(db);
        return perdida(QString());
    }
    archivosPerdidos().remove(db.connectionName());
    if (!AplicarNombre(db, error)) {
        Cerrar(db);
        return false;
    }
    causaPerdida().clear();
    return true;
}

bool NombrarSesion(const QSqlDatabase& db, const QString& nombre, ErrorBD* error) {
    if (!EsServidor(db))
        return true;
    nombresSesion().insert(db.connectionName(), nombre);
    return AplicarNombre(db, error);
}

void Cerrar(QSqlDatabase& db) {
    aplazadas().remove(db.connectionName());
    if (sqlite3* h = MotorSqlite::HandleDe(db))
        SentenciasSqlite::Soltar(h);
    if (PGconn* h = MotorPostgres::HandleDe(db)) {
        SentenciasPg::Soltar(h);
        protegidas().remove(h);
    }
    db.close();
}

bool Ejecutar(const QSqlDatabase& db, const QString& sql, const QVariantList& valores,
              FilasLeidas* filas, bool varias, ErrorBD* error) {
    if (sqlite3* h = MotorSqlite::HandleDe(db))
        return MotorSqlite::Ejecutar(h, sql, valores, filas, varias, error);
    if (PGconn* h = MotorPostgres::HandleDe(db))
        return MotorPostgres::Ejecutar(h, sql, valores, filas, varias, error);
    *error = Cerrada(db);
    return false;
}

bool EjecutarAdelantando(const QSqlDatabase& db, const QString& sql, const QVariantList& valores,
                         int cuantas, const std::function<void(FilasLeidas&&)>& primeras,
                         FilasLeidas* filas, ErrorBD* error) {
    const Adelanto adelanto{cuantas, primeras};
    if (sqlite3* h = MotorSqlite::HandleDe(db))
        return MotorSqlite::Ejecutar(h, sql, valores, filas, false, error, &adelanto);
    if (PGconn* h = MotorPostgres::HandleDe(db))
        return MotorPostgres::EjecutarAdelantando(h, sql, valores, filas, error, adelanto);
    *error = Cerrada(db);
    return false;
}

bool EjecutarLote(const QSqlDatabase& db, const QList<Consulta>& consultas,
                  QList<FilasLeidas>* filas, ErrorBD* error) {
    if (PGconn* h = MotorPostgres::HandleDe(db)) {
        const MotorPostgres::Lote lote = MotorPostgres::EjecutarLote(h, consultas, filas, error);
        if (lote != MotorPostgres::Lote::UnaPorUna)
            return lote == MotorPostgres::Lote::Hecho;
    }
    filas->clear();
    for (const Consulta& c : consultas) {
        filas->append(FilasLeidas());
        if (!Ejecutar(db, c.sql, c.valores, &filas->last(), false, error))
            return false;
    }
    return true;
}

bool Insertar(const QSqlDatabase& db, const QString& sql, const QString& columnaClave,
              const QVariantList& valores, QVariant* clave, ErrorBD* error) {
    // The server hands the key back with the insert itself: asking for it afterwards would cost
    // another round trip. The file engine keeps it at hand.
    FilasLeidas filas;
    if (PGconn* h = MotorPostgres::HandleDe(db)) {
        if (!MotorPostgres::Ejecutar(h, sql + QStringLiteral(" RETURNING ") + columnaClave, valores,
                                     &filas, false, error))
            return false;
        *clave = filas.filas.Valor(0, 0);
        return true;
    }
    if (!Ejecutar(db, sql, valores, &filas, false, error))
        return false;
    *clave = QVariant(static_cast<qlonglong>(sqlite3_last_insert_rowid(MotorSqlite::HandleDe(db))));
    return true;
}

bool Simple(const QSqlDatabase& db, const char* sql, ErrorBD* error) {
    if (sqlite3* h = MotorSqlite::HandleDe(db)) {
        if (sqlite3_exec(h, sql, nullptr, nullptr, nullptr) == SQLITE_OK)
            return true;
        if (error)
            *error = MotorSqlite::ErrorDe(h);
        return false;
    }
    if (PGconn* h = MotorPostgres::HandleDe(db))
        return MotorPostgres::Simple(h, sql, error);
    if (error)
        *error = Cerrada(db);
    return false;
}

qlonglong Cambios(const QSqlDatabase& db) {
    if (sqlite3* h = MotorSqlite::HandleDe(db))
        return sqlite3_changes64(h);
    if (PGconn* h = MotorPostgres::HandleDe(db))
        return MotorPostgres::Cambios(h);
    return 0;
}

QString ParaModificar(const QSqlDatabase& db, const QString& select) {
    // A person's role of a protected server may not lock rows (it needs UPDATE for that): there
    // the row is locked beforehand by a server function (Versiones::LeerParaModificar).
    return EsServidor(db) && !Protegida(db) ? select + QStringLiteral(" FOR UPDATE") : select;
}

bool EscrituraAbierta(const QSqlDatabase& db) {
    if (sqlite3* h = MotorSqlite::HandleDe(db))
        return !sqlite3_get_autocommit(h);
    return aplazadas().contains(db.connectionName());
}

bool EnTransaccion(const QSqlDatabase& db) {
    if (sqlite3* h = MotorSqlite::HandleDe(db))
        return !sqlite3_get_autocommit(h);
    if (PGconn* h = MotorPostgres::HandleDe(db))
        return MotorPostgres::EnTransaccion(h);
    return false;
}

bool IniciarEscritura(const QSqlDatabase& db, ErrorBD* error) {
    // On the file, IMMEDIATE takes the write lock now (waiting for another workstation if need
    // be), so the work inside never fails half-way for want of it. The server locks row by row
    // as the work goes, each wait bounded by the session's lock_timeout.
    if (MotorSqlite::HandleDe(db))
        return Simple(db, "BEGIN IMMEDIATE", error);
    if (!Simple(db, "BEGIN", error))
        return false;
    aplazadas().insert(db.connectionName(), {});
    return true;
}

bool EscribirAlConfirmar(const QSqlDatabase& db, const Consulta& escritura, ErrorBD* error) {
    if (const auto it = aplazadas().find(db.connectionName()); it != aplazadas().end()) {
        it->append(escritura);
        return true;
    }
    FilasLeidas filas;
    return Ejecutar(db, escritura.sql, escritura.valores, &filas, false, error);
}

bool Confirmar(const QSqlDatabase& db, ErrorBD* error) {
    // Committed into a file that left its place, the work would be lost with it, or land in a
    // file nobody opens; it is undone instead and told as a lost connection.
    if (sqlite3* h = MotorSqlite::HandleDe(db); h && Movido(h)) {
        *error = ArchivoPerdido(db);
        return false;
    }
    QList<Consulta> escrituras;
    if (const auto it = aplazadas().find(db.connectionName()); it != aplazadas().end())
        escrituras = std::exchange(*it, {});
    bool ok;
    if (escrituras.isEmpty()) {
        ok = Simple(db, "COMMIT", error);
    } else {
        escrituras.append({QStringLiteral("COMMIT"), {}});
        QList<FilasLeidas> filas;
        ok = EjecutarLote(db, escrituras, &filas, error);
    }
    // A failed COMMIT leaves the transaction to Deshacer.
    if (ok)
        aplazadas().remove(db.connectionName());
    return ok;
}

void Deshacer(const QSqlDatabase& db) {
    aplazadas().remove(db.connectionName());
    Revertir(db, "ROLLBACK");
}

void Revertir(const QSqlDatabase& db, const char* sql) {
    static_cast<void>(Simple(db, sql, nullptr));
}

QStringList RevisionRapida(const QSqlDatabase& db) {
    if (sqlite3* h = MotorSqlite::HandleDe(db))
        return Esquema::RevisionRapida(h);
    return {};
}

} // namespace Motor
