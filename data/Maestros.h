#pragma once

#include "Recordset.h"
#include "SeleccionLista.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

// The master data the maintenance windows keep: suppliers, products, categories, sectors, cost
// centres, users. Each window names its own stored commands; these run them. False when the
// database refused (already reported).
namespace Maestros {

// The list of the window whose records live in `tabla` ("sectores", "proveedores"...), in the
// order of their description; a search binds the text as a value, so quotes and wildcards typed
// by a person are only characters. False also for a table no window keeps.
[[nodiscard]] bool AbrirLista(const QString& tabla, const SeleccionLista& seleccion, Recordset& rs);
// Every product, for the products' report.
[[nodiscard]] bool AbrirProductosParaImprimir(Recordset& rs);

// Runs a window's insert command; `id`, when given, receives the new record's key (invalid when
// none).
[[nodiscard]] bool Insertar(const QString& comando, const QVariantList& valores, QVariant* id);
[[nodiscard]] bool Actualizar(const QString& comando, const QVariantList& valores);

// Deletes the deactivated categories that no product uses, each with its history lines as
// deleted by `login`.
[[nodiscard]] bool EliminarCategoriasDesactivadas(const QString& login);

} // namespace Maestros
