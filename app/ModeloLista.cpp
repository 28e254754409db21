#include "ModeloLista.h"

#include "Formato.h"
#include "RecordsetEditable.h"
#include "Tabla.h"

ModeloLista::ModeloLista(QList<ColumnaLista> columnas, QObject* padre)
    : QAbstractTableModel(padre), columnas_(std::move(columnas)) {}

void ModeloLista::Asignar(const Recordset* rs) {
    Asignar(rs, {});
}

void ModeloLista::Asignar(const Recordset* rs, const std::function<void()>& tambien) {
    beginResetModel();
    rs_ = rs && rs->Abierto() ? rs : nullptr;
    indices_.clear();
    for (const ColumnaLista& c : columnas_)
        indices_ << (rs_ ? rs_->IndiceCampo(c.campo) : -1);
    if (tambien)
        tambien();
    endResetModel();
}

void ModeloLista::Asignar(const RecordsetEditable& rs) {
    Asignar(&rs.Guardadas(), {});
}

int ModeloLista::Filas() const {
    return rs_ ? rs_->RecordCount() : 0;
}

QVariant ModeloLista::Valor(int fila, int columna) const {
    const int i = indices_.value(columna, -1);
    if (i < 0 || !rs_)
        return {};
    return rs_->Valor(fila, i);
}

QStringList ModeloLista::Textos(int columna) const {
    QStringList r;
    for (int f = 0; f < Filas(); ++f) {
        const QVariant v = Valor(f, columna);
        r << (v.isNull() ? QString() : v.toString());
    }
    return r;
}

int ModeloLista::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : Filas();
}

int ModeloLista::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : static_cast<int>(columnas_.size());
}

QVariant ModeloLista::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid())
        return {};
    const QVariant v = Valor(indice.row(), indice.column());
    const bool siNo = columnas_[indice.column()].siNo;
    if (rol == kRolValorExportado && !siNo)
        return v.isValid() ? v : QVariant(QString());
    if (rol == Qt::DisplayRole || rol == Qt::AccessibleTextRole || rol == kRolValorExportado) {
        if (siNo)
            return v.isValid() && !v.isNull() && v.toInt() != 0 ? QStringLiteral("Si")
                                                                : QStringLiteral("No");
        return Formato::Valor(v);
    }
    if (rol == Qt::TextAlignmentRole && !siNo) {
        const int tipo = v.typeId();
        if (tipo == QMetaType::Int || tipo == QMetaType::LongLong || tipo == QMetaType::Double)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant ModeloLista::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion == Qt::Horizontal && rol == Qt::DisplayRole)
        return columnas_.value(seccion).titulo;
    return QAbstractTableModel::headerData(seccion, orientacion, rol);
}
