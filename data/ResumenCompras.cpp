#include "ResumenCompras.h"

#include "Conexiones.h"
#include "EstadosOrden.h"

#include <QHash>
#include <algorithm>
#include <numeric>

namespace ResumenCompras {
namespace {

using EstadosOrden::kAnulada;
using EstadosOrden::kPendiente;

// The database compares currencies without regard to case; so do the sums made here.
QString Clave(const QString& moneda) {
    return moneda.trimmed().toCaseFolded();
}

QString Nombre(const QVariant& v) {
    const QString s = v.isValid() && !v.isNull() ? v.toString().trimmed() : QString();
    return s.isEmpty() ? SinNombre() : s;
}

// The spending of [desde, hasta) per group column and currency.
bool LeerTotales(const QString& columna, const QDate& desde, const QDate& hasta,
                 QList<Total>* resultado) {
    resultado->clear();
    if (desde > hasta)
        return true;
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("select ") + columna +
                            QStringLiteral(" as Grupo, PreMoneda, sum(PrePrecio) as Total "
                                           "from v_ordenes_preciosaceptados "
                                           "where PrePrecio is not null and OrdEstado <> ? "
                                           "and OrdFecha >= ? and OrdFecha < ? "
                                           "group by ") +
                            columna + QStringLiteral(", PreMoneda"),
                        rs, {kAnulada, desde.startOfDay(), hasta.addDays(1).startOfDay()}))
        return false;
    // Groups told apart only by letter case or blanks are one group, as the database sees them.
    QHash<QString, int> posicion;
    for (int i = 0; i < rs.RecordCount(); ++i) {
        const QVector<QVariant>& r = rs.Fila(i);
        const QString grupo = Nombre(r[0]);
        const QString moneda = Nombre(r[1]);
        const QString clave = Clave(grupo) + QChar(0) + Clave(moneda);
        auto it = posicion.find(clave);
        if (it == posicion.end()) {
            it = posicion.insert(clave, static_cast<int>(resultado->size()));
            resultado->append({grupo, moneda, 0});
        }
        (*resultado)[*it].importe += r[2].toDouble();
    }
    std::stable_sort(resultado->begin(), resultado->end(),
                     [](const Total& a, const Total& b) { return a.importe > b.importe; });
    return true;
}

} // namespace

QString SinNombre() {
    return QStringLiteral("(sin dato)");
}

bool LeerComprasPorMes(const QDate& hoy, int meses, ComprasPorMes* resultado) {
    *resultado = {};
    const QDate primero = QDate(hoy.year(), hoy.month(), 1).addMonths(1 - meses);
    for (int m = 0; m < meses; ++m)
        resultado->meses << primero.addMonths(m);
    // Months are counted here from each order's date: engines name their date functions
    // differently, and a date compared with a date is what they all share.
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("select OrdFecha, PreMoneda, PrePrecio "
                                       "from v_ordenes_preciosaceptados "
                                       "where PrePrecio is not null and OrdEstado <> ? "
                                       "and OrdFecha >= ? and OrdFecha < ?"),
                        rs,
                        {kAnulada, primero.startOfDay(), primero.addMonths(meses).startOfDay()}))
        return false;
    QHash<QString, int> serie;
    QVector<double> sumas;
    for (int i = 0; i < rs.RecordCount(); ++i) {
        const QVector<QVariant>& r = rs.Fila(i);
        const QDate fecha = r[0].toDateTime().date();
        const int mes = (fecha.year() - primero.year()) * 12 + fecha.month() - primero.month();
        if (!fecha.isValid() || mes < 0 || mes >= meses)
            continue;
        const QString moneda = Nombre(r[1]);
        auto it = serie.find(Clave(moneda));
        if (it == serie.end()) {
            it = serie.insert(Clave(moneda), static_cast<int>(resultado->monedas.size()));
            resultado->monedas << moneda;
            resultado->totales << QVector<double>(meses, 0.0);
            sumas << 0;
        }
        resultado->totales[*it][mes] += r[2].toDouble();
        sumas[*it] += r[2].toDouble();
    }
    // Largest currency first, so that it gets the first colour and the left-hand axis.
    QVector<int> orden(resultado->monedas.size());
    std::iota(orden.begin(), orden.end(), 0);
    std::stable_sort(orden.begin(), orden.end(), [&](int a, int b) { return sumas[a] > sumas[b]; });
    ComprasPorMes ordenado{resultado->meses, {}, {}};
    for (int i : orden) {
        ordenado.monedas << resultado->monedas[i];
        ordenado.totales << resultado->totales[i];
    }
    *resultado = ordenado;
    return true;
}

bool LeerTotalesPorSector(const QDate& desde, const QDate& hasta, QList<Total>* resultado) {
    return LeerTotales(QStringLiteral("SecDescripcion"), desde, hasta, resultado);
}

bool LeerTotalesPorCentroDeCosto(const QDate& desde, const QDate& hasta, QList<Total>* resultado) {
    return LeerTotales(QStringLiteral("CenCosDescripcion"), desde, hasta, resultado);
}

bool LeerOrdenesPorEstado(QList<Cantidad>* resultado) {
    resultado->clear();
    for (const QString& estado : EstadosOrden::Todos())
        resultado->append({estado, 0});
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("select OrdEstado, count(*) as Cantidad from ordenes "
                                       "group by OrdEstado"),
                        rs))
        return false;
    for (int i = 0; i < rs.RecordCount(); ++i) {
        const QString estado = Nombre(rs.Fila(i)[0]);
        const int n = rs.Fila(i)[1].toInt();
        auto it = std::find_if(resultado->begin(), resultado->end(),
                               [&](const Cantidad& c) { return Clave(c.nombre) == Clave(estado); });
        if (it != resultado->end())
            it->cantidad += n;
        else
            resultado->append({estado, n});
    }
    return true;
}

bool LeerPendientesVencidas(const QDate& hoy, int avisoDias, QList<Cantidad>* resultado) {
    resultado->clear();
    // More than avisoDias day boundaries before today means dated before the start of the day
    // avisoDias days ago.
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("select SecDescripcion, count(*) as Cantidad "
                                       "from v_ordenes_preciosaceptados "
                                       "where OrdEstado = ? and OrdFecha < ? "
                                       "group by SecDescripcion"),
                        rs, {kPendiente, hoy.addDays(-avisoDias).startOfDay()}))
        return false;
    for (int i = 0; i < rs.RecordCount(); ++i)
        resultado->append({Nombre(rs.Fila(i)[0]), rs.Fila(i)[1].toInt()});
    std::stable_sort(resultado->begin(), resultado->end(),
                     [](const Cantidad& a, const Cantidad& b) { return a.cantidad > b.cantidad; });
    return true;
}

} // namespace ResumenCompras
