#include "EscrituraHistorial.h"

#include "CadenaHistorial.h"
#include "Fechas.h"
#include "Motor.h"
#include "Reloj.h"

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
    QVariantList valores;
    for (const QVariantList& l : lineas)
        valores << l;
    // A protected server writes the lines itself, with the caller's own login.
    if (Protegida(db)) {
        const QStringList marcas(valores.size(), QStringLiteral("?"));
        return EscribirAlConfirmar(
            db,
            {QStringLiteral("SELECT quimbel_historial(VARIADIC ARRAY[%1]::text[])")
                 .arg(marcas.join(QLatin1Char(','))),
             valores},
            error);
    }
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
    return EscribirAlConfirmar(db, {sql, valores}, error);
}

// A value as the file keeps it and as the chain reads it back: whole numbers in decimal, text
// as UTF-8; a null value is NULL.
CadenaHistorial::Campo Texto(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    if (v.typeId() == QMetaType::Bool)
        return QByteArray(v.toBool() ? "1" : "0");
    return v.toString().toUtf8();
}

// On the file the program gives each line its key, its moment and its hash, after the last line
// there: the write lock of the caller's transaction keeps anyone from writing in between. Then
// all the lines go in one statement, since a new order has a line for every field and quote.
bool EnArchivo(const QSqlDatabase& db, const QList<QVariantList>& lineas, ErrorBD* error) {
    FilasLeidas ultima;
    if (!Ejecutar(db,
                  QStringLiteral("SELECT (SELECT HisHuella FROM historial ORDER BY HisId DESC "
                                 "LIMIT 1), max(coalesce((SELECT max(HisId) FROM historial), 0), "
                                 "coalesce((SELECT seq FROM sqlite_sequence WHERE name = "
                                 "'historial'), 0))"),
                  {}, &ultima, false, error))
        return false;
    const QVector<QVariant> previa = ultima.filas.Fila(0);
    QByteArray huella = previa.value(0).toString().toUtf8();
    const qlonglong cambio = previa.value(1).toLongLong() + 1;
    const QString fecha = Fechas::Texto(Reloj::Ahora());
    QVariantList valores;
    for (qsizetype i = 0; i < lineas.size(); ++i) {
        QVariantList fila{cambio + i, i == 0 ? QVariant() : QVariant(cambio), fecha};
        fila << lineas[i];
        QList<CadenaHistorial::Campo> campos;
        for (const QVariant& v : fila)
            campos << Texto(v);
        huella = CadenaHistorial::Huella(huella, campos);
        valores << fila << QString::fromLatin1(huella);
    }
    const QString fila = QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    FilasLeidas filas;
    return Ejecutar(db,
                    QStringLiteral("INSERT INTO historial (HisId, %1, HisHuella) VALUES %2")
                        .arg(Columnas(), Filas(fila, fila, lineas.size() + 1)),
                    valores, &filas, false, error);
}

} // namespace

bool EscribirCambio(const QSqlDatabase& db, const QList<QVariantList>& lineas, ErrorBD* error) {
    if (lineas.isEmpty())
        return true;
    if (EsServidor(db))
        return EnServidor(db, lineas, error);
    if (EnTransaccion(db))
        return EnArchivo(db, lineas, error);
    // Alone, the reading of the last line and the insert after it are made one transaction.
    if (!Simple(db, "SAVEPOINT historial", error))
        return false;
    if (EnArchivo(db, lineas, error) && Simple(db, "RELEASE historial", error))
        return true;
    Revertir(db, "ROLLBACK TO historial");
    Revertir(db, "RELEASE historial");
    return false;
}

} // namespace Motor
