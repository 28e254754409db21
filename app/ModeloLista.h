#pragma once

#include "Recordset.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class RecordsetEditable;

// One column of the list grid.
struct ColumnaLista {
    QString titulo;
    QString campo;
    bool siNo = false; // a flag column shown as "Si" / "No"
};

// The program's table model over a Recordset: one row per record, the configured columns, the
// values turned into text only for the cells shown. Asignar(nullptr) detaches it (it then shows
// no rows). Over a record set being edited it shows the rows as stored (its Guardadas()): a
// pending change is not shown until written, nor a new row listed. A list that says more of its
// rows (the order list's marks and colours) derives from it; a window whose records live elsewhere
// may override Filas()/Valor().
class ModeloLista : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeloLista(QList<ColumnaLista> columnas, QObject* padre = nullptr);

    void Asignar(const Recordset* rs);
    void Asignar(const RecordsetEditable& rs);
    const QList<ColumnaLista>& Columnas() const { return columnas_; }
    // What column `columna` holds in every row, NULL as empty text.
    QStringList Textos(int columna) const;

    int rowCount(const QModelIndex& padre = {}) const override;
    int columnCount(const QModelIndex& padre = {}) const override;
    QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion,
                        int rol = Qt::DisplayRole) const override;

protected:
    virtual int Filas() const;
    virtual QVariant Valor(int fila, int columna) const;
    // The record set's column a list column shows; -1 when it has none.
    int Indice(int columna) const { return indices_.value(columna, -1); }
    // As Asignar, and `tambien` runs inside the same reset: whatever a derived list keeps per
    // row changes with the rows, never apart from them.
    void Asignar(const Recordset* rs, const std::function<void()>& tambien);

private:
    QList<ColumnaLista> columnas_;
    QList<int> indices_;
    const Recordset* rs_ = nullptr;
};
