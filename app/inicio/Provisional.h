#pragma once

#include <QString>

class QWidget;

// Start-up's steps that belong to other windows of the program.
QWidget* MostrarPresentacion();
void RespaldarBaseDeDatos(const QString& origen, const QString& carpeta);
void MostrarOpcionesTrasFallo();
