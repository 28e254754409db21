#pragma once

#include "FilasCompactas.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <utility>

// What the engines and the data modules hand each other: a statement with its values, what it
// gave back, and what went wrong. Errors carry the SQLite result codes whatever the engine, so
// the rest of the program tells them apart (and describes them) one way.

// How long a workstation waits for another's write before giving up.
inline constexpr int kEsperaOcupadoMs = 10000;

struct Consulta {
    QString sql;
    QVariantList valores;
};

// The columns and rows one statement gave back, on their way from the engine to a Recordset.
struct FilasLeidas {
    bool hay = false; // the statement produces rows (none at all is still an answer)
    QStringList columnas;
    FilasCompactas filas;
};

// A statement that gives more than `filas` rows shows them to `mostrar` (a copy of their own)
// before it reads the rest, where the engine can hand rows over before the statement ends.
struct Adelanto {
    int filas = 0;
    std::function<void(FilasLeidas&&)> mostrar;
};

struct ErrorBD {
    int numero = 0;
    QString descripcion;
    // The connection to the server was lost (or could not be opened again): what was under way
    // did not happen, and the next operation opens it anew.
    bool conexionPerdida = false;
};

// Why a database could not be opened, told apart so that the person reads first what to do
// about it; `causa` says it in full, with the engine's own words, for support.
struct FalloApertura {
    enum class Tipo {
        Ninguno,
        SinPermiso,          // a read-only file or folder
        Acceso,              // the server refused the user or the password
        NoAdmitido,          // the server's pg_hba.conf admits no such connection from here
        ServidorInaccesible, // refused, unreachable or silent host
        BaseInexistente,     // no such database on the server
        CarpetaInexistente,
        ArchivoInexistente,
        BaseVacia,    // opens, but holds none of the program's tables
        NoUtilizable, // not this program's, incomplete, newer, or could not be brought up to date
        Danada,
        SinBiblioteca, // the server engine's client library is not installed here
        Otro,
    };
    FalloApertura(Tipo t = Tipo::Ninguno, QString c = {}, QString aviso = {})
        : tipo(t), causa(std::move(c)), titular(std::move(aviso)) {}

    Tipo tipo;
    QString causa;
    // What the person reads first when there is more to say than the kind's own headline (where
    // a copy to put back is), in place of it.
    QString titular;
    bool Hay() const { return tipo != Tipo::Ninguno; }
};
