#pragma once

#include "DialectoPg.h"
#include "Esquema.h"

#include <QByteArray>
#include <QString>
#include <libpq-fe.h>
#include <sqlite3.h>

// The least work that gives a query's rows on each engine, for a benchmark to print beside the
// program's own time: the engine's C API running the same text on a connection of its own and
// reading every column of every row as text, with nothing of the program around it. Each Leer
// gives the bytes read (so that no reading can be left out), or -1 when the text fails.

// The file: the text prepared and stepped. The connection carries the dialect's collations and
// functions, without which the program's texts do not run on the file at all.
class PisoArchivo {
public:
    explicit PisoArchivo(const QString& ruta) : db_(Esquema::AbrirArchivo(ruta, false, nullptr)) {}
    ~PisoArchivo() { sqlite3_close(db_); }
    PisoArchivo(const PisoArchivo&) = delete;
    PisoArchivo& operator=(const PisoArchivo&) = delete;

    qint64 Leer(const QString& sql, int* filas) {
        sqlite3_stmt* st = nullptr;
        const QByteArray texto = sql.toUtf8();
        if (!db_ || sqlite3_prepare_v2(db_, texto.constData(), -1, &st, nullptr) != SQLITE_OK)
            return -1;
        const int columnas = sqlite3_column_count(st);
        qint64 bytes = 0;
        int rc = SQLITE_ROW;
        for (*filas = 0; (rc = sqlite3_step(st)) == SQLITE_ROW; ++*filas)
            for (int c = 0; c < columnas; ++c)
                if (sqlite3_column_text(st, c))
                    bytes += sqlite3_column_bytes(st, c);
        sqlite3_finalize(st);
        return rc == SQLITE_DONE ? bytes : -1;
    }

private:
    sqlite3* db_;
};

// The server: the text as the program sends it (in the server's dialect), prepared once as the
// program keeps it prepared, run and read in the text format.
class PisoServidor {
public:
    PisoServidor(const QString& uri, const QString& sql)
        : db_(PQconnectdb(uri.toUtf8().constData())) {
        const QByteArray texto = DialectoPg::Traducir(sql).value(0).texto.toUtf8();
        PGresult* r = PQprepare(db_, "piso", texto.constData(), 0, nullptr);
        preparada_ = PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
    }
    ~PisoServidor() { PQfinish(db_); }
    PisoServidor(const PisoServidor&) = delete;
    PisoServidor& operator=(const PisoServidor&) = delete;

    qint64 Leer(int* filas) {
        if (!preparada_)
            return -1;
        PGresult* r = PQexecPrepared(db_, "piso", 0, nullptr, nullptr, nullptr, 0);
        const bool ok = PQresultStatus(r) == PGRES_TUPLES_OK;
        qint64 bytes = 0;
        *filas = ok ? PQntuples(r) : 0;
        const int columnas = PQnfields(r);
        for (int f = 0; f < *filas; ++f)
            for (int c = 0; c < columnas; ++c)
                if (!PQgetisnull(r, f, c) && PQgetvalue(r, f, c))
                    bytes += PQgetlength(r, f, c);
        PQclear(r);
        return ok ? bytes : -1;
    }

private:
    PGconn* db_;
    bool preparada_ = false;
};
