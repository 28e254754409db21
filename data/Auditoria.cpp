#include "Auditoria.h"

#include "CadenaHistorial.h"
#include "CompararTexto.h"
#include "Conexiones.h"
#include "Ejecutor.h"

#include <algorithm>

namespace Auditoria {
namespace {

QStringList Columna(const Recordset& rs) {
    QStringList r;
    for (int i = 0; i < rs.RecordCount(); ++i)
        if (const QString v = rs.Fila(i).value(0).toString(); !v.isEmpty())
            r << v;
    return r;
}

// Logins are compared without regard to letter case or blanks around them everywhere else,
// and a refused sign-in keeps the login as it was typed: a login stands for every spelling of
// it the history holds, found here so that the engines compare the same way.
bool Grafias(const QString& login, QVariantList* grafias) {
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("SELECT DISTINCT HisLogin FROM historial"), rs))
        return false;
    for (int i = 0; i < rs.RecordCount(); ++i)
        if (const QString v = rs.Fila(i).value(0).toString();
            CompararTexto(v.trimmed(), login.trimmed()) == 0)
            *grafias << v;
    return true;
}

// One entry for each login whatever its spellings (rows of login and its number of lines): the
// spelling most of its lines have, in the order people read them.
QStringList SinRepetir(const Recordset& rs) {
    struct Grafia {
        QString login;
        qlonglong lineas;
    };
    QList<Grafia> grafias;
    for (int i = 0; i < rs.RecordCount(); ++i)
        if (const QString v = rs.Fila(i).value(0).toString().trimmed(); !v.isEmpty())
            grafias.append({v, rs.Fila(i).value(1).toLongLong()});
    std::stable_sort(grafias.begin(), grafias.end(), [](const Grafia& a, const Grafia& b) {
        return CompararTexto(a.login, b.login) < 0;
    });
    QStringList r;
    qlonglong lineas = 0;
    for (const Grafia& g : grafias) {
        if (r.isEmpty() || CompararTexto(r.last(), g.login) != 0) {
            r << g.login;
            lineas = g.lineas;
        } else if (g.lineas > lineas) {
            r.last() = g.login;
            lineas = g.lineas;
        }
    }
    return r;
}

} // namespace

bool LeerLineas(const Filtro& f, QList<Historial::Entrada>* entradas) {
    entradas->clear();
    QStringList condiciones;
    QVariantList valores;
    const auto condicion = [&](const char* texto, const QVariant& valor) {
        condiciones << QLatin1String(texto);
        valores << valor;
    };
    // The moments are compared as stored: from the first day's start to the day after the last.
    if (f.desde.isValid())
        condicion("HisFecha >= ?", f.desde.startOfDay());
    if (f.hasta.isValid())
        condicion("HisFecha < ?", f.hasta.addDays(1).startOfDay());
    if (!f.login.trimmed().isEmpty()) {
        QVariantList grafias;
        if (!Grafias(f.login, &grafias))
            return false;
        const QStringList marcas(grafias.size(), QStringLiteral("?"));
        condiciones
            << (grafias.isEmpty()
                    ? QStringLiteral("1 = 0")
                    : QStringLiteral("HisLogin IN (%1)").arg(marcas.join(QLatin1Char(','))));
        valores << grafias;
    }
    if (!f.tipo.isEmpty())
        condicion("HisTipo = ?", f.tipo);
    if (!f.tabla.isEmpty())
        condicion("HisTabla = ?", f.tabla);
    if (f.ordId > 0)
        condicion("HisOrdId = ?", f.ordId);
    QString sql = QStringLiteral(
        "SELECT COALESCE(HisCambio, HisId) AS Cambio, HisFecha, HisLogin, HisTipo, HisTabla, "
        "HisClave, HisOrdId, HisCampo, HisAnterior, HisNuevo FROM historial");
    if (!condiciones.isEmpty())
        sql += QStringLiteral(" WHERE ") + condiciones.join(QStringLiteral(" AND "));
    // The lines of one change share their moment, so the moment first keeps them together.
    sql += QStringLiteral(" ORDER BY HisFecha DESC, Cambio DESC, HisId ASC");
    Recordset rs;
    if (!AbrirRecordset(sql, rs, valores))
        return false;
    entradas->reserve(rs.RecordCount());
    for (int i = 0; i < rs.RecordCount(); ++i) {
        const QVector<QVariant>& v = rs.Fila(i);
        entradas->append({v[0].toInt(), v[1].toDateTime(), v[2].toString(), v[3].toString(),
                          v[4].toString(), v[5].toInt(), v[6].toInt(), v[7].toString(),
                          v[8].toString(), v[9].toString()});
    }
    return true;
}

bool LeerValores(Valores* valores) {
    QList<Recordset> rs;
    if (!AbrirRecordsets(
            {{QStringLiteral("SELECT HisLogin, count(*) FROM historial GROUP BY HisLogin"), {}},
             {QStringLiteral("SELECT DISTINCT HisTipo FROM historial ORDER BY HisTipo"), {}},
             {QStringLiteral("SELECT DISTINCT HisTabla FROM historial ORDER BY HisTabla"), {}}},
            &rs))
        return false;
    *valores = {SinRepetir(rs[0]), Columna(rs[1]), Columna(rs[2])};
    return true;
}

EstadoCadena ComprobarCadena() {
    // The last line is read before the walk, so that what is said to hold was walked over
    // even when another workstation writes meanwhile.
    Recordset ultima;
    const bool leida = AbrirRecordset(
        QStringLiteral("SELECT HisId, HisFecha FROM historial ORDER BY HisId DESC LIMIT 1"),
        ultima);
    const CadenaHistorial::Estado e = CadenaHistorial::Comprobar(Conexion());
    EstadoCadena r{e.Integro(), e.Describir(), e.Describir()};
    if (r.integra && leida && ultima.AbsolutePosition() > 0)
        r.descripcion =
            QStringLiteral("Historial íntegro hasta el %1 (línea %2).")
                .arg(ultima.Campo(1).toDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")))
                .arg(ultima.Campo(0).toLongLong());
    return r;
}

} // namespace Auditoria
