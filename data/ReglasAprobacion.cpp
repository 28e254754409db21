#include "ReglasAprobacion.h"

#include "Conexiones.h"
#include "Formato.h"

#include <QLocale>

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

bool LeerReglas(ReglasAprobacion* r) {
    *r = ReglasAprobacion();
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("SELECT ReglaNombre FROM reglas WHERE ReglaActiva=1"), rs))
        return false;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        const QString nombre = rs.Texto(QStringLiteral("ReglaNombre"));
        r->autorizanteAjeno |= nombre.compare(kAjeno, Qt::CaseInsensitive) == 0;
        r->limitePorMoneda |= nombre.compare(kLimite, Qt::CaseInsensitive) == 0;
        r->reautorizarAlEditar |= nombre.compare(kReautorizar, Qt::CaseInsensitive) == 0;
        r->justificarCotizacion |= nombre.compare(kJustificar, Qt::CaseInsensitive) == 0;
    }
    return true;
}

QString SiNo(bool v) {
    return v ? QStringLiteral("Si") : QStringLiteral("No");
}

// The rules as one row of the history: each rule by its name, switched on or not.
Historial::Registro ComoRegistro(const ReglasAprobacion& r) {
    return {{Regla::kAutorizanteAjeno, Regla::kLimite, Regla::kReautorizar, Regla::kJustificar},
            {SiNo(r.autorizanteAjeno), SiNo(r.limitePorMoneda), SiNo(r.reautorizarAlEditar),
             SiNo(r.justificarCotizacion)}};
}

bool LeerLimites(int usuId, LimitesAutorizacion* limites) {
    limites->clear();
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("SELECT LimMoneda, LimImporte FROM limitesautorizacion "
                                       "WHERE UsuId=?"),
                        rs, {usuId}))
        return false;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        limites->insert(rs.Texto(QStringLiteral("LimMoneda")),
                        rs.Campo(QStringLiteral("LimImporte")).toDouble());
    return true;
}

// A user's limits before and after a change as two rows of the history with the same columns,
// one per currency in either (a currency is the same however its letters are cased).
void LimitesComoRegistros(int usuId, const LimitesAutorizacion& antes,
                          const LimitesAutorizacion& despues, Historial::Registro* de,
                          Historial::Registro* a) {
    QMap<QString, QString> monedas; // folded -> as shown
    for (const QString& m : antes.keys())
        monedas.insert(m.trimmed().toCaseFolded(), m.trimmed());
    for (const QString& m : despues.keys())
        monedas.insert(m.trimmed().toCaseFolded(), m.trimmed());
    const auto importe = [](const LimitesAutorizacion& l, const QString& plegada) {
        for (auto it = l.cbegin(); it != l.cend(); ++it)
            if (it.key().trimmed().toCaseFolded() == plegada)
                return it.value() < 0 ? QStringLiteral("sin límite") : Formato::Numero(it.value());
        return QString();
    };
    const QString usuario = QString::number(usuId);
    *de = {{QStringLiteral("UsuId")}, {usuario}};
    *a = *de;
    for (auto it = monedas.cbegin(); it != monedas.cend(); ++it) {
        const QString columna = Regla::kLimite + QStringLiteral(" en ") + it.value();
        de->columnas << columna;
        de->valores << importe(antes, it.key());
        a->columnas << columna;
        a->valores << importe(despues, it.key());
    }
}

// A user's limits, replaced whole. A protected server checks that the caller administers.
bool ReemplazarLimites(int usuId, const LimitesAutorizacion& limites) {
    Recordset rs;
    if (BaseProtegida()) {
        QVariantList valores{usuId, QString(QLocale().decimalPoint())};
        for (auto it = limites.cbegin(); it != limites.cend(); ++it)
            valores << it.key() << it.value();
        const QStringList marcas(valores.size() - 2, QStringLiteral("?"));
        return AbrirRecordset(
            QStringLiteral("SELECT quimbel_limites(?, ?, VARIADIC ARRAY[%1]::text[])")
                .arg(marcas.join(QLatin1Char(','))),
            rs, valores);
    }
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

} // namespace

