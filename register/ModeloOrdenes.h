#pragma once

#include "ModeloLista.h"

#include <QDate>
#include <QVector>
#include <functional>

// The order list: the program's list model over the view's rows (so a list of a hundred
// thousand orders fills about as fast as the query runs), with a check box per order and what
// the colours say: authorised orders, and pending orders past the warning days.
class ModeloOrdenes : public ModeloLista {
    Q_OBJECT
public:
    enum Columna { Marca, Fecha, Cantidad, Medida, Descripcion, Importe, Sector, CentroDeCosto };
    static constexpr int kColumnas = 8;

    explicit ModeloOrdenes(QObject* parent = nullptr);

    // Forgets the rows; must be called before the record set they come from is closed.
    void Vaciar();
    // Takes the rows of an open record set, which must stay open and unchanged until the next
    // Vaciar. `vencidas` marks the date of orders older than avisoDias day boundaries before
    // `hoy`. `avance` is told of every row read.
    void Cargar(const Recordset* rs, bool vencidas, int avisoDias, const QDate& hoy,
                const std::function<void(int)>& avance = {});

    // The view's column a list column shows; empty for the check-box column.
    static QString CampoDe(int columna);

    int Id(int fila) const { return filas_[fila].id; }
    QString Clave(int fila) const;
    bool Marcada(int fila) const { return filas_[fila].marcada; }
    void Marcar(int fila, bool marcada);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    struct Fila {
        int id = 0;
        bool autorizada = false;
        bool vencida = false;
        int diasVencida = 0; // days past the warning days
        bool marcada = false;
    };

    QString Texto(int fila, int columna) const;
    // What the colours say, in words: for screen readers and as the cell's tooltip.
    static QString Leyenda(const Fila& f, int columna);

    QVector<Fila> filas_;
};
