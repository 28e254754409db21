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
// The program's folder followed by the default database name.
QString RutaPorDefectoBaseDeDatos();
