#pragma once

#include <QString>

class QWidget;

// Start-up's steps that belong to other windows of the program.
bool MostrarLogin();
QWidget* MostrarPresentacion();
void RespaldarBaseDeDatos(const QString& origen, const QString& carpeta);
void MostrarPrincipal();
void MostrarOpcionesTrasFallo();
