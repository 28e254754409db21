#include "ModeloProductos.h"

#include "Formato.h"
#include "Tabla.h"
#include "dteQuimbel.h"

namespace {

RecordsetEditable& Rs() {
    return dteQuimbel::Instancia().rsCProductos();
}

} // namespace

void ModeloProductos::Refrescar() {
    beginResetModel();
    columnas_.clear();
    for (const char* c : {"ProDescripcion", "ProPrecio", "ProCosto", "ProMinimo", "ProDesactivado"})
        columnas_ << Rs().IndiceCampo(QLatin1String(c));
    endResetModel();
}

int ModeloProductos::rowCount(const QModelIndex& padre) const {
    if (padre.isValid())
        return 0;
    const RecordsetEditable& rs = Rs();
    return rs.RecordCount() - (rs.EsNuevo() ? 1 : 0);
}

int ModeloProductos::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : 5;
}

QVariant ModeloProductos::data(const QModelIndex& i, int rol) const {
    if (!i.isValid() || i.row() >= rowCount())
        return {};
    if (rol == Qt::TextAlignmentRole && i.column() >= 1 && i.column() <= 3)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (rol != Qt::DisplayRole && rol != kRolValorExportado)
        return {};
    const int c = columnas_.value(i.column(), -1);
    if (c < 0)
        return {};
    // What is stored: a change being saved is not shown until the database has taken it.
    const QVariant v = Rs().FilaGuardada(i.row()).value(c);
    if (i.column() == 4)
        return v.toBool() ? QStringLiteral("Si") : QStringLiteral("No");
    if (rol == kRolValorExportado)
        return v.isValid() ? v : QVariant(QString());
    return Formato::Valor(v);
}

QVariant ModeloProductos::headerData(int seccion, Qt::Orientation o, int rol) const {
    if (o != Qt::Horizontal || rol != Qt::DisplayRole)
        return QAbstractTableModel::headerData(seccion, o, rol);
    static const char* const titulos[] = {"Descripción", "Precio", "Costo", "Mínimo",
                                          "Desactivado"};
    return seccion >= 0 && seccion < 5 ? QString::fromUtf8(titulos[seccion]) : QVariant();
}

QStringList ModeloProductos::Descripciones() const {
    QStringList r;
    const int c = columnas_.value(0, -1);
    for (int f = 0; f < rowCount(); ++f) {
        const QVariant v = Rs().FilaGuardada(f).value(c);
        r << (v.isNull() ? QString() : v.toString());
    }
    return r;
}
