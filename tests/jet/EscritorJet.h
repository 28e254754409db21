#pragma once

#include <QList>
#include <QString>
#include <QVariantList>

// Writes database files of the Jet engine (the older 2 KB-page format, texts in one code page,
// and the newer 4 KB-page one, texts in UCS-2), with no index, query or property: the least that
// makes a file that a reader walking the catalog, the table definitions, the usage maps and the
// data pages reads whole. Only for tests: nothing in Debian writes such files, and the import
// must be tried on real ones.
namespace Jet {

enum class Version { Jet3, Jet4 };

enum class Tipo : unsigned char {
    SiNo = 0x01,
    Entero = 0x03, // 16 bits
    Largo = 0x04,  // 32 bits
    Moneda = 0x05,
    Doble = 0x07,
    Fecha = 0x08,
    Texto = 0x0A,
    Memo = 0x0C,
    Ole = 0x0B,
};

struct Columna {
    QString nombre;
    Tipo tipo = Tipo::Texto;
    // The key numbered by the engine itself on insert.
    bool autonumerico = false;
};

struct Tabla {
    QString nombre;
    QList<Columna> columnas;
    // One value per column: null, a number, QDateTime, bool or text.
    QList<QVariantList> filas;
    // The number the engine would give to the next row of an autonumbered key.
    qint32 siguienteClave = 1;
};

// False, with the reason, when a value does not fit its column (a text outside the code page, a
// row longer than a page).
bool Escribir(const QString& ruta, Version version, const QList<Tabla>& tablas, QString* error);

} // namespace Jet
