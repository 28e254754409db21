#include "Versiones.h"

#include "Conexiones.h"
#include "Ejecutor.h"
#include "Motor.h"

namespace Versiones {

bool LeerParaModificar(const QString& tabla, const QString& columnaClave, int clave,
                       Historial::Registro* actual) {
    Recordset rs;
    // A person's role of a protected server may not lock rows itself; the server locks the row
    // for it, in this transaction, before it is read, so that what is read is what is written
    // over.
    if (Motor::Protegida(Conexion()) &&
        !AbrirRecordset(QStringLiteral("SELECT quimbel_reservar(?, ?)"), rs, {tabla, clave}))
        return false;
    if (!AbrirRecordset(
            Motor::ParaModificar(
                Conexion(), QStringLiteral("SELECT * FROM %1 WHERE %2=?").arg(tabla, columnaClave)),
            rs, {clave}))
        return false;
    *actual = rs.AbsolutePosition() > 0 ? Historial::Registro{rs.NombresCampos(), {}, rs.Fila(0)}
                                        : Historial::Registro{};
    CerrarRecordset(rs, true);
    return true;
}

bool Iguales(const Historial::Registro& cargado, const Historial::Registro& actual) {
    if (cargado.columnas == actual.columnas)
        return cargado.leidos == actual.leidos;
    // Read by another query (a list with more columns): the stored columns it has are compared.
    if (cargado.Vacio() != actual.Vacio())
        return false;
    for (int i = 0; i < actual.columnas.size(); ++i) {
        const int j = cargado.Indice(actual.columnas[i]);
        if (j >= 0 && cargado.leidos.value(j) != actual.leidos.value(i))
            return false;
    }
    return true;
}

bool UltimoCambio(const QString& tabla, int clave, Cambio* cambio) {
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("SELECT HisLogin, HisFecha FROM historial WHERE "
                                       "HisTabla=? AND HisClave=? ORDER BY HisId DESC"),
                        rs, {tabla, clave}) ||
        rs.AbsolutePosition() <= 0)
        return false;
    *cambio = {rs.Texto(QStringLiteral("HisLogin")).trimmed(),
               rs.Campo(QStringLiteral("HisFecha")).toDateTime()};
    CerrarRecordset(rs, true);
    return true;
}

QString Autor(const Cambio& cambio) {
    if (cambio.login.isEmpty())
        return QStringLiteral("Otro puesto");
    return QStringLiteral("%1 (%2)").arg(cambio.login,
                                         cambio.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
}

} // namespace Versiones
