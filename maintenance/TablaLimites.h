#pragma once

#include "ReglasAprobacion.h"

#include <QTableWidget>

// A user's "Límite de autorización": one row per currency the office uses, with an amount, or
// "Sin límite" ticked, or neither (that currency is not theirs to authorise), and a last empty
// row where a currency not quoted yet can be typed.
class TablaLimites : public QTableWidget {
    Q_OBJECT
public:
    explicit TablaLimites(QWidget* padre = nullptr);
    // The limits of that user; 0 (a new user) keeps what is shown.
    void Mostrar(int usuId);
    void SetEditable(bool editable);
    // The typed limits; false, after telling the person, when one of them is not a valid amount.
    bool Leer(LimitesAutorizacion* limites) const;

private:
    void AgregarFila(const QString& moneda, bool monedaFija);
    void AlCambiar(QTableWidgetItem* celda);
};
