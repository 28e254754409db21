#pragma once

#include "Historial.h"
#include "Informe.h"
#include "Recordset.h"

#include <QString>

class QWidget;

// The history of one order on paper, alone or in the auditor's dossier.

// One record per history line (Fecha, Usuario, Cambio, Detalle, and the change's key CambioId),
// newest change first; dtrHistorial shows the moment, user and kind once per change and page.
Recordset RegistrosHistorial(const QList<Historial::Entrada>& entradas);
// "Historial de la Orden de Compra" in its preview, from which it is printed.
bool ImprimirHistorial(int ordId, QWidget* parent = nullptr);
// The dossier's parts laid out on paper of that size (twips), numbered as one document. False
// when the records cannot be read (the error was shown).
bool MaquetarExpediente(int ordId, const QSize& papel, QList<InformeMaquetado>* partes);
// The order dossier: the order as dtrOrden prints it, all its quotes and its history, in one
// PDF file, whole or not at all. False when the records cannot be read (the error was shown) or
// the file written (the cause in `error`).
bool ExportarExpediente(int ordId, const QString& archivo, QString* error = nullptr);
