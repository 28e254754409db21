#include "MotorPostgres.h"

#include "DialectoPg.h"
#include "ErrorMotor.h"
#include "SentenciasPg.h"
#include "Valores.h"
#include "ValoresPg.h"

#include <QHash>
#include <QMutex>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace MotorPostgres {
namespace {

QHash<PGconn*, qlonglong>& cambios() {
    static QHash<PGconn*, qlonglong> c;
    return c;
}

ErrorBD ErrorDe(PGconn* db, const PGresult* r) {
    const char* estado = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    const char* mensaje = r ? PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    // Whatever the statement's own error, a connection found broken is what the person must
    // hear of: nothing more reaches the server until it is opened again.
    if (PQstatus(db) == CONNECTION_BAD)
        estado = "08006";
    return Error(estado ? estado : "08000",
                 QString::fromUtf8(mensaje ? mensaje : PQerrorMessage(db)).trimmed());
}

// The translation of a text seen before: a save runs the same few texts each time, and
// rewriting one costs about as much as the server takes to run it. Texts built with values
// written into them would fill it, so it starts over when full.
QList<DialectoPg::Sentencia> Traducida(const QString& sql) {
    constexpr int kMaximo = 256;
    static QMutex cerrojo;
    static QHash<QString, QList<DialectoPg::Sentencia>> hechas;
    {
        const QMutexLocker bloqueo(&cerrojo);
        if (const auto it = hechas.constFind(sql); it != hechas.constEnd())
            return it.value();
    }
    const QList<DialectoPg::Sentencia> r = DialectoPg::Traducir(sql);
    const QMutexLocker bloqueo(&cerrojo);
    if (hechas.size() >= kMaximo)
        hechas.clear();
    hechas.insert(sql, r);
    return r;
}

bool Refutada(const PGresult* r) {
    const char* estado = PQresultErrorField(r, PG_DIAG_SQLSTATE);
    // A table's columns changed since it was prepared, or the server no longer has it.
    return estado && (qstrcmp(estado, "0A000") == 0 || qstrcmp(estado, "26000") == 0);
}

// Runs one statement, prepared when it has run before. One whose prepared form the server
// refuses runs again unprepared when no transaction depends on it.
PGresult* Correr(PGconn* db, const QByteArray& texto, int parametros, const char* const* valores) {
    QByteArray nombre;
    PGresult* r = nullptr;
    if (!SentenciasPg::Preparada(db, texto, parametros, &nombre, &r))
        return r;
    if (nombre.isEmpty())
        return PQexecParams(db, texto.constData(), parametros, nullptr, valores, nullptr, nullptr,
                            0);
    r = PQexecPrepared(db, nombre.constData(), parametros, valores, nullptr, nullptr, 0);
    if (PQresultStatus(r) != PGRES_FATAL_ERROR || !Refutada(r))
        return r;
    SentenciasPg::Olvidar(db);
    if (PQtransactionStatus(db) != PQTRANS_IDLE)
        return r;
    PQclear(r);
    return PQexecParams(db, texto.constData(), parametros, nullptr, valores, nullptr, nullptr, 0);
}

// A statement's values as the server takes them: text, NULL as a null pointer.
struct Parametros {
    QList<QByteArray> textos;
    QVector<const char*> punteros;
    Parametros(int cuantos, const QVariantList& valores) {
        for (int i = 0; i < cuantos; ++i) {
            const QVariant v = valores.value(i);
            textos << ValoresPg::Texto(v);
            punteros << (v.isValid() && !v.isNull() ? textos.last().constData() : nullptr);
        }
    }
};

// What one statement answered; its rows (when it has columns) replace those in `filas`. Clears
// `r`.
bool Resultado(PGconn* db, PGresult* r, const QByteArray& texto, FilasLeidas* filas,
               ErrorBD* error) {
    const ExecStatusType estado = PQresultStatus(r);
    if (estado != PGRES_TUPLES_OK && estado != PGRES_COMMAND_OK && estado != PGRES_EMPTY_QUERY) {
        *error = ErrorDe(db, r);
        PQclear(r);
        return false;
    }
    if (SentenciasPg::CambiaTablas(texto))
        SentenciasPg::Olvidar(db);
    cambios()[db] = QByteArray(PQcmdTuples(r)).toLongLong();
    if (estado == PGRES_TUPLES_OK) {
        ValoresPg::LeerFilas(r, &filas->columnas, &filas->filas);
        filas->hay = true;
    }
    PQclear(r);
    return true;
}

bool Paso(PGconn* db, const DialectoPg::Sentencia& s, const QVariantList& valores,
          FilasLeidas* filas, ErrorBD* error) {
    const Parametros p(s.parametros, valores);
    const QByteArray texto = s.texto.toUtf8();
    return Resultado(db, Correr(db, texto, s.parametros, p.punteros.constData()), texto, filas,
                     error);
}

// The answers to a statement sent in single-row mode, until the last: each row as it arrives,
// the first `adelanto.filas` shown as soon as the next one comes. The first error is the one
// told (`refutada` says whether it refused the prepared form), and the rows read before it are
// dropped.
bool RecibirPorFilas(PGconn* db, const QByteArray& texto, FilasLeidas* filas, ErrorBD* error,
                     const Adelanto& adelanto, bool* refutada) {
    FilasLeidas leidas;
    QVector<Valores::TipoColumna> tipos;
    bool ok = true;
    while (PGresult* r = PQgetResult(db)) {
        const ExecStatusType estado = PQresultStatus(r);
        if (ok && (estado == PGRES_SINGLE_TUPLE || estado == PGRES_TUPLES_OK)) {
            if (!leidas.hay) {
                ValoresPg::LeerColumnas(r, &leidas.columnas, &tipos);
                leidas.filas = FilasCompactas(static_cast<int>(tipos.size()));
                leidas.hay = true;
            }
            if (estado == PGRES_SINGLE_TUPLE && leidas.filas.size() == adelanto.filas &&
                adelanto.mostrar) {
                adelanto.mostrar({true, leidas.columnas, leidas.filas.Copia()});
            }
            ValoresPg::AgregarFilas(r, tipos, &leidas.filas);
            if (estado == PGRES_TUPLES_OK)
                cambios()[db] = QByteArray(PQcmdTuples(r)).toLongLong();
        } else if (ok) {
            *refutada = Refutada(r);
            ok = Resultado(db, r, texto, &leidas, error);
            r = nullptr;
        }
        PQclear(r);
    }
    if (!ok)
        return false;
    leidas.filas.Terminar();
    *filas = std::move(leidas);
    return true;
}

// One statement of a batch, ready to be sent.
struct Envio {
    QByteArray texto;
    QByteArray nombre; // prepared under it; empty: sent with its text
    Parametros parametros;
    int cuantos;
};

bool Preparar(PGconn* db, const QList<Consulta>& consultas, QList<Envio>* envios, ErrorBD* error) {
    for (const Consulta& c : consultas) {
        const QList<DialectoPg::Sentencia> s = Traducida(c.sql);
        if (s.size() != 1) {
            *error = {SQLITE_ERROR, QStringLiteral("Se esperaba una sola sentencia SQL.")};
            return false;
        }
        Envio e{s[0].texto.toUtf8(), {}, Parametros(s[0].parametros, c.valores), s[0].parametros};
        PGresult* r = nullptr;
        if (!SentenciasPg::Preparada(db, e.texto, e.cuantos, &e.nombre, &r)) {
            *error = ErrorDe(db, r);
            PQclear(r);
            return false;
        }
        envios->append(std::move(e));
    }
    return true;
}

bool Enviar(PGconn* db, const QList<Envio>& envios) {
    for (const Envio& e : envios) {
        const char* const* v = e.parametros.punteros.constData();
        if (!(e.nombre.isEmpty() ? PQsendQueryParams(db, e.texto.constData(), e.cuantos, nullptr, v,
                                                     nullptr, nullptr, 0)
                                 : PQsendQueryPrepared(db, e.nombre.constData(), e.cuantos, v,
                                                       nullptr, nullptr, 0)))
            return false;
    }
    return PQpipelineSync(db) == 1;
}

// Every answer of a sent batch is read, even after one failed, so that the connection is ready
// for the next statement; the first failure is the one told. Each statement's answer is read
// as rows may come, one by one or whole: libpq keeps the single-row mode of the statement
// before the batch for the batch's first one.
bool Recibir(PGconn* db, const QList<Envio>& envios, QList<FilasLeidas>* filas, ErrorBD* error,
             bool* refutada) {
    bool ok = true;
    for (int i = 0; i < envios.size(); ++i) {
        FilasLeidas una;
        ErrorBD e;
        bool refutadaUna = false;
        if (!RecibirPorFilas(db, envios[i].texto, &una, &e, Adelanto{}, &refutadaUna) && ok) {
            ok = false;
            *error = e;
        }
        *refutada = *refutada || refutadaUna;
        filas->append(std::move(una));
    }
    PQclear(PQgetResult(db)); // the end of the batch
    return ok;
}

} // namespace

