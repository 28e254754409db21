#pragma once

#include "Entorno.h"
#include "Esquema.h"

#include <libpq-fe.h>
#include <sqlite3.h>

// Another workstation: its own connection to the same database, running whole SQL scripts.
class OtroPuesto {
public:
    explicit OtroPuesto(const QString& ruta) {
        QString error;
        if (Entorno::EnServidor())
            pg_ = Esquema::ConectarServidor(ruta, &error);
        else
            archivo_ = Esquema::AbrirArchivo(ruta, false, &error);
    }
    ~OtroPuesto() {
        if (pg_)
            PQfinish(pg_);
        sqlite3_close(archivo_);
    }
    bool Abierto() const { return pg_ || archivo_; }
    bool Ejecutar(const QByteArray& sql) {
        if (archivo_)
            return sqlite3_exec(archivo_, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
        PGresult* r = PQexec(pg_, sql.constData());
        const bool ok =
            PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
        PQclear(r);
        return ok;
    }

    // The history line the other workstation's program writes with its change: "beto" changed
    // the record's field on 2 March 2026 at 10:30.
    bool AnotarCambio(const QByteArray& tabla, const QByteArray& clave, const QByteArray& campo,
                      const QByteArray& anterior, const QByteArray& nuevo,
                      const QByteArray& ordId = "NULL") {
        return Ejecutar("INSERT INTO historial (HisFecha, HisLogin, HisTipo, HisTabla, HisClave, "
                        "HisOrdId, HisCampo, HisAnterior, HisNuevo) VALUES ('2026-03-02 "
                        "10:30:00', 'beto', 'Modificación', '" +
                        tabla + "', " + clave + ", " + ordId + ", '" + campo + "', '" + anterior +
                        "', '" + nuevo + "')");
    }

    // The first column of the first row, as text; empty when there is none.
    QByteArray Valor(const QByteArray& sql) {
        QByteArray v;
        if (archivo_) {
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(archivo_, sql.constData(), -1, &st, nullptr) == SQLITE_OK &&
                sqlite3_step(st) == SQLITE_ROW)
                v = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            sqlite3_finalize(st);
            return v;
        }
        PGresult* r = PQexec(pg_, sql.constData());
        if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0)
            v = PQgetvalue(r, 0, 0);
        PQclear(r);
        return v;
    }

private:
    sqlite3* archivo_ = nullptr;
    PGconn* pg_ = nullptr;
};
