#include "ProcesoOrdenes.h"

#include "Conexiones.h"
#include "Ejecutor.h"
#include "EstadosOrden.h"
#include "Historial.h"
#include "Motor.h"
#include "Recordset.h"
#include "Usuarios.h"
#include "Versiones.h"

#include <QLocale>

namespace ProcesoOrdenes {
namespace {

const QString kOrdenes = QStringLiteral("ordenes");
const QString kClave = QStringLiteral("OrdId");

} // namespace

Procesador PuedePasar(const QString& login, const QString& estado) {
    // The same row sign-in found: the login is kept with the blanks typed around it.
    Usuarios::Derechos d;
    switch (Usuarios::LeerDerechos(login.trimmed(), &d)) {
    case Usuarios::Lectura::Fallo:
        return {Permiso::Fallo, 0};
    case Usuarios::Lectura::NoExiste:
        return {Permiso::UsuarioInexistente, 0};
    case Usuarios::Lectura::Hallado:
        break;
    }
    if (estado == EstadosOrden::kCumplida && !d.puedeCumplir)
        return {Permiso::NoPuedeCumplir, d.usuId};
    if (estado == EstadosOrden::kEnTramite && !d.puedeSolicitar)
        return {Permiso::NoPuedeSolicitar, d.usuId};
    return {Permiso::Permitido, d.usuId};
}

Pasada PasarOrden(int ordid, const QString& mostrado, const QString& estado, int usuId,
                  const QString& login) {
    // The server writes the state and its history line itself, in one call.
    if (Motor::EsServidor(Conexion()))
        return PasarOrdenes({ordid}, mostrado, estado, usuId, login)
            .value(0, Pasada{Paso::Fallo, {}});
    // The new state and its history line are written together or not at all.
    Transaccion t;
    Historial::Registro antes;
    if (!t.Activa() || !Versiones::LeerParaModificar(kOrdenes, kClave, ordid, &antes))
        return {Paso::Fallo, {}};
    const auto leido = [&antes](const char* columna) {
        return antes.leidos.value(antes.Indice(QLatin1String(columna)));
    };
    const QString actual = leido("OrdEstado").toString();
    if (antes.Vacio() || actual != mostrado)
        return {Paso::Movida, actual};
    if (EstadosOrden::ExigeAutorizacion(estado) && leido("AutorizanteId").toInt() <= 0)
        return {Paso::NoAutorizada, {}};
    Historial::Registro despues;
    Recordset rs;
    const bool ok =
        AbrirRecordset(QStringLiteral("update ordenes set OrdEstado=?,ProcesadoId=? where OrdId=?"),
                       rs, {estado, usuId, ordid}) &&
        Historial::Leer(kOrdenes, kClave, ordid, &despues) &&
        Historial::RegistrarRegistro(login, kOrdenes, kClave, antes, despues, Historial::kEstado,
                                     ordid) &&
        t.Confirmar();
    return {ok ? Paso::Hecho : Paso::Fallo, {}};
}

namespace {

// The server moves them all in one call (quimbel_ordenes_pasar, or its checked wrapper on a
// protected database), each order in a transaction of its own inside it.
QList<Pasada> PasarEnServidor(const QList<int>& ordids, const QString& mostrado,
                              const QString& estado, int usuId, const QString& login) {
    QList<Pasada> pasadas(ordids.size(), Pasada{Paso::Fallo, {}});
    QVariantList valores;
    for (int id : ordids)
        valores << id;
    const QString ids = QStringList(ordids.size(), QStringLiteral("?")).join(QLatin1Char(','));
    const QString coma(QLocale().decimalPoint());
    QString sql;
    if (BaseProtegida()) {
        sql = QStringLiteral("SELECT numero, paso, actual FROM quimbel_ordenes_estado("
                             "ARRAY[%1]::integer[], ?, ?, ?)")
                  .arg(ids);
        valores << mostrado << estado << coma;
    } else {
        sql = QStringLiteral("SELECT numero, paso, actual FROM quimbel_ordenes_pasar(?, ?, "
                             "ARRAY[%1]::integer[], ?, ?, ?)")
                  .arg(ids);
        valores = QVariantList{login, usuId} + valores;
        valores << mostrado << estado << coma;
    }
    ErrorBD error;
    FilasLeidas filas;
    if (!Motor::Ejecutar(Conexion(), sql, valores, &filas, false, &error)) {
        ReportarErrores({error}, true);
        return pasadas;
    }
    const Recordset rs = Instantanea(sql, std::move(filas));
    QList<ErrorBD> errores;
    for (int i = 0; i < rs.RecordCount() && i < pasadas.size(); ++i) {
        const QVector<QVariant>& f = rs.Fila(i);
        const QString paso = f.value(1).toString();
        if (paso == QLatin1String("hecho"))
            pasadas[i] = {Paso::Hecho, {}};
        else if (paso == QLatin1String("movida"))
            pasadas[i] = {Paso::Movida, f.value(2).toString()};
        else if (paso == QLatin1String("no_autorizada"))
            pasadas[i] = {Paso::NoAutorizada, {}};
        else
            errores.append({0, f.value(2).toString()});
    }
    if (!errores.isEmpty())
        ReportarErrores(errores, true);
    return pasadas;
}

} // namespace

QList<Pasada> PasarOrdenes(const QList<int>& ordids, const QString& mostrado, const QString& estado,
                           int usuId, const QString& login) {
    if (ordids.isEmpty())
        return {};
    if (Motor::EsServidor(Conexion()))
        return PasarEnServidor(ordids, mostrado, estado, usuId, login);
    QList<Pasada> pasadas;
    for (int id : ordids)
        pasadas << PasarOrden(id, mostrado, estado, usuId, login);
    return pasadas;
}

} // namespace ProcesoOrdenes
