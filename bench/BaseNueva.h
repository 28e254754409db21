#pragma once

#include "Conexiones.h"
#include "Esquema.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

// The program's tables made in `ruta` (a file that does not exist yet, or an empty database on a
// server: postgresql://…), which becomes the program's connection. False when it cannot be
// created or opened; a creation error is printed.
inline bool AbrirBaseNueva(const QString& ruta) {
    QString error;
    if (!Esquema::Crear(ruta, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    return CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), ruta) &&
           AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString());
}

// A benchmark whose statement failed would measure nothing: it stops and says so.
inline void Exigir(bool hecho, const char* que) {
    if (!hecho) {
        std::fprintf(stderr, "Falló: %s\n", que);
        std::exit(1);
    }
}

// An empty database file in `dir`.
inline bool AbrirBaseNueva(const QTemporaryDir& dir) {
    return AbrirBaseNueva(dir.filePath(QStringLiteral("bdquimbel.mdb")));
}

inline bool Sql(const QString& sql) {
    Recordset rs;
    return AbrirRecordset(sql, rs);
}

// Two quotes for every order: one from the first supplier, accepted in about two orders in three
// and in dollars in one in five; one from the second, never accepted.
inline bool PoblarPrecios() {
    return Sql(QStringLiteral(
               "INSERT INTO precios (OrdId, EmpId, PrePrecio, PreMoneda, PreFormaPago, PreFecha, "
               "PreFecVigencia, PreAceptado) SELECT OrdId, 1, OrdCantidad * 10.25, "
               "CASE WHEN OrdId % 5 = 0 THEN 'Dólares' ELSE 'Pesos' END, 'Contado', OrdFecha, "
               "OrdFecha, CASE WHEN OrdId % 3 = 0 THEN 0 ELSE 1 END FROM ordenes")) &&
           Sql(QStringLiteral(
               "INSERT INTO precios (OrdId, EmpId, PrePrecio, PreMoneda, PreAceptado) "
               "SELECT OrdId, 2, OrdCantidad * 11, 'Pesos', 0 FROM ordenes"));
}

// The best of five runs of each, in milliseconds, taken in turns so that what else the machine
// is doing weighs on both alike.
inline std::pair<double, double> MejorAlternados(const std::function<void()>& uno,
                                                 const std::function<void()>& otro) {
    std::pair<double, double> mejor{1e100, 1e100};
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer reloj;
        reloj.start();
        uno();
        mejor.first = std::min(mejor.first, reloj.nsecsElapsed() / 1e6);
        reloj.start();
        otro();
        mejor.second = std::min(mejor.second, reloj.nsecsElapsed() / 1e6);
    }
    return mejor;
}

// The best of five runs, in milliseconds.
inline double Mejor(const std::function<void()>& paso) {
    double mejor = 1e100;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer reloj;
        reloj.start();
        paso();
        mejor = std::min(mejor, reloj.nsecsElapsed() / 1e6);
    }
    return mejor;
}
