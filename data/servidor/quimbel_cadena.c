/*
 * The history chain's lock, and the hashes of a save's lines, computed by the server in C.
 * historial_agregar would otherwise build each line's text and hash it in plpgsql, which costs a
 * save about as much as the rest of its history together. The text is the chain's own
 * (CadenaHistorial): the previous hash, then each field as "|" length ":" text, or "|~" for an
 * empty one; the lengths are in bytes, which on a UTF-8 database are those of the stored text
 * itself.
 *
 * Any role may call the functions, so they check what they are given before they read it (a
 * wrong argument is an error, never a read of memory that is not there) and who asks.
 */
#include "postgres.h"

#include "access/htup_details.h"
#include "access/tupdesc.h"
#include "access/xact.h"
#include "catalog/namespace.h"
#include "catalog/pg_class.h"
#include "catalog/pg_type.h"
#include "common/sha2.h"
#include "fmgr.h"
#include "lib/stringinfo.h"
#include "mb/pg_wchar.h"
#include "miscadmin.h"
#include "nodes/makefuncs.h"
#include "storage/lmgr.h"
#include "utils/acl.h"
#include "utils/array.h"
#include "utils/builtins.h"
#include "utils/datetime.h"
#include "utils/lsyscache.h"
#include "utils/timestamp.h"
#include "utils/typcache.h"

#include <openssl/evp.h>

PG_MODULE_MAGIC;

PG_FUNCTION_INFO_V1(quimbel_huellas);
PG_FUNCTION_INFO_V1(quimbel_bloquear);

/* The fields of historial_linea (grupo, tipo, tabla, clave, campo, anterior, nuevo) as hashed. */
enum { kCampos = 7, kTipo = 1, kTabla = 2, kClave = 3, kCampo = 4, kAnterior = 5, kNuevo = 6 };
static const Oid kTiposLinea[kCampos] = {INT4OID, TEXTOID, TEXTOID, INT4OID,
                                         TEXTOID, TEXTOID, TEXTOID};

#define LARGO_HEX (PG_SHA256_DIGEST_LENGTH * 2)

static void campo_texto(StringInfo s, const char* texto, int largo) {
    char cifras[12];
    int n = pg_ltoa(largo, cifras + 1);

    cifras[0] = '|';
    cifras[n + 1] = ':';
    appendBinaryStringInfo(s, cifras, n + 2);
    appendBinaryStringInfo(s, texto, largo);
}

static void campo_numero(StringInfo s, bool nulo, int64 numero) {
    char cifras[MAXINT8LEN + 1];

    if (nulo)
        appendBinaryStringInfo(s, "|~", 2);
    else
        campo_texto(s, cifras, pg_lltoa(numero, cifras));
}

static void campo_de_linea(StringInfo s, const Datum* valores, const bool* nulos, int campo) {
    text* t;

    if (nulos[campo]) {
        appendBinaryStringInfo(s, "|~", 2);
        return;
    }
    t = DatumGetTextPP(valores[campo]);
    campo_texto(s, VARDATA_ANY(t), VARSIZE_ANY_EXHDR(t));
}

/*
 * OpenSSL looks the digest up again at every start of a hash given EVP_sha256(), behind a lock,
 * which cost more than hashing a line: it is looked up once for the server's process.
 */
static const EVP_MD* sha256(void) {
    static EVP_MD* md = NULL;

    if (md == NULL)
        md = EVP_MD_fetch(NULL, "SHA256", NULL);
    if (md == NULL)
        ereport(ERROR, (errcode(ERRCODE_EXTERNAL_ROUTINE_EXCEPTION),
                        errmsg("OpenSSL no ofrece SHA-256 para la cadena del historial")));
    return md;
}

/* The line's hash in lowercase hexadecimal, as a text datum. */
static Datum huella(const StringInfo s) {
    static const char cifras[] = "0123456789abcdef";
    static EVP_MD_CTX* ctx = NULL;
    unsigned char resumen[EVP_MAX_MD_SIZE];
    text* hex = palloc(VARHDRSZ + LARGO_HEX);
    char* c = VARDATA(hex);

    if (ctx == NULL && (ctx = EVP_MD_CTX_new()) == NULL)
        ereport(ERROR, (errcode(ERRCODE_OUT_OF_MEMORY), errmsg("out of memory")));
    if (!EVP_DigestInit_ex2(ctx, sha256(), NULL) || !EVP_DigestUpdate(ctx, s->data, s->len) ||
        !EVP_DigestFinal_ex(ctx, resumen, NULL))
        ereport(ERROR, (errcode(ERRCODE_EXTERNAL_ROUTINE_EXCEPTION),
                        errmsg("no se pudo calcular la huella del historial")));
    for (int i = 0; i < PG_SHA256_DIGEST_LENGTH; i++) {
        c[2 * i] = cifras[resumen[i] >> 4];
        c[2 * i + 1] = cifras[resumen[i] & 15];
    }
    SET_VARSIZE(hex, VARHDRSZ + LARGO_HEX);
    return PointerGetDatum(hex);
}

