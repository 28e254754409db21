#include "Formato.h"

#include <QDateTime>
#include <QLocale>
#include <cmath>

namespace Formato {

QString Numero(double valor) {
    if (!std::isfinite(valor))
        return QString::number(valor);
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    // A whole number reads the same either way, and most quantities and many prices are one:
    // the general conversion of a double is the slow part of a long list or a history line.
    if (std::fabs(valor) < 1e15 && valor == std::trunc(valor))
        return loc.toString(static_cast<qlonglong>(valor));
    QString s = loc.toString(valor, 'g', 15);
    // 'g' switches to exponent notation for large values; the plain form keeps digits.
    if (s.contains(QLatin1Char('e'), Qt::CaseInsensitive) && std::fabs(valor) >= 1 &&
        std::fabs(valor) < 1e15)
        s = loc.toString(valor, 'f', 0);
    return s;
}

QString FechaCorta(const QDateTime& momento) {
    if (!momento.isValid())
        return {};
    QLocale loc;
    const QString fecha = loc.toString(momento.date(), QLocale::ShortFormat);
    if (momento.time() == QTime(0, 0))
        return fecha;
    return fecha + QLatin1Char(' ') + loc.toString(momento.time(), QStringLiteral("HH:mm:ss"));
}

QString Valor(const QVariant& valor) {
    if (!valor.isValid() || valor.isNull())
        return {};
    switch (valor.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return Numero(valor.toDouble());
    case QMetaType::QDateTime:
        return FechaCorta(valor.toDateTime());
    case QMetaType::QDate:
        return FechaCorta(valor.toDate().startOfDay());
    case QMetaType::Bool:
        return valor.toBool() ? QStringLiteral("Verdadero") : QStringLiteral("Falso");
    default:
        return valor.toString();
    }
}

bool LeerNumero(const QString& texto, double* valor) {
    const QString t = texto.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    double v = QLocale().toDouble(t, &ok);
    if (!ok)
        v = QLocale::c().toDouble(t, &ok);
    // "nan" and "inf" convert, but no price or quantity can be stored or compared as one.
    ok = ok && std::isfinite(v);
    if (ok && valor)
        *valor = v;
    return ok;
}

} // namespace Formato
