#pragma once

#include "Recordset.h"

#include <QString>

// The lookup lists of the order editor and its two search windows.
namespace Listas {

enum class Lista {
    Unidades,
    LugaresDeEntrega,
    Solicitantes,
    Autorizantes,
    Sectores,
    CentrosDeCosto,
    Monedas,
    FormasDePago,
};

// A list's rows; each row shows column `mostrada` and is worth column `valor`.
struct Columnas {
    QString mostrada;
    QString valor;
};
Columnas ColumnasDe(Lista lista);
bool Abrir(Lista lista, Recordset& rs);

// The shown text of a record no longer among a list's rows (a retired user, sector or cost centre
// on an old order); false when there is no such record.
bool NombreDeUsuario(int usuId, QString* nombre);
bool NombreDeSector(int secId, QString* nombre);
bool NombreDeCentroDeCosto(int cenCosId, QString* nombre);

// Searches by a part of the text as typed (bound, never pasted into the SQL).
bool BuscarProductos(const QString& descripcion, Recordset& rs);
bool BuscarProveedores(const QString& nombre, Recordset& rs);

} // namespace Listas
