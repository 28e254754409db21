#include "MotorPostgres.h"

#include "DialectoPg.h"
#include "ErrorMotor.h"
#include "Esquema.h"
#include "Fechas.h"
#include "SentenciasPg.h"
#include "Valores.h"

#include <QHash>
#include <QMutex>
#include <QSqlDriver>
#include <libpq-fe.h>
#include <sqlite3.h>

using Valores::TipoColumna;

namespace MotorPostgres {
namespace {

// Type oids of the server's built-in types (fixed by the server's catalog).
enum : Oid {
    kBool = 16,
    kInt8 = 20,
    kInt2 = 21,
    kInt4 = 23,
    kFloat4 = 700,
    kFloat8 = 701,
    kDate = 1082,
    kTimestamp = 1114,
    kTimestampTz = 1184,
    kNumeric = 1700
};

// Flags are smallint on the server (the file engine's BOOLEAN columns), read as bool like
// there; INTEGER columns stay integer.
TipoColumna TipoDe(Oid tipo) {
    switch (tipo) {
    case kBool:
    case kInt2:
        return TipoColumna::Booleano;
    case kInt4:
    case kInt8:
        return TipoColumna::Entero;
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return TipoColumna::Doble;
    case kDate:
    case kTimestamp:
    case kTimestampTz:
        return TipoColumna::Fecha;
    default:
        return TipoColumna::Texto;
    }
}

QVariant LeerValor(const PGresult* r, int fila, int c, TipoColumna tipo) {
    if (PQgetisnull(r, fila, c))
        return {};
    const char* v = PQgetvalue(r, fila, c);
    switch (tipo) {
    case TipoColumna::Booleano:
        return QVariant(v[0] == 't' || (v[0] != 'f' && QByteArray(v).toLongLong() != 0));
    case TipoColumna::Entero:
        return Valores::Entero(QByteArray(v).toLongLong());
    case TipoColumna::Doble:
        return QByteArray(v).toDouble();
    case TipoColumna::Fecha: {
        const QDateTime m = Fechas::Leer(QString::fromUtf8(v).left(19));
        if (m.isValid())
            return m;
        break;
    }
    default:
        break;
    }
    return QString::fromUtf8(v, PQgetlength(r, fila, c));
}

QByteArray Texto(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? "1" : "0";
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(v.toDouble(), 'g', 17);
    case QMetaType::QDateTime:
        return Fechas::Texto(v.toDateTime()).toUtf8();
    case QMetaType::QDate:
        return Fechas::Texto(v.toDate().startOfDay()).toUtf8();
    default:
        return v.toString().toUtf8();
    }
}

// The server folds unquoted names to lower case; the program's columns keep their own.
QString NombreCanonico(const char* nombre) {
    static const QHash<QString, QString> canonicos = [] {
        QHash<QString, QString> h;
        for (const QString& c : Esquema::Columnas())
            h.insert(c.toLower(), c);
        for (const char* alias : {"Suma", "Cantidad"})
            h.insert(QString::fromLatin1(alias).toLower(), QString::fromLatin1(alias));
        return h;
    }();
    const QString n = QString::fromUtf8(nombre);
    return canonicos.value(n, n);
}

QHash<PGconn*, qlonglong>& cambios() {
    static QHash<PGconn*, qlonglong> c;
    return c;
}

ErrorBD ErrorDe(PGconn* db, const PGresult* r) {
    const char* estado = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    const char* mensaje = r ? PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
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

bool Paso(PGconn* db, const DialectoPg::Sentencia& s, const QVariantList& valores,
          QStringList* nombres, QVector<QVector<QVariant>>* filas, bool* huboFilas,
          ErrorBD* error) {
    QList<QByteArray> textos;
    QVector<const char*> punteros;
    for (int i = 0; i < s.parametros; ++i) {
        const QVariant v = valores.value(i);
        textos << Texto(v);
        punteros << (v.isValid() && !v.isNull() ? textos.last().constData() : nullptr);
    }
    const QByteArray texto = s.texto.toUtf8();
    PGresult* r = Correr(db, texto, s.parametros, punteros.constData());
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
        const int nCol = PQnfields(r);
        QVector<TipoColumna> tipos(nCol);
        nombres->clear();
        for (int c = 0; c < nCol; ++c) {
            tipos[c] = TipoDe(PQftype(r, c));
            *nombres << NombreCanonico(PQfname(r, c));
        }
        const int nFilas = PQntuples(r);
        filas->clear();
        filas->reserve(nFilas);
        for (int f = 0; f < nFilas; ++f) {
            QVector<QVariant> fila(nCol);
            for (int c = 0; c < nCol; ++c)
                fila[c] = LeerValor(r, f, c, tipos[c]);
            filas->append(std::move(fila));
        }
        *huboFilas = true;
    }
    PQclear(r);
    return true;
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
    else if (e.startsWith("08") || e.startsWith("57P")) {
        return {SQLITE_IOERR,
                QStringLiteral("Se perdió la conexión con el servidor de la base de datos (%1).")
                    .arg(mensaje)};
    }
    return {codigo, DescribirErrorMotor(codigo, mensaje)};
}

bool Ejecutar(PGconn* db, const QString& sql, const QVariantList& valores, Recordset& rs,
              bool varias, ErrorBD* error) {
    const QList<DialectoPg::Sentencia> sentencias = Traducida(sql);
    if (!varias && sentencias.size() > 1) {
        *error = {SQLITE_ERROR, QStringLiteral("Se esperaba una sola sentencia SQL.")};
        return false;
    }
    bool huboFilas = false;
    QStringList nombres;
    QVector<QVector<QVariant>> filas;
    for (const DialectoPg::Sentencia& s : sentencias)
        if (!Paso(db, s, valores, &nombres, &filas, &huboFilas, error))
            return false;
    if (huboFilas)
        rs.Abrir(sql, nombres, std::move(filas));
    return true;
}

bool Simple(PGconn* db, const char* sql, ErrorBD* error) {
    PGresult* r = PQexec(db, sql);
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    if (!ok && error)
        *error = ErrorDe(db, r);
    PQclear(r);
    return ok;
}

bool EnTransaccion(PGconn* db) {
    return PQtransactionStatus(db) != PQTRANS_IDLE;
}

qlonglong Cambios(PGconn* db) {
    return cambios().value(db);
}

qlonglong UltimaClave(PGconn* db) {
    PGresult* r = PQexec(db, "SELECT last_insert_rowid()");
    const qlonglong v = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0
                            ? QByteArray(PQgetvalue(r, 0, 0)).toLongLong()
                            : 0;
    PQclear(r);
    return v;
}

} // namespace MotorPostgres