ReglasAprobacion ReglasAprobacion::Leer() {
    ReglasAprobacion r;
    LeerReglas(&r);
    return r;
}

bool ReglasAprobacion::Guardar(const ReglasAprobacion& reglas, const QString& login) {
    // A protected server writes the rules and their history itself, under the caller's login.
    if (BaseProtegida()) {
        Recordset rs;
        const auto activa = [](bool v) { return v ? QStringLiteral("1") : QStringLiteral("0"); };
        return AbrirRecordset(
            QStringLiteral("SELECT quimbel_reglas(ARRAY[?, ?, ?, ?]::text[])"), rs,
            {activa(reglas.autorizanteAjeno), activa(reglas.limitePorMoneda),
             activa(reglas.reautorizarAlEditar), activa(reglas.justificarCotizacion)});
    }
    Transaccion t;
    ReglasAprobacion antes;
    return t.Activa() && LeerReglas(&antes) && Escribir(kAjeno, reglas.autorizanteAjeno) &&
           Escribir(kLimite, reglas.limitePorMoneda) &&
           Escribir(kReautorizar, reglas.reautorizarAlEditar) &&
           Escribir(kJustificar, reglas.justificarCotizacion) &&
           Historial::RegistrarRegistro(login, QStringLiteral("reglas"), QString(),
                                        ComoRegistro(antes), ComoRegistro(reglas),
                                        Historial::kModificacion) &&
           t.Confirmar();
}

LimitesAutorizacion LeerLimites(int usuId) {
    LimitesAutorizacion r;
    LeerLimites(usuId, &r);
    return r;
}

bool EscribirLimites(const QString& login, int usuId, const LimitesAutorizacion& limites) {
    // A protected server writes the limits' history itself, with them.
    if (BaseProtegida())
        return ReemplazarLimites(usuId, limites);
    LimitesAutorizacion antes;
    if (!LeerLimites(usuId, &antes) || !ReemplazarLimites(usuId, limites))
        return false;
    Historial::Registro de, a;
    LimitesComoRegistros(usuId, antes, limites, &de, &a);
    return Historial::RegistrarRegistro(login, QStringLiteral("limitesautorizacion"),
                                        QStringLiteral("UsuId"), de, a, Historial::kModificacion);
}

std::optional<double> LimiteAutorizacion(int usuId, const QString& moneda) {
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("SELECT LimImporte FROM limitesautorizacion WHERE "
                                       "UsuId=? AND LimMoneda=?"),
                        rs, {usuId, moneda.trimmed()}) ||
        rs.RecordCount() == 0)
        return std::nullopt;
    const double limite = rs.Campo(0).toDouble();
    return limite < 0 ? kSinLimite : limite;
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
        sql += QStringLiteral(" and exists (select 1 from limitesautorizacion l where "
                              "l.UsuId=usuarios.UsuId and l.LimMoneda=? and (l.LimImporte<0 or "
                              "l.LimImporte>=?))");
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

bool AnotarRechazos(const QString& login, int ordId, const QList<Historial::Nota>& rechazos) {
    if (rechazos.isEmpty())
        return true;
    Transaccion t;
    return t.Activa() &&
           Historial::Anotar(login, QStringLiteral("ordenes"), ordId, ordId, rechazos) &&
           t.Confirmar();
}

QString MotivoPrecioAceptado(int ordId) {
    // A save writes the quotes' lines before its notes, so a reason newer than every line
    // about the quotes was given for them as they are.
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("SELECT HisNuevo FROM historial WHERE HisOrdId=? AND "
                                       "HisCampo=? AND HisId>(SELECT COALESCE(MAX(HisId),0) FROM "
                                       "historial WHERE HisOrdId=? AND HisCampo IN "
                                       "('Precio','PrecioAceptado')) ORDER BY HisId DESC"),
                        rs, {ordId, Regla::kMayorPrecio, ordId}) ||
        rs.RecordCount() == 0)
        return {};
    rs.MoveFirst();
    return rs.Texto(QStringLiteral("HisNuevo"));
}