/* The lines' row type, refused unless it has historial_linea's fields in their order. */
static TupleDesc forma_de_linea(Oid tipo) {
    TupleDesc forma;
    bool igual;

    if (get_typtype(tipo) != TYPTYPE_COMPOSITE)
        ereport(ERROR, (errcode(ERRCODE_DATATYPE_MISMATCH),
                        errmsg("quimbel_huellas espera un arreglo de historial_linea")));
    forma = lookup_rowtype_tupdesc(tipo, -1);
    igual = forma->natts == kCampos;
    for (int i = 0; igual && i < kCampos; i++)
        igual = !TupleDescAttr(forma, i)->attisdropped &&
                TupleDescAttr(forma, i)->atttypid == kTiposLinea[i];
    if (!igual) {
        ReleaseTupleDesc(forma);
        ereport(ERROR, (errcode(ERRCODE_DATATYPE_MISMATCH),
                        errmsg("quimbel_huellas espera un arreglo de historial_linea")));
    }
    return forma;
}

static Datum* numeros(FunctionCallInfo fcinfo, int argumento, bool** nulos, int n) {
    Datum* valores;
    int cuantos;

    deconstruct_array(PG_GETARG_ARRAYTYPE_P(argumento), INT8OID, 8, FLOAT8PASSBYVAL,
                      TYPALIGN_DOUBLE, &valores, nulos, &cuantos);
    if (cuantos != n)
        ereport(ERROR, (errcode(ERRCODE_INVALID_PARAMETER_VALUE),
                        errmsg("quimbel_huellas necesita una clave y un cambio por línea")));
    return valores;
}

static void campo_fecha(StringInfo s, bool nulo, Timestamp fecha) {
    struct pg_tm tm;
    fsec_t fraccion;
    char texto[32];

    if (nulo) {
        appendBinaryStringInfo(s, "|~", 2);
        return;
    }
    /* As to_char(fecha, 'YYYY-MM-DD HH24:MI:SS') writes the dates the history has. */
    if (TIMESTAMP_NOT_FINITE(fecha) || timestamp2tm(fecha, NULL, &tm, &fraccion, NULL, NULL) != 0 ||
        tm.tm_year < 1)
        ereport(ERROR, (errcode(ERRCODE_DATETIME_VALUE_OUT_OF_RANGE),
                        errmsg("fecha fuera de rango en el historial")));
    campo_texto(s, texto,
                snprintf(texto, sizeof texto, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year,
                         tm.tm_mon, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec));
}

/* The fields of every line's text that are the same for all: the date and the login. */
static void comunes(StringInfo s, FunctionCallInfo fcinfo) {
    initStringInfo(s);
    campo_fecha(s, PG_ARGISNULL(3), PG_ARGISNULL(3) ? 0 : PG_GETARG_TIMESTAMP(3));
    if (PG_ARGISNULL(4))
        appendBinaryStringInfo(s, "|~", 2);
    else
        campo_texto(s, VARDATA_ANY(PG_GETARG_TEXT_PP(4)), VARSIZE_ANY_EXHDR(PG_GETARG_TEXT_PP(4)));
}

/*
 * quimbel_huellas(anterior text, claves bigint[], cambios bigint[], fecha timestamp,
 *                 quien text, orden integer, lineas historial_linea[]) RETURNS text[]
 * The hashes of the lines in order, the first chained to anterior (none for the chain's first).
 */
