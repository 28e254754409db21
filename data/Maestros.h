#pragma once

#include "Recordset.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

// The master data the maintenance windows keep: suppliers, products, categories, sectors, cost
// centres, users. Each window names its own stored commands; these run them. False when the
// database refused (already reported).
namespace Maestros {

// Runs a window's insert command; `id`, when given, receives the new record's key (invalid when
// none).
[[nodiscard]] bool Insertar(const QString& comando, const QVariantList& valores, QVariant* id);
[[nodiscard]] bool Actualizar(const QString& comando, const QVariantList& valores);

// Deletes the deactivated categories that no product uses.
[[nodiscard]] bool EliminarCategoriasDesactivadas();

} // namespace Maestros
