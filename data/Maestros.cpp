#include "Maestros.h"

#include "Conexiones.h"

namespace Maestros {

bool Insertar(const QString& comando, const QVariantList& valores, QVariant* id) {
    Recordset rs;
    if (!EjecutarComando(comando, rs, valores))
        return false;
    if (!id)
        return true;
    *id = QVariant();
    Recordset ultimo;
    if (AbrirRecordset(QStringLiteral("SELECT last_insert_rowid()"), ultimo) &&
        ultimo.RecordCount() > 0)
        *id = ultimo.Campo(0);
    CerrarRecordset(ultimo, true);
    return true;
}

bool Actualizar(const QString& comando, const QVariantList& valores) {
    Recordset rs;
    return EjecutarComando(comando, rs, valores);
}

bool EliminarCategoriasDesactivadas() {
    Recordset rs;
    // A product without a category must not make NOT IN unknown for every row (and purge nothing).
    const bool ok = AbrirRecordset(
        QStringLiteral("DELETE FROM CATEGORIAS WHERE CatDesactivada=True AND CatId NOT "
                       "IN (SELECT CatId FROM PRODUCTOS WHERE CatId IS NOT NULL)"),
        rs);
    CerrarRecordset(rs, true);
    return ok;
}

} // namespace Maestros
