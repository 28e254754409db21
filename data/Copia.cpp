#include "Copia.h"

#include "BaseCopia.h"
#include "Esquema.h"

#include <QFileInfo>
#include <QSqlIndex>

namespace {

const QString kConexionOrigen = QStringLiteral("QUIMBEL_COPIA_ORIGEN");

using Estado = ResultadoCopia::Estado;

class Copiador {
public:
    Copiador(const QString& origen, const QString& destino, int esperaMs)
        : origen_(kConexionOrigen, origen, true, esperaMs, &r_), destino_(destino, esperaMs, &r_) {}

    ResultadoCopia Ejecutar() {
        if (Preparar() && Copiar())
            r_.estado = Estado::Hecha;
        else
            r_.filas.clear();
        return r_;
    }

private:
    bool Preparar() {
        const QString& rutaOrigen = origen_.Ruta();
        if (QFileInfo(rutaOrigen).absoluteFilePath() ==
            QFileInfo(destino_.Ruta()).absoluteFilePath())
            return origen_.Falla(
                Estado::Fallo,
                QStringLiteral("El origen y el destino son la misma base de datos."));
        if (!EsServidor(rutaOrigen) && !QFileInfo(rutaOrigen).isFile())
            return origen_.Falla(Estado::Fallo,
                                 QStringLiteral("No existe el archivo %1.").arg(origen_.Nombre()));
        return origen_.Abrir() && destino_.Preparar();
    }

    bool Copiar() {
        if (!origen_.EmpezarLectura() || !destino_.Empezar())
            return false;
        for (const QString& t : Esquema::TablasDeDatos())
            if (!CopiarTabla(t))
                return false;
        return destino_.Confirmar();
    }

    bool CopiarTabla(const QString& tabla) {
        QStringList nombres;
        QString clave;
        if (!destino_.Columnas(tabla, &nombres, &clave))
            return false;
        QSqlQuery lectura;
        if (!origen_.Sql(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                             .arg(nombres.join(QStringLiteral(", ")), tabla, clave),
                         QStringLiteral("No se pudo leer la tabla %1 del origen").arg(tabla), {},
                         &lectura) ||
            !destino_.EmpezarTabla(tabla))
            return false;
        qint64 leidas = 0;
        QVariantList fila;
        while (lectura.next()) {
            fila.clear();
            for (int c = 0; c < nombres.size(); ++c)
                fila << lectura.value(c);
            ++leidas;
            if (!destino_.Agregar(fila))
                return false;
        }
        if (lectura.lastError().isValid())
            return origen_.FallaSql(
                lectura.lastError(),
                QStringLiteral("No se pudo leer la tabla %1 del origen").arg(tabla));
        qint64 enOrigen = 0;
        qint64 siguiente = 1;
        return origen_.Contar(tabla, &enOrigen) && destino_.TerminarTabla(leidas, enOrigen) &&
               origen_.SiguienteClave(tabla, clave, &siguiente) &&
               destino_.FijarContador(tabla, clave, siguiente);
    }

    ResultadoCopia r_;
    BaseCopia origen_;
    DestinoCopia destino_;
};

} // namespace

ResultadoCopia CopiarBaseDeDatos(const QString& origen, const QString& destino, int esperaMs) {
    return Copiador(origen, destino, esperaMs).Ejecutar();
}
