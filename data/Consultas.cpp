#include "Consultas.h"

#include "Conexiones.h"

bool AbrirConsulta(const QString& sql, Recordset& rs) {
    return AbrirRecordset(sql, rs);
}
