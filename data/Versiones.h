#pragma once

#include "Historial.h"

#include <QDateTime>
#include <QString>

// A record as a window loaded it, against the record as stored when it is saved: a save keeps
// nothing over another workstation's change that the person never saw.
namespace Versiones {

// Inside the caller's transaction: the record as stored now (empty when it no longer exists),
// held until the transaction ends so that no other workstation changes it meanwhile. False
// after the person was told of a database error.
[[nodiscard]] bool LeerParaModificar(const QString& tabla, const QString& columnaClave, int clave,
                                     Historial::Registro* actual);

// Whether the record as loaded still holds the values stored now: every stored column the
// loading query also read.
bool Iguales(const Historial::Registro& cargado, const Historial::Registro& actual);

// Who made the newest change the history holds for that record, and when; false when the
// history holds none or cannot be read.
struct Cambio {
    QString login;
    QDateTime fecha;
};
[[nodiscard]] bool UltimoCambio(const QString& tabla, int clave, Cambio* cambio);

// "beto (02/03/2026 10:30)", or "Otro puesto" when the history did not say who.
QString Autor(const Cambio& cambio);

} // namespace Versiones
