#include "ModeloOrdenes.h"

#include "Formato.h"
#include "Recordset.h"

#include <QColor>
#include <QFont>

namespace {

const char* const kCampos[ModeloOrdenes::kColumnas] = {
    nullptr,          "OrdFecha",  "OrdCantidad",    "OrdUnidadMedida",
    "ProDescripcion", "PrePrecio", "SecDescripcion", "CenCosDescripcion"};

const char* const kTitulos[ModeloOrdenes::kColumnas] = {
    "", "Fecha", "Cant.", "Medida", "Descripción", "Importe", "Sector", "Centro de Costo"};

bool AlaDerecha(int columna) {
    return columna == ModeloOrdenes::Cantidad || columna == ModeloOrdenes::Importe;
}

QList<ColumnaLista> ColumnasDeOrdenes() {
    QList<ColumnaLista> c;
    for (int i = 0; i < ModeloOrdenes::kColumnas; ++i)
        c.append({QString::fromUtf8(kTitulos[i]), ModeloOrdenes::CampoDe(i)});
    return c;
}

} // namespace

ModeloOrdenes::ModeloOrdenes(QObject* parent) : ModeloLista(ColumnasDeOrdenes(), parent) {}

void ModeloOrdenes::Vaciar() {
    Asignar(nullptr, [this] { filas_.clear(); });
}

void ModeloOrdenes::Cargar(const Recordset* rs, bool vencidas, int avisoDias, const QDate& hoy,
                           const std::function<void(int)>& avance) {
    QVector<Fila> filas;
    const int n = rs ? rs->RecordCount() : 0;
    if (n > 0) {
        const int cId = rs->IndiceCampo(QStringLiteral("OrdId"));
        const int cAutorizante = rs->IndiceCampo(QStringLiteral("AutorizanteId"));
        const int cFecha = rs->IndiceCampo(CampoDe(Fecha));
        filas.resize(n);
        for (int i = 0; i < n; ++i) {
            Fila& f = filas[i];
            f.id = cId >= 0 ? rs->Valor(i, cId).toInt() : 0;
            f.autorizada = cAutorizante >= 0 && rs->Valor(i, cAutorizante).toInt() > 0;
            if (vencidas && cFecha >= 0) {
                const QDateTime fecha = rs->Valor(i, cFecha).toDateTime();
                f.diasVencida = fecha.isValid() ? fecha.date().daysTo(hoy) - avisoDias : 0;
                f.vencida = f.diasVencida > 0;
            }
            if (avance)
                avance(i + 1);
        }
    }
    Asignar(n > 0 ? rs : nullptr, [&] { filas_ = std::move(filas); });
}

QString ModeloOrdenes::CampoDe(int columna) {
    return columna > Marca && columna < kColumnas ? QString::fromLatin1(kCampos[columna])
                                                  : QString();
}

QString ModeloOrdenes::Clave(int fila) const {
    return QLatin1Char('A') + QString::number(filas_[fila].id);
}

void ModeloOrdenes::Marcar(int fila, bool marcada) {
    if (filas_[fila].marcada == marcada)
        return;
    filas_[fila].marcada = marcada;
    const QModelIndex i = index(fila, Marca);
    emit dataChanged(i, i, {Qt::CheckStateRole});
}

QString ModeloOrdenes::Texto(int fila, int columna) const {
    if (Indice(columna) < 0)
        return {};
    const QVariant v = Valor(fila, columna);
    if (columna == Importe && (!v.isValid() || v.isNull()))
        return Formato::Numero(0); // no accepted quote
    return Formato::Valor(v);
}

QString ModeloOrdenes::Leyenda(const Fila& f, int columna) {
    if (columna == Marca)
        return {};
    const bool vencida = columna == Fecha && f.vencida;
    const QString dias =
        f.diasVencida == 1 ? QStringLiteral("1 día") : QStringLiteral("%1 días").arg(f.diasVencida);
    if (f.autorizada && vencida)
        return QStringLiteral("Autorizada, vencida hace ") + dias;
    if (vencida)
        return QStringLiteral("Vencida hace ") + dias;
    return f.autorizada ? QStringLiteral("Autorizada") : QString();
}

QVariant ModeloOrdenes::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= filas_.size())
        return {};
    const Fila& f = filas_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return Texto(index.row(), index.column());
    case Qt::CheckStateRole:
        if (index.column() == Marca)
            return f.marcada ? Qt::Checked : Qt::Unchecked;
        break;
    case Qt::ForegroundRole:
        if (index.column() == Fecha && f.vencida)
            return QColor(255, 0, 0);
        if (index.column() != Marca && f.autorizada)
            return QColor(0, 0, 255);
        break;
    case Qt::AccessibleDescriptionRole:
    case Qt::ToolTipRole: {
        const QString d = Leyenda(f, index.column());
        return d.isEmpty() ? QVariant() : QVariant(d);
    }
    case Qt::FontRole: {
        // Shapes repeat what the colours say, for those who cannot tell blue or red from black:
        // an authorised order in italics, an overdue date in bold.
        const bool vencida = index.column() == Fecha && f.vencida;
        if (index.column() == Marca || !(f.autorizada || vencida))
            break;
        QFont fuente;
        fuente.setItalic(f.autorizada);
        fuente.setBold(vencida);
        return fuente;
    }
    case Qt::TextAlignmentRole:
        return AlaDerecha(index.column()) ? int(Qt::AlignRight | Qt::AlignVCenter)
                                          : int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        break;
    }
    return {};
}

QVariant ModeloOrdenes::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnas)
        return {};
    if (role == Qt::DisplayRole)
        return ModeloLista::headerData(section, orientation, role);
    if (role == Qt::TextAlignmentRole)
        return AlaDerecha(section) ? int(Qt::AlignRight | Qt::AlignVCenter)
                                   : int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ModeloOrdenes::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == Marca)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool ModeloOrdenes::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != Marca || role != Qt::CheckStateRole)
        return false;
    Marcar(index.row(), value.toInt() == Qt::Checked);
    return true;
}
