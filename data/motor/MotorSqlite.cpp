#include "MotorSqlite.h"

#include "ErrorMotor.h"
#include "Fechas.h"
#include "SentenciasSqlite.h"
#include "Valores.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <sqlite3.h>

using Valores::TipoColumna;

namespace MotorSqlite {
namespace {

std::string_view TextoDe(sqlite3_stmt* st, int i) {
    return {reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
            static_cast<size_t>(sqlite3_column_bytes(st, i))};
}

// The cell as a column of its declared type reads it: flags as bool, numbers as numbers, a date
// column's text in the stored form as that date; anything else by what SQLite holds.
void LeerValor(sqlite3_stmt* st, int i, TipoColumna tipo, FilasCompactas& filas) {
    const int clase = sqlite3_column_type(st, i);
    if (clase == SQLITE_NULL)
        return filas.AgregarNulo(i);
    switch (tipo) {
    case TipoColumna::Booleano:
        return filas.AgregarBooleano(i, sqlite3_column_int64(st, i) != 0);
    case TipoColumna::Fecha:
        if (clase == SQLITE_TEXT && Fechas::AgregarLeida(TextoDe(st, i), filas, i))
            return;
        break;
    case TipoColumna::Doble:
        if (clase == SQLITE_INTEGER || clase == SQLITE_FLOAT)
            return filas.AgregarDoble(i, sqlite3_column_double(st, i));
        break;
    case TipoColumna::Entero:
        if (clase == SQLITE_INTEGER)
            return filas.AgregarEntero(i, sqlite3_column_int64(st, i));
        break;
    default:
        break;
    }
    switch (clase) {
    case SQLITE_INTEGER:
        return filas.AgregarEntero(i, sqlite3_column_int64(st, i));
    case SQLITE_FLOAT:
        return filas.AgregarDoble(i, sqlite3_column_double(st, i));
    case SQLITE_BLOB:
        return filas.AgregarBytes(i, {static_cast<const char*>(sqlite3_column_blob(st, i)),
                                      static_cast<size_t>(sqlite3_column_bytes(st, i))});
    default:
        return filas.AgregarTexto(i, TextoDe(st, i));
    }
}

int Vincular(sqlite3_stmt* st, int i, const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return sqlite3_bind_null(st, i);
    switch (v.typeId()) {
    case QMetaType::Bool:
        return sqlite3_bind_int(st, i, v.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return sqlite3_bind_int64(st, i, v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(st, i, v.toDouble());
    case QMetaType::QDateTime:
        return sqlite3_bind_text(st, i, Fechas::Texto(v.toDateTime()).toUtf8().constData(), -1,
                                 SQLITE_TRANSIENT);
    case QMetaType::QDate:
        return sqlite3_bind_text(st, i, Fechas::Texto(v.toDate().startOfDay()).toUtf8().constData(),
                                 -1, SQLITE_TRANSIENT);
    default: {
        const QByteArray t = v.toString().toUtf8();
        return sqlite3_bind_text(st, i, t.constData(), static_cast<int>(t.size()),
                                 SQLITE_TRANSIENT);
    }
    }
}

// The statement's columns, read again only when it was prepared again: a statement kept
// prepared is prepared anew in its first step when another workstation changed its tables.
const SentenciasSqlite::Columnas& ColumnasDe(sqlite3_stmt* st, SentenciasSqlite::Columnas* c) {
    const int preparada = sqlite3_stmt_status(st, SQLITE_STMTSTATUS_REPREPARE, 0);
    if (c->preparada == preparada)
        return *c;
    const int nCol = sqlite3_column_count(st);
    c->tipos.resize(nCol);
    c->nombres.clear();
    for (int i = 0; i < nCol; ++i) {
        c->tipos[i] = Valores::TipoDeclarado(sqlite3_column_decltype(st, i));
        c->nombres << QString::fromUtf8(sqlite3_column_name(st, i));
    }
    c->preparada = preparada;
    return *c;
}

// One prepared statement run to its end; its rows (when it has columns) replace those in `filas`.
bool Paso(sqlite3* db, const SentenciasSqlite::Sentencia& s, const QVariantList& valores,
          FilasLeidas* filas, ErrorBD* error, const Adelanto* adelanto) {
    sqlite3_stmt* st = s.st;
    const int nParam = sqlite3_bind_parameter_count(st);
    for (int i = 1; i <= nParam; ++i) {
        if (Vincular(st, i, valores.value(i - 1)) != SQLITE_OK) {
            *error = ErrorDe(db);
            return false;
        }
    }
    int rc = sqlite3_step(st);
    const SentenciasSqlite::Columnas& columnas = ColumnasDe(st, s.columnas.get());
    const QVector<TipoColumna>& tipos = columnas.tipos;
    const int nCol = static_cast<int>(tipos.size());
    FilasCompactas leidas(nCol);
    for (; rc == SQLITE_ROW; rc = sqlite3_step(st)) {
        // The statement rests on the next row while they are shown: nothing of it is read
        // meanwhile, and the rest follows as if there had been no pause.
        if (adelanto && leidas.size() == adelanto->filas && adelanto->mostrar) {
            adelanto->mostrar({true, columnas.nombres, leidas.Copia()});
        }
        for (int c = 0; c < nCol; ++c)
            LeerValor(st, c, tipos[c], leidas);
        leidas.TerminarFila();
    }
    leidas.Terminar();
    if (rc != SQLITE_DONE) {
        *error = ErrorDe(db);
        return false;
    }
    if (nCol > 0) {
        filas->hay = true;
        filas->columnas = columnas.nombres;
        filas->filas = std::move(leidas);
    }
    return true;
}

} // namespace

sqlite3* HandleDe(const QSqlDatabase& db) {
    if (!db.isValid() || !db.isOpen())
        return nullptr;
    const QVariant h = db.driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(h.data());
}

ErrorBD ErrorDe(sqlite3* db) {
    return {sqlite3_extended_errcode(db), DescribirErrorMotor(db)};
}

bool Ejecutar(sqlite3* db, const QString& sql, const QVariantList& valores, FilasLeidas* filas,
              bool varias, ErrorBD* error, const Adelanto* adelanto) {
    const QByteArray texto = sql.toUtf8();
    FilasLeidas leidas;
    int desde = 0;
    while (desde < texto.size()) {
        SentenciasSqlite::Sentencia s;
        if (!SentenciasSqlite::Tomar(db, texto, desde, &s)) {
            *error = ErrorDe(db);
            return false;
        }
        desde = s.siguiente;
        if (!s.st) // only blanks or a comment were left
            continue;
        const bool ok = Paso(db, s, valores, &leidas, error, adelanto);
        SentenciasSqlite::Devolver(s);
        if (!ok)
            return false;
        if (!varias) {
            while (desde < texto.size() && QChar(QLatin1Char(texto[desde])).isSpace())
                ++desde;
            if (desde < texto.size() && texto[desde] != ';') {
                *error = {SQLITE_ERROR, QStringLiteral("Se esperaba una sola sentencia SQL.")};
                return false;
            }
            break;
        }
    }
    *filas = std::move(leidas);
    return true;
}

} // namespace MotorSqlite
