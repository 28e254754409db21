#pragma once

#include "Conexiones.h"

#include <QList>
#include <QString>

// A whole database copied onto another, a file or a server in either place: moving an office
// onto a server, taking a server's data home as a file, the backup of a server database.

struct FilasDeTabla {
    QString tabla;
    qint64 origen = 0;
    qint64 destino = 0;
};

struct ResultadoCopia {
    enum class Estado { Hecha, DestinoConDatos, EnUso, OrigenDanado, Fallo };
    Estado estado = Estado::Fallo;
    // Why it was not done, in words for the user; empty when done.
    QString causa;
    // Rows of each table read from the source and found in the destination.
    QList<FilasDeTabla> filas;
    bool Hecha() const { return estado == Estado::Hecha; }
};

// Copies every row of `origen` into `destino`, each a database file or a server URI. A file
// destination that does not exist is created with the schema; a destination that exists must
// hold the schema and no rows. Keys are kept, and each key's counter is set past both the
// highest key and the source's own counter, so that no number given out before is given again.
// The rows are read from one consistent state of the source while others keep writing, and
// written in one transaction: on any failure the destination is left as it was (a file created
// here is removed). A lock held on either side for longer than `esperaMs` gives EnUso.
[[nodiscard]] ResultadoCopia CopiarBaseDeDatos(const QString& origen, const QString& destino,
                                               int esperaMs = kEsperaOcupadoMs);
