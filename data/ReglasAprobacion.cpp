#include "ReglasAprobacion.h"

#include "Conexiones.h"
#include "Reloj.h"

namespace {

const QString kAjeno = QStringLiteral("autorizante_ajeno");
const QString kLimite = QStringLiteral("limite_por_moneda");
const QString kReautorizar = QStringLiteral("reautorizar_al_editar");
const QString kJustificar = QStringLiteral("justificar_cotizacion");

bool Escribir(const QString& nombre, bool activa) {
    Recordset rs;
    return AbrirRecordset(QStringLiteral("DELETE FROM reglas WHERE ReglaNombre=?"), rs, {nombre}) &&
           AbrirRecordset(
               QStringLiteral("INSERT INTO reglas (ReglaNombre, ReglaActiva) VALUES (?, ?)"), rs,
               {nombre, activa ? 1 : 0});
}

} // namespace

ReglasAprobacion ReglasAprobacion::Leer() {
    ReglasAprobacion r;
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("SELECT ReglaNombre FROM reglas WHERE ReglaActiva=1"), rs))
        return r;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const QString nombre = rs.Texto(QStringLiteral("ReglaNombre"));
        r.autorizanteAjeno |= nombre.compare(kAjeno, Qt::CaseInsensitive) == 0;
        r.limitePorMoneda |= nombre.compare(kLimite, Qt::CaseInsensitive) == 0;
        r.reautorizarAlEditar |= nombre.compare(kReautorizar, Qt::CaseInsensitive) == 0;
        r.justificarCotizacion |= nombre.compare(kJustificar, Qt::CaseInsensitive) == 0;
    }
    return r;
}

bool ReglasAprobacion::Guardar(const ReglasAprobacion& reglas) {
    Transaccion t;
    return t.Activa() && Escribir(kAjeno, reglas.autorizanteAjeno) &&
           Escribir(kLimite, reglas.limitePorMoneda) &&
           Escribir(kReautorizar, reglas.reautorizarAlEditar) &&
           Escribir(kJustificar, reglas.justificarCotizacion) && t.Confirmar();
}

LimitesAutorizacion LeerLimites(int usuId) {
    LimitesAutorizacion r;
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("SELECT LimMoneda, LimImporte FROM limitesautorizacion "
                                       "WHERE UsuId=?"),
                        rs, {usuId}))
        return r;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        r.insert(rs.Texto(QStringLiteral("LimMoneda")),
                 rs.Campo(QStringLiteral("LimImporte")).toDouble());
    return r;
}

bool EscribirLimites(int usuId, const LimitesAutorizacion& limites) {
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("DELETE FROM limitesautorizacion WHERE UsuId=?"), rs,
                        {usuId}))
        return false;
    for (auto it = limites.cbegin(); it != limites.cend(); ++it)
        if (!AbrirRecordset(QStringLiteral("INSERT INTO limitesautorizacion (UsuId, LimMoneda, "
                                           "LimImporte) VALUES (?, ?, ?)"),
                            rs, {usuId, it.key(), it.value()}))
            return false;
    return true;
}

double LimiteAutorizacion(int usuId, const QString& moneda) {
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("SELECT LimImporte FROM limitesautorizacion WHERE "
                                       "UsuId=? AND LimMoneda=?"),
                        rs, {usuId, moneda.trimmed()}) ||
        rs.RecordCount() == 0)
        return -1;
    return rs.Campo(0).toDouble();
}

QStringList MonedasConocidas() {
    QStringList r;
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("SELECT DISTINCT PreMoneda AS Moneda FROM precios WHERE "
                                       "PreMoneda<>'' UNION SELECT LimMoneda FROM "
                                       "limitesautorizacion ORDER BY 1"),
                        rs))
        return r;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        r << rs.Campo(0).toString();
    return r;
}

bool AbrirAutorizantes(Recordset& rs, const FiltroAutorizantes& filtro) {
    QString sql = QStringLiteral("select UsuId,UsuNombre from usuarios where UsuPuedeAutorizar=1 "
                                 "and UsuDesactivado=0");
    QVariantList valores;
    if (!filtro.loginIngreso.isEmpty()) {
        sql += QStringLiteral(" and coalesce(UsuLogin,'')<>?");
        valores << filtro.loginIngreso.trimmed();
    }
    if (filtro.solicitanteId > 0) {
        sql += QStringLiteral(" and UsuId<>?");
        valores << filtro.solicitanteId;
    }
    if (filtro.importe >= 0) {
        sql += QStringLiteral(" and not exists (select 1 from limitesautorizacion l where "
                              "l.UsuId=usuarios.UsuId and l.LimMoneda=? and l.LimImporte<?)");
        valores << filtro.moneda.trimmed() << filtro.importe;
    }
    sql += QStringLiteral(" order by UsuNombre ASC");
    return AbrirRecordset(sql, rs, valores);
}

QString LoginDeUsuario(int usuId) {
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("select UsuLogin from usuarios where UsuId=?"), rs,
                        {usuId}) ||
        rs.RecordCount() == 0)
        return QString();
    return rs.Texto(QStringLiteral("UsuLogin"));
}

bool AnotarReglas(const QString& login, int ordId, const QList<NotaRegla>& notas) {
    if (notas.isEmpty())
        return true;
    Transaccion t;
    Recordset rs;
    if (!t.Activa())
        return false;
    for (const NotaRegla& n : notas)
        if (!AbrirRecordset(QStringLiteral("INSERT INTO historial (HisFecha, HisLogin, HisTipo, "
                                           "HisTabla, HisClave, HisOrdId, HisCampo, HisNuevo) "
                                           "VALUES (?, ?, 'Regla', 'ordenes', ?, ?, ?, ?)"),
                            rs, {Reloj::Ahora(), login, ordId, ordId, n.regla, n.texto}))
            return false;
    return t.Confirmar();
}
