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
[[nodiscard]] bool Abrir(Lista lista, Recordset& rs);

// The shown text of a record no longer among a list's rows (a retired user, sector or cost centre
// on an old order); false when there is no such record.
[[nodiscard]] bool NombreDeUsuario(int usuId, QString* nombre);
[[nodiscard]] bool NombreDeSector(int secId, QString* nombre);
[[nodiscard]] bool NombreDeCentroDeCosto(int cenCosId, QString* nombre);

// Searches by a part of the text as typed (bound, never pasted into the SQL).
[[nodiscard]] bool BuscarProductos(const QString& descripcion, Recordset& rs);
[[nodiscard]] bool BuscarProveedores(const QString& nombre, Recordset& rs);

} // namespace Listas
