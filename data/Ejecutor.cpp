#include "Ejecutor.h"

#include "Mensajes.h"
#include "Motor.h"

QSqlDatabase gConexion;

QSqlDatabase& Conexion() {
    return gConexion;
}

void ReportarErrores(const QList<ErrorBD>& errores) {
    for (const ErrorBD& e : errores)
        Mensajes::MsgBox(QStringLiteral("Error número: ") + QString::number(e.numero) +
                         QLatin1Char('\r') + e.descripcion);
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
