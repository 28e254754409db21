#pragma once

#include "Recordset.h"

#include <QString>

// Rows for an SQL text its caller keeps as configuration: a maintenance window's list, the rows
// of a report. False when the database refused it (already reported).
[[nodiscard]] bool AbrirConsulta(const QString& sql, Recordset& rs);
