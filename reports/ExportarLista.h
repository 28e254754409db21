#pragma once

#include "Tabla.h"

class QAbstractItemView;
class QAction;
class QWidget;

// Saving a list to a spreadsheet file, as a person does it from a window: the file is chosen in
// the save dialog (CSV or XLSX by its extension, else by the chosen filter, else XLSX), long
// exports show the busy pointer and a progress bar that can cancel, and a failure is told.
// Gives true when the file was written.
bool ExportarTabla(const Tabla& tabla, const QString& nombreSugerido, QWidget* padre);

// Adds "Exportar..." to the list's context menu: it exports the rows and columns the list shows.
QAction* AgregarExportarLista(QAbstractItemView* lista, const QString& nombre);