Datum quimbel_huellas(PG_FUNCTION_ARGS) {
    ArrayType* lineas;
    TupleDesc forma;
    Datum *filas, *claves, *cambios, *huellas;
    bool *filas_nulas, *claves_nulas, *cambios_nulos;
    Datum valores[kCampos];
    bool nulos[kCampos];
    HeapTupleData fila;
    StringInfoData s, fijos;
    bool sin_orden = PG_ARGISNULL(5);
    int32 orden = sin_orden ? 0 : PG_GETARG_INT32(5);
    int n;

    if (PG_ARGISNULL(1) || PG_ARGISNULL(2) || PG_ARGISNULL(6))
        ereport(ERROR, (errcode(ERRCODE_NULL_VALUE_NOT_ALLOWED),
                        errmsg("quimbel_huellas necesita las claves, los cambios y las líneas")));
    if (GetDatabaseEncoding() != PG_UTF8)
        ereport(ERROR, (errcode(ERRCODE_FEATURE_NOT_SUPPORTED),
                        errmsg("quimbel_huellas necesita una base de datos UTF8")));
    lineas = PG_GETARG_ARRAYTYPE_P(6);
    forma = forma_de_linea(ARR_ELEMTYPE(lineas));
    deconstruct_array(lineas, ARR_ELEMTYPE(lineas), -1, false, TYPALIGN_DOUBLE, &filas,
                      &filas_nulas, &n);
    claves = numeros(fcinfo, 1, &claves_nulas, n);
    cambios = numeros(fcinfo, 2, &cambios_nulos, n);
    comunes(&fijos, fcinfo);

    huellas = palloc(sizeof(Datum) * Max(n, 1));
    initStringInfo(&s);
    if (!PG_ARGISNULL(0))
        appendBinaryStringInfo(&s, VARDATA_ANY(PG_GETARG_TEXT_PP(0)),
                               VARSIZE_ANY_EXHDR(PG_GETARG_TEXT_PP(0)));
    for (int i = 0; i < n; i++) {
        HeapTupleHeader cabecera;

        if (filas_nulas[i])
            ereport(ERROR, (errcode(ERRCODE_NULL_VALUE_NOT_ALLOWED),
                            errmsg("quimbel_huellas no admite líneas vacías")));
        cabecera = DatumGetHeapTupleHeader(filas[i]);
        fila.t_len = HeapTupleHeaderGetDatumLength(cabecera);
        fila.t_data = cabecera;
        heap_deform_tuple(&fila, forma, valores, nulos);
        if (i > 0)
            appendBinaryStringInfo(&s, VARDATA(DatumGetPointer(huellas[i - 1])), LARGO_HEX);
        campo_numero(&s, claves_nulas[i], DatumGetInt64(claves[i]));
        campo_numero(&s, cambios_nulos[i], DatumGetInt64(cambios[i]));
        appendBinaryStringInfo(&s, fijos.data, fijos.len);
        campo_de_linea(&s, valores, nulos, kTipo);
        campo_de_linea(&s, valores, nulos, kTabla);
        campo_numero(&s, nulos[kClave], nulos[kClave] ? 0 : DatumGetInt32(valores[kClave]));
        campo_numero(&s, sin_orden, orden);
        campo_de_linea(&s, valores, nulos, kCampo);
        campo_de_linea(&s, valores, nulos, kAnterior);
        campo_de_linea(&s, valores, nulos, kNuevo);
        huellas[i] = huella(&s);
        resetStringInfo(&s);
    }
    ReleaseTupleDesc(forma);
    PG_RETURN_ARRAYTYPE_P(construct_array(huellas, n, TEXTOID, -1, false, TYPALIGN_INT));
}

/*
 * quimbel_bloquear() RETURNS void
 * The chain's lock, held to the end of the transaction: one writer of history lines at a time,
 * each reading the chain's last line only once it holds it. A lock of its own on "esquema",
 * which nothing else takes, where a lock on the table that conflicts with itself (the plpgsql
 * form's, LOCK TABLE esquema IN SHARE ROW EXCLUSIVE MODE) made the server look through every
 * session's fast-path locks at every save. ROW EXCLUSIVE on the table beside it still waits
 * for a writer that took the plpgsql form's lock, as one may while an office switches to this
 * function, and for an upgrade of the schema. It asks for the rights the table's lock asked for,
 * which no person of a protected server has: held by a person, it would stop every save.
 */
Datum quimbel_bloquear(PG_FUNCTION_ARGS) {
    Oid esquema;

    if (XactIsoLevel != XACT_READ_COMMITTED)
        ereport(ERROR, (errcode(ERRCODE_FEATURE_NOT_SUPPORTED),
                        errmsg("El historial solo se escribe en transacciones READ COMMITTED.")));
    esquema = RangeVarGetRelid(makeRangeVar(NULL, "esquema", -1), NoLock, false);
    if (pg_class_aclcheck(esquema, GetUserId(), ACL_UPDATE | ACL_DELETE | ACL_TRUNCATE) !=
        ACLCHECK_OK)
        aclcheck_error(ACLCHECK_NO_PRIV, OBJECT_TABLE, "esquema");
    LockRelationOid(esquema, RowExclusiveLock);
    LockDatabaseObject(RelationRelationId, esquema, 0, ExclusiveLock);
    PG_RETURN_VOID();
}
