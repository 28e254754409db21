#pragma once

#include "Informe.h"

#include <QList>
#include <QString>
#include <functional>

class QDialog;
class QWidget;

// The preview window of a report, titled with the layout's caption, on pages of the layout's
// orientation, with an "Exportar a PDF" action beside the printing ones. Not shown yet; it keeps
// its own copy of the records. nullptr when the printing module is missing (the person has been
// told).
QDialog* CrearVistaPrevia(const DisenoInforme& diseno, const Recordset& rs,
                          QWidget* parent = nullptr);

// Shows a report on records the caller holds (a maintenance window's own list); they stay open.
// False when the preview could not be shown (the person has been told).
bool MostrarInforme(const DisenoInforme& diseno, const Recordset& rs, bool modal,
                    QWidget* parent = nullptr);
// Opens the records with `abrir` (a data module's function) for the report alone and closes them
// once a modal preview has returned. False when the records could not be opened or the preview
// shown (the person has been told).
bool MostrarInforme(const DisenoInforme& diseno, const std::function<bool(Recordset&)>& abrir,
                    bool modal, QWidget* parent = nullptr);

// The order editor's "Imprimir": the stored order as dtrOrden prints it.
void ImprimirOrden(int ordId, QWidget* parent = nullptr);

// What the program has shown as reports, for tests. In test mode a modal preview closes itself
// as soon as it has been shown, as an OK-only message box does.
struct InformeMostrado {
    QString nombre; // dtrOrdenes ...
    QString caption;
    QString sql; // the records' source
    int registros = 0;
    bool modal = false;
    QStringList textosPrimeraPagina;
};
QList<InformeMostrado> InformesMostrados();
void LimpiarInformesMostrados();
