#include "Tabla.h"

#include <QAbstractItemModel>

Tabla TablaDeModelo(const QAbstractItemModel& modelo, const QString& nombre) {
    Tabla t;
    t.nombre = nombre;
    const int columnas = modelo.columnCount();
    for (int c = 0; c < columnas; ++c)
        t.encabezados << modelo.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    const int filas = modelo.rowCount();
    t.filas.reserve(filas);
    for (int f = 0; f < filas; ++f) {
        QVector<QVariant> fila(columnas);
        for (int c = 0; c < columnas; ++c) {
            const QModelIndex i = modelo.index(f, c);
            QVariant v = modelo.data(i, kRolValorExportado);
            fila[c] = v.isValid() ? v : modelo.data(i, Qt::DisplayRole);
        }
        t.filas << fila;
    }
    return t;
}
