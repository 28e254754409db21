#pragma once

#include <QString>

// The five machine-wide settings, loaded once at start-up.
extern QString gDbPath;
extern QString gDbBackup;
extern QString gLogoPath;
extern QString gEmpresa;
extern int gAvisoDias;

// Fills the globals from the settings store and writes the defaults of missing values.
void CargarConfiguracion();
// The default database: beside the program run from its build folder; for the program installed
// in a system folder, in the person's data folder (~/.local/share/Tolvanex/Quimbel).
QString RutaPorDefectoBaseDeDatos(const QString& carpetaPrograma);
QString RutaPorDefectoBaseDeDatos();