PGconn* HandleDe(const QSqlDatabase& db) {
    if (!db.isValid() || !db.isOpen())
        return nullptr;
    const QVariant h = db.driver()->handle();
    // The name the driver's metatype carries depends on how libpq's typedef was seen.
    if (!h.isValid() ||
        (qstrcmp(h.typeName(), "PGconn*") != 0 && qstrcmp(h.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(h.data());
}

ErrorBD Error(const char* sqlstate, const QString& mensaje) {
    const QByteArray e(sqlstate);
    int codigo = SQLITE_ERROR;
    if (e == "23505")
        codigo = SQLITE_CONSTRAINT_UNIQUE;
    else if (e == "23503")
        codigo = SQLITE_CONSTRAINT_FOREIGNKEY;
    else if (e == "23502")
        codigo = SQLITE_CONSTRAINT_NOTNULL;
    else if (e == "23514")
        codigo = SQLITE_CONSTRAINT_CHECK;
    else if (e.startsWith("23"))
        codigo = SQLITE_CONSTRAINT;
    else if (e == "55P03" || e == "40P01" || e == "40001" || e == "57014")
        codigo = SQLITE_BUSY;
    else if (e == "42501")
        codigo = SQLITE_PERM;
    else if (e == "25006")
        codigo = SQLITE_READONLY;
    else if (e == "53100")
        codigo = SQLITE_FULL;
    else if (e == "53200")
        codigo = SQLITE_NOMEM;
    else if (e.startsWith("22"))
        codigo = SQLITE_MISMATCH;
    else if (e == "P0001")
        codigo = SQLITE_CONSTRAINT_TRIGGER;
    else if (e.startsWith("08") || e.startsWith("57P"))
        return Perdida(mensaje);
    return {codigo, DescribirErrorMotor(codigo, mensaje)};
}

ErrorBD Perdida(const QString& mensaje) {
    return {SQLITE_IOERR,
            QStringLiteral("Se perdió la conexión con el servidor de la base de datos (%1).")
                .arg(mensaje),
            true};
}

bool Ejecutar(PGconn* db, const QString& sql, const QVariantList& valores, FilasLeidas* filas,
              bool varias, ErrorBD* error) {
    const QList<DialectoPg::Sentencia> sentencias = Traducida(sql);
    if (!varias && sentencias.size() > 1) {
        *error = {SQLITE_ERROR, QStringLiteral("Se esperaba una sola sentencia SQL.")};
        return false;
    }
    FilasLeidas leidas;
    for (const DialectoPg::Sentencia& s : sentencias)
        if (!Paso(db, s, valores, &leidas, error))
            return false;
    *filas = std::move(leidas);
    return true;
}

bool EjecutarAdelantando(PGconn* db, const QString& sql, const QVariantList& valores,
                         FilasLeidas* filas, ErrorBD* error, const Adelanto& adelanto) {
    const QList<DialectoPg::Sentencia> sentencias = Traducida(sql);
    if (sentencias.size() != 1)
        return Ejecutar(db, sql, valores, filas, false, error);
    const DialectoPg::Sentencia& s = sentencias.first();
    const Parametros p(s.parametros, valores);
    const QByteArray texto = s.texto.toUtf8();
    QByteArray nombre;
    PGresult* r = nullptr;
    if (!SentenciasPg::Preparada(db, texto, s.parametros, &nombre, &r))
        return Resultado(db, r, texto, filas, error);
    const char* const* v = p.punteros.constData();
    const bool enviada =
        nombre.isEmpty()
            ? PQsendQueryParams(db, texto.constData(), s.parametros, nullptr, v, nullptr, nullptr,
                                0)
            : PQsendQueryPrepared(db, nombre.constData(), s.parametros, v, nullptr, nullptr, 0);
    if (!enviada) {
        *error = ErrorDe(db, nullptr);
        return false;
    }
    PQsetSingleRowMode(db);
    bool refutada = false;
    if (RecibirPorFilas(db, texto, filas, error, adelanto, &refutada))
        return true;
    // As Correr: a prepared form the server refuses runs again, unprepared.
    if (!refutada || nombre.isEmpty())
        return false;
    SentenciasPg::Olvidar(db);
    return PQtransactionStatus(db) == PQTRANS_IDLE &&
           EjecutarAdelantando(db, sql, valores, filas, error, adelanto);
}

Lote EjecutarLote(PGconn* db, const QList<Consulta>& consultas, QList<FilasLeidas>* filas,
                  ErrorBD* error) {
    filas->clear();
    QList<Envio> envios;
    if (!Preparar(db, consultas, &envios, error))
        return Lote::Fallo;
    if (!PQenterPipelineMode(db))
        return Lote::UnaPorUna;
    if (!Enviar(db, envios)) {
        *error = ErrorDe(db, nullptr);
        PQexitPipelineMode(db);
        return Lote::Fallo;
    }
    bool refutada = false;
    const bool ok = Recibir(db, envios, filas, error, &refutada);
    PQexitPipelineMode(db);
    if (refutada) {
        SentenciasPg::Olvidar(db);
        if (PQtransactionStatus(db) == PQTRANS_IDLE)
            return Lote::UnaPorUna;
    }
    return ok ? Lote::Hecho : Lote::Fallo;
}

bool Simple(PGconn* db, const char* sql, ErrorBD* error) {
    PGresult* r = PQexec(db, sql);
    bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    if (!ok && error)
        *error = ErrorDe(db, r);
    // The server answers the COMMIT of a transaction that an earlier error spoilt with a
    // ROLLBACK, and no error: nothing was kept, and the caller must not say it was.
    if (ok && qstrcmp(sql, "COMMIT") == 0 && qstrcmp(PQcmdStatus(r), "ROLLBACK") == 0) {
        ok = false;
        if (error)
            *error = {SQLITE_ABORT, DescribirErrorMotor(SQLITE_ABORT, QString())};
    }
    PQclear(r);
    return ok;
}

bool Caida(PGconn* db) {
    return PQstatus(db) == CONNECTION_BAD;
}

bool EnTransaccion(PGconn* db) {
    return PQtransactionStatus(db) != PQTRANS_IDLE;
}

qlonglong Cambios(PGconn* db) {
    return cambios().value(db);
}

} // namespace MotorPostgres
