#pragma once

#include "Recordset.h"
#include "TiposBD.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

// What the data modules use below the windows' operations (Conexiones.h): the shared connection
// itself, statements on any connection of the program, and the report of a failure. Every
// failure reported here is shown to the user, one box per error.

extern QSqlDatabase gConexion;

// The shared connection as every statement of the program reaches it: the one place where it
// is taken, whatever becomes of it between two statements.
QSqlDatabase& Conexion();

// Shows each error to the user, one box each. A lost connection is told as such, saying that
// nothing was kept when it broke a save (`guardando`, or a write transaction open).
void ReportarErrores(const QList<ErrorBD>& errores, bool guardando = false);
// The snapshot of what a statement gave back; closed when it gives no rows (an action).
Recordset Instantanea(const QString& sql, FilasLeidas&& filas);

// AbrirRecordset on any open connection of the program (the copy has two of its own).
[[nodiscard]] bool AbrirRecordsetEn(const QSqlDatabase& db, const QString& sql, Recordset& rs,
                                    const QVariantList& valores = {});
// Runs an INSERT as AbrirRecordsetEn does and gives the key it made, in column `columnaClave`.
[[nodiscard]] bool InsertarEn(const QSqlDatabase& db, const QString& sql,
                              const QString& columnaClave, const QVariantList& valores,
                              QVariant* clave);

// Prepares a freshly opened Qt connection as every connection of the program must be.
[[nodiscard]] bool PrepararConexion(QSqlDatabase& db);
// Closes any connection of the program, letting go first of what is kept prepared for it.
void CerrarBase(QSqlDatabase& db);
