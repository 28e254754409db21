#include "Libpq.h"

#include "BibliotecaDiferida.h"

#include <libpq-fe.h>

namespace {

BibliotecaDiferida& Biblioteca() {
    static BibliotecaDiferida b(QStringLiteral("pq"), 5, QStringLiteral("libpq"));
    return b;
}

// What a failed connection says when the library is not there.
const QByteArray& Causa() {
    static const QByteArray c =
        QStringLiteral("No se encuentra la biblioteca de PostgreSQL (libpq), que el programa "
                       "necesita para trabajar con una base de datos en un servidor. Instale el "
                       "paquete libpq5 (%1).")
            .arg(Biblioteca().Error())
            .toUtf8();
    return c;
}

} // namespace

namespace Libpq {

bool Disponible(QString* causa) {
    if (!Biblioteca().Cargada() && causa)
        *causa = QString::fromUtf8(Causa());
    return Biblioteca().Cargada();
}

} // namespace Libpq

// Without the library no connection or result can exist: a connection attempt then fails with
// the Spanish cause as its message, and every other function answers as libpq does for a null
// connection or result, so the callers' own failure paths tell it.
#define LIBPQ(funcion) QUIMBEL_DIFERIDA(Biblioteca(), funcion)

extern "C" {

PGconn* PQconnectdb(const char* conninfo) {
    LIBPQ(PQconnectdb);
    return f ? f(conninfo) : nullptr;
}

PGconn* PQconnectdbParams(const char* const* keywords, const char* const* values, int expand) {
    LIBPQ(PQconnectdbParams);
    return f ? f(keywords, values, expand) : nullptr;
}

PQconninfoOption* PQconninfoParse(const char* conninfo, char** errmsg) {
    LIBPQ(PQconninfoParse);
    if (f)
        return f(conninfo, errmsg);
    if (errmsg)
        *errmsg = nullptr;
    return nullptr;
}

void PQconninfoFree(PQconninfoOption* options) {
    LIBPQ(PQconninfoFree);
    if (f)
        f(options);
}

void PQfinish(PGconn* conn) {
    LIBPQ(PQfinish);
    if (f)
        f(conn);
}

ConnStatusType PQstatus(const PGconn* conn) {
    LIBPQ(PQstatus);
    return f ? f(conn) : CONNECTION_BAD;
}

PGTransactionStatusType PQtransactionStatus(const PGconn* conn) {
    LIBPQ(PQtransactionStatus);
    return f ? f(conn) : PQTRANS_UNKNOWN;
}

char* PQerrorMessage(const PGconn* conn) {
    LIBPQ(PQerrorMessage);
    return f ? f(conn) : const_cast<char*>(Causa().constData());
}

char* PQdb(const PGconn* conn) {
    LIBPQ(PQdb);
    return f ? f(conn) : nullptr;
}

int PQserverVersion(const PGconn* conn) {
    LIBPQ(PQserverVersion);
    return f ? f(conn) : 0;
}

int PQbackendPID(const PGconn* conn) {
    LIBPQ(PQbackendPID);
    return f ? f(conn) : 0;
}

char* PQescapeIdentifier(PGconn* conn, const char* str, size_t len) {
    LIBPQ(PQescapeIdentifier);
    return f ? f(conn, str, len) : nullptr;
}

char* PQencryptPasswordConn(PGconn* conn, const char* passwd, const char* user,
                            const char* algorithm) {
    LIBPQ(PQencryptPasswordConn);
    return f ? f(conn, passwd, user, algorithm) : nullptr;
}

void PQfreemem(void* ptr) {
    LIBPQ(PQfreemem);
    if (f)
        f(ptr);
}

PGresult* PQexec(PGconn* conn, const char* query) {
    LIBPQ(PQexec);
    return f ? f(conn, query) : nullptr;
}

PGresult* PQexecParams(PGconn* conn, const char* command, int nParams, const Oid* paramTypes,
                       const char* const* paramValues, const int* paramLengths,
                       const int* paramFormats, int resultFormat) {
    LIBPQ(PQexecParams);
    return f ? f(conn, command, nParams, paramTypes, paramValues, paramLengths, paramFormats,
                 resultFormat)
             : nullptr;
}

PGresult* PQprepare(PGconn* conn, const char* stmtName, const char* query, int nParams,
                    const Oid* paramTypes) {
    LIBPQ(PQprepare);
    return f ? f(conn, stmtName, query, nParams, paramTypes) : nullptr;
}

PGresult* PQexecPrepared(PGconn* conn, const char* stmtName, int nParams,
                         const char* const* paramValues, const int* paramLengths,
                         const int* paramFormats, int resultFormat) {
    LIBPQ(PQexecPrepared);
    return f ? f(conn, stmtName, nParams, paramValues, paramLengths, paramFormats, resultFormat)
             : nullptr;
}

int PQsendQueryParams(PGconn* conn, const char* command, int nParams, const Oid* paramTypes,
                      const char* const* paramValues, const int* paramLengths,
                      const int* paramFormats, int resultFormat) {
    LIBPQ(PQsendQueryParams);
    return f ? f(conn, command, nParams, paramTypes, paramValues, paramLengths, paramFormats,
                 resultFormat)
             : 0;
}

int PQsendQueryPrepared(PGconn* conn, const char* stmtName, int nParams,
                        const char* const* paramValues, const int* paramLengths,
                        const int* paramFormats, int resultFormat) {
    LIBPQ(PQsendQueryPrepared);
    return f ? f(conn, stmtName, nParams, paramValues, paramLengths, paramFormats, resultFormat)
             : 0;
}

int PQsetSingleRowMode(PGconn* conn) {
    LIBPQ(PQsetSingleRowMode);
    return f ? f(conn) : 0;
}

int PQenterPipelineMode(PGconn* conn) {
    LIBPQ(PQenterPipelineMode);
    return f ? f(conn) : 0;
}

int PQexitPipelineMode(PGconn* conn) {
    LIBPQ(PQexitPipelineMode);
    return f ? f(conn) : 0;
}

int PQpipelineSync(PGconn* conn) {
    LIBPQ(PQpipelineSync);
    return f ? f(conn) : 0;
}

PGresult* PQgetResult(PGconn* conn) {
    LIBPQ(PQgetResult);
    return f ? f(conn) : nullptr;
}

void PQclear(PGresult* res) {
    LIBPQ(PQclear);
    if (f)
        f(res);
}

ExecStatusType PQresultStatus(const PGresult* res) {
    LIBPQ(PQresultStatus);
    return f ? f(res) : PGRES_FATAL_ERROR;
}

char* PQresultErrorMessage(const PGresult* res) {
    LIBPQ(PQresultErrorMessage);
    return f ? f(res) : const_cast<char*>("");
}

char* PQresultErrorField(const PGresult* res, int fieldcode) {
    LIBPQ(PQresultErrorField);
    return f ? f(res, fieldcode) : nullptr;
}

int PQntuples(const PGresult* res) {
    LIBPQ(PQntuples);
    return f ? f(res) : 0;
}

int PQnfields(const PGresult* res) {
    LIBPQ(PQnfields);
    return f ? f(res) : 0;
}

char* PQfname(const PGresult* res, int field) {
    LIBPQ(PQfname);
    return f ? f(res, field) : nullptr;
}

Oid PQftype(const PGresult* res, int field) {
    LIBPQ(PQftype);
    return f ? f(res, field) : InvalidOid;
}

char* PQgetvalue(const PGresult* res, int row, int field) {
    LIBPQ(PQgetvalue);
    return f ? f(res, row, field) : nullptr;
}

int PQgetlength(const PGresult* res, int row, int field) {
    LIBPQ(PQgetlength);
    return f ? f(res, row, field) : 0;
}

int PQgetisnull(const PGresult* res, int row, int field) {
    LIBPQ(PQgetisnull);
    return f ? f(res, row, field) : 1;
}

char* PQcmdStatus(PGresult* res) {
    LIBPQ(PQcmdStatus);
    return f ? f(res) : nullptr;
}

char* PQcmdTuples(PGresult* res) {
    LIBPQ(PQcmdTuples);
    return f ? f(res) : nullptr;
}

} // extern "C"
