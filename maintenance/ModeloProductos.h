#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// The list's five columns over the product record set. A product being entered is not a row
// of the list until it has been written.
class ModeloProductos : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Refrescar();

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& i, int rol) const override;
    QVariant headerData(int seccion, Qt::Orientation o, int rol) const override;

    // Descriptions of every listed row, for the first-letters search.
    QStringList Descripciones() const;

private:
    QList<int> columnas_;
};
