#pragma once

#include <QString>

class QWidget;

// Start-up's steps that belong to other windows of the program.
bool MostrarLogin();
void MostrarPrincipal();
