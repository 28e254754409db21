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
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
        return ok;
    }

private:
    sqlite3* archivo_ = nullptr;
    PGconn* pg_ = nullptr;
};
