#pragma once

#include "Informe.h"

// The program's report layouts. Each one comes with the run-time set-up done: the company name
// and logo of the settings in its report header, or no report header when neither is set.
DisenoInforme dtrOrdenes();
DisenoInforme dtrOrden();
DisenoInforme dtrProductos();
DisenoInforme dtrProveedores();
DisenoInforme dtrCategorias();
DisenoInforme dtrSectores();
DisenoInforme dtrCentrosDeCosto();
// The auditor's pages of one order: all its quotes, and its history.
DisenoInforme dtrPreciosOrden(int ordId);
DisenoInforme dtrHistorial(int ordId);
// The auditor's lines of the whole history, under the filters chosen and the chain's state.
DisenoInforme dtrAuditoria(const QString& filtros, const QString& cadena, bool integra);
