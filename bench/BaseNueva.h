#pragma once

#include "Conexiones.h"
#include "Esquema.h"

#include <QTemporaryDir>
#include <cstdio>

// An empty database in `dir`, made the program's connection. False when it cannot be created or
// opened; a creation error is printed.
inline bool AbrirBaseNueva(const QTemporaryDir& dir) {
    const QString ruta = dir.filePath(QStringLiteral("bdquimbel.mdb"));
    QString error;
    if (!Esquema::Crear(ruta, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), ruta);
    return AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString());
}
