#pragma once

#include "Recordset.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>

// One column of the list grid.
struct ColumnaLista {
    QString titulo;
    QString campo;
    bool siNo = false; // a flag column shown as "Si" / "No"
};

// A read-only table model over a Recordset: one row per record, the configured columns.
// Asignar(nullptr) detaches it (it then shows no rows). A window whose records live elsewhere
// may override Filas()/Valor().
class ModeloLista : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeloLista(QList<ColumnaLista> columnas, QObject* padre = nullptr);

    void Asignar(const Recordset* rs);
    const QList<ColumnaLista>& Columnas() const { return columnas_; }

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;

protected:
    virtual int Filas() const;
    virtual QVariant Valor(int fila, int columna) const;

private:
    QList<ColumnaLista> columnas_;
    QList<int> indices_;
    const Recordset* rs_ = nullptr;
};
