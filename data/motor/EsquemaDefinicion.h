#pragma once

#include <QList>
#include <QStringList>
#include <functional>

// The schema written once, in the file engine's dialect; the server's schema is derived from
// it (EsquemaPg.cpp). A new table or command is added here, for both engines.
namespace Esquema {
extern const char* const kTablas;
extern const char* const kVistas;

struct DefComando {
    const char* nombre;
    const char* parametros;
    const char* sentencias;
    // Where the server needs other statements for the same effect; nullptr: the same ones.
    const char* servidor = nullptr;
};
const QList<DefComando>& Comandos();

// Every table and view with the columns the program uses.
struct DefTabla {
    const char* nombre;
    QStringList columnas;
    int desde = 1; // the version that adds it: an older database gets it from Actualizar
};
const QList<DefTabla>& Tablas();

// What a schema version adds to the one before it, in the file engine's DDL; then, once the
// rows there are brought up to it, what only the file engine needs (`archivo`). The server's
// own part of a version lives in EsquemaPg.cpp.
struct Paso {
    int version;
    const char* sql;
    const char* archivo = nullptr;
};
const QList<Paso>& Pasos();
// What the tables and views of a database at `version` lack, given how the engine lists a
// table's columns (in lower case).
QStringList FaltantesEnTablas(int version,
                              const std::function<QStringList(const DefTabla&)>& columnasDe);
} // namespace Esquema
