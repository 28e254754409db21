#include "Ejecutor.h"

#include "Mensajes.h"
#include "Motor.h"

QSqlDatabase gConexion;

QSqlDatabase& Conexion() {
    // A connection lost between two operations is opened again for the next one; never inside a
    // transaction, whose work went with the old one and must fail whole. Should the server still
    // be away, the operation fails with that as its error.
    if (Motor::Perdida(gConexion) && !Motor::EscrituraAbierta(gConexion)) {
        ErrorBD error;
        static_cast<void>(Motor::Reabrir(gConexion, kEsperaOcupadoMs, &error));
    }
    return gConexion;
}

void ReportarErrores(const QList<ErrorBD>& errores, bool guardando) {
    guardando = guardando || Motor::EscrituraAbierta(gConexion);
    const bool servidor = Motor::EsServidor(gConexion);
    for (const ErrorBD& e : errores) {
        if (e.conexionPerdida && servidor)
            Mensajes::MsgBox(guardando ? QStringLiteral("Se perdió la conexión con el servidor. "
                                                        "No se guardó nada; vuelva a intentar.")
                                       : QStringLiteral("Se perdió la conexión con el servidor; "
                                                        "vuelva a intentar."),
                             Mensajes::Botones::OK, Mensajes::Icono::Exclamacion,
                             QStringLiteral("Atención"), e.descripcion);
        else if (e.conexionPerdida)
            Mensajes::MsgBox(
                QStringLiteral("No se encuentra el archivo de la base de datos: se movió o se "
                               "borró.") +
                    (guardando ? QStringLiteral(" No se guardó nada; vuelva a intentar cuando "
                                                "esté de nuevo en su lugar.")
                               : QStringLiteral(" Vuelva a intentar cuando esté de nuevo en su "
                                                "lugar.")),
                Mensajes::Botones::OK, Mensajes::Icono::Exclamacion, QStringLiteral("Atención"),
                e.descripcion);
        else
            Mensajes::MsgBox(QStringLiteral("Error número: ") + QString::number(e.numero) +
                             QLatin1Char('\r') + e.descripcion);
    }
}

Recordset Instantanea(const QString& sql, FilasLeidas&& filas) {
    Recordset rs;
    if (filas.hay)
        rs.Abrir(sql, std::move(filas.columnas), std::move(filas.filas));
    return rs;
}

bool AbrirRecordsetEn(const QSqlDatabase& db, const QString& sql, Recordset& rs,
                      const QVariantList& valores) {
    rs = Recordset();
    ErrorBD error;
    FilasLeidas filas;
    if (!Motor::Ejecutar(db, sql, valores, &filas, false, &error)) {
        ReportarErrores({error});
        return false;
    }
    rs = Instantanea(sql, std::move(filas));
    return true;
}

bool InsertarEn(const QSqlDatabase& db, const QString& sql, const QString& columnaClave,
                const QVariantList& valores, QVariant* clave) {
    ErrorBD error;
    if (Motor::Insertar(db, sql, columnaClave, valores, clave, &error))
        return true;
    ReportarErrores({error});
    return false;
}

bool PrepararConexion(QSqlDatabase& db) {
    return Motor::Preparar(db, kEsperaOcupadoMs);
}

void CerrarBase(QSqlDatabase& db) {
    Motor::Cerrar(db);
}
