#include "EscrituraHistorial.h"

#include "Motor.h"

#include <sqlite3.h>

namespace Motor {
namespace {

const QString& Columnas() {
    static const QString c = QStringLiteral("HisCambio, HisFecha, HisLogin, HisTipo, HisTabla, "
                                            "HisClave, HisOrdId, HisCampo, HisAnterior, HisNuevo");
    return c;
}

// The rows of values of the lines after the first of `cuantas`: `primera`, then `fila` for each.
QString Filas(const QString& primera, const QString& fila, qsizetype cuantas) {
    QStringList filas{primera};
    for (qsizetype i = 2; i < cuantas; ++i)
        filas << fila;
    return filas.join(QStringLiteral(", "));
}

// On the server every statement is a round trip, so the whole change goes in one, and that one
// with the COMMIT. With several lines, the first is inserted in a WITH whose key the others
// take; they are inserted only once that row is read, so their keys come after its own and the
// change keeps its order.
bool EnServidor(const QSqlDatabase& db, const QList<QVariantList>& lineas, ErrorBD* error) {
    const QString primera = QStringLiteral("INSERT INTO historial (%1) VALUES "
                                           "(NULL, ahora(), ?, ?, ?, ?, ?, ?, ?, ?)")
                                .arg(Columnas());
    // The first row of values fixes the types of the list; the server would take text for all.
    const QString tipada =
        QStringLiteral("(CAST(? AS TEXT), CAST(? AS TEXT), CAST(? AS TEXT), CAST(? AS INTEGER), "
                       "CAST(? AS INTEGER), CAST(? AS TEXT), CAST(? AS TEXT), CAST(? AS TEXT))");
    const QString sql =
        lineas.size() == 1
            ? primera
            : QStringLiteral("WITH primera AS (%1 RETURNING HisId) INSERT INTO historial (%2) "
                             "SELECT primera.HisId, ahora(), v.* FROM primera CROSS JOIN "
                             "(VALUES %3) AS v")
                  .arg(primera, Columnas(),
                       Filas(tipada, QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?)"), lineas.size()));
    QVariantList valores;
    for (const QVariantList& l : lineas)
        valores << l;
    return EscribirAlConfirmar(db, {sql, valores}, error);
}

// On the file, the first line alone, for the number that ties the others to it, and the others
// in one statement, since a new order has a line for every field and quote.
bool EnArchivo(const QSqlDatabase& db, const QList<QVariantList>& lineas, ErrorBD* error) {
    const QString insertar = QStringLiteral("INSERT INTO historial (%1) VALUES ").arg(Columnas());
    const QString fila = QStringLiteral("(?, ahora(), ?, ?, ?, ?, ?, ?, ?, ?)");
    QVariant cambio;
    if (!Insertar(db, insertar + fila, QStringLiteral("HisId"),
                  QVariantList{QVariant()} + lineas.first(), &cambio, error))
        return false;
    if (cambio.toLongLong() <= 0) {
        *error = {SQLITE_ERROR, QStringLiteral("El historial no dio el número del cambio.")};
        return false;
    }
    if (lineas.size() == 1)
        return true;
    QVariantList valores;
    for (qsizetype i = 1; i < lineas.size(); ++i)
        valores << cambio << lineas[i];
    FilasLeidas filas;
    return Ejecutar(db, insertar + Filas(fila, fila, lineas.size()), valores, &filas, false, error);
}

} // namespace

bool EscribirCambio(const QSqlDatabase& db, const QList<QVariantList>& lineas, ErrorBD* error) {
    if (lineas.isEmpty())
        return true;
    return EsServidor(db) ? EnServidor(db, lineas, error) : EnArchivo(db, lineas, error);
}

} // namespace Motor
