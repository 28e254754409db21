#pragma once

#include "TiposBD.h"

#include <QSqlDatabase>

// How each engine writes the lines of one change into the history: all of them, or none, inside
// the caller's transaction. Lines of one change share HisCambio, the key of their first line, and
// HisFecha, the program's clock on the file and the server's on the server. Each line is chained
// to the one before it (CadenaHistorial): by the file engine's write path here, by the server's
// trigger there.
namespace Motor {
// Each line's values in the order of the history's columns after those two: HisLogin, HisTipo,
// HisTabla, HisClave, HisOrdId, HisCampo, HisAnterior, HisNuevo.
[[nodiscard]] bool EscribirCambio(const QSqlDatabase& db, const QList<QVariantList>& lineas,
                                  ErrorBD* error);
} // namespace Motor
