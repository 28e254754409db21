#include "Ordenes.h"

#include "Conexiones.h"
#include "Ejecutor.h"
#include "Historial.h"
#include "Motor.h"

#include <QLocale>
#include <algorithm>

namespace Ordenes {
namespace {

// The new order's number, from this very insert: another workstation may have stored an order
// of its own right after it. 0 when the insert gave none.
bool Insertar(const OrdenAGuardar& o, int& numero) {
    Recordset rs;
    if (!EjecutarComando(QStringLiteral("orden_insertar"), rs,
                         {o.fecha, o.cantidad, o.unidad, o.productoId, o.comentario, o.lugarEntrega,
                          o.prioridad, o.sectorId, o.centroCostoId, o.solicitanteId,
                          o.autorizanteId, o.login}))
        return false;
    numero = rs.AbsolutePosition() > 0 ? rs.Campo(QStringLiteral("OrdId")).toInt() : 0;
    CerrarRecordset(rs, true);
    return true;
}

// Updates the order and drops its quotes, which are then written anew.
bool Actualizar(int numero, const OrdenAGuardar& o) {
    Recordset rs;
    if (!EjecutarComando(QStringLiteral("orden_actualizar"), rs,
                         {numero, o.fecha, o.cantidad, o.unidad, o.productoId, o.comentario,
                          o.lugarEntrega, o.prioridad, o.sectorId, o.centroCostoId, o.solicitanteId,
                          o.autorizanteId}))
        return false;
    if (!AbrirRecordset(BaseProtegida() ? QStringLiteral("SELECT quimbel_precios_borrar(?)")
                                        : QStringLiteral("delete from precios where OrdId=?"),
                        rs, {numero}))
        return false;
    CerrarRecordset(rs, true);
    return true;
}

bool InsertarPrecios(int numero, const QList<PrecioAGuardar>& precios) {
    Recordset rs;
    for (const PrecioAGuardar& p : precios) {
        if (!EjecutarComando(QStringLiteral("precio_Insertar"), rs,
                             {numero, p.empId, p.contacto, p.precio, p.moneda, p.formaPago, p.fecha,
                              p.vigencia, p.aceptado ? 1 : 0}))
            return false;
    }
    return true;
}

ResultadoGuardado Resultado(Guardado motivo) {
    return ResultadoGuardado{motivo, {}, {}};
}

bool Iguales(const Historial::Orden& a, const Historial::Orden& b) {
    return Versiones::Iguales(a.orden, b.orden) &&
           std::equal(a.precios.begin(), a.precios.end(), b.precios.begin(), b.precios.end(),
                      Versiones::Iguales);
}

// The newest change the history holds for the order or its quotes, for the person to know
// who to ask.
void UltimoCambio(int numero, ResultadoGuardado* r) {
    QList<Historial::Entrada> entradas;
    if (Historial::LeerHistorial(numero, &entradas) && !entradas.isEmpty())
        r->autor = {entradas.first().login.trimmed(), entradas.first().fecha};
}

ResultadoGuardado Escribir(int& ordid, const OrdenAGuardar& o,
                           const QList<PrecioAGuardar>& precios) {
    Transaccion t;
    if (!t.Activa())
        return Resultado(Guardado::FalloDatos);

    int numero = ordid;
    Historial::Orden antes;
    if (numero == 0) {
        if (!Insertar(o, numero))
            return Resultado(Guardado::FalloDatos);
        if (numero <= 0)
            return Resultado(Guardado::SinNumero);
    } else {
        // Another workstation may have deleted the order meanwhile; its quotes must not be
        // stored under a number that no order has. Its row is held until the end, so that
        // another workstation's save of it waits and what is compared is what is overwritten.
        Historial::Registro fila;
        if (!Versiones::LeerParaModificar(QStringLiteral("ordenes"), QStringLiteral("OrdId"),
                                          numero, &fila) ||
            !Historial::LeerOrden(numero, &antes))
            return Resultado(Guardado::FalloDatos);
        if (antes.orden.Vacio())
            return Resultado(Guardado::YaNoExiste);
        if (o.cargada && !Iguales(*o.cargada, antes))
            return Resultado(Guardado::CambiadaPorOtro);
        if (!Actualizar(numero, o))
            return Resultado(Guardado::FalloDatos);
    }
    Historial::Orden despues;
    if (!InsertarPrecios(numero, precios) || !Historial::LeerOrden(numero, &despues) ||
        !Historial::RegistrarOrden(o.login, numero, antes, despues, o.autorizacionConfirmada) ||
        !Historial::Anotar(o.login, QStringLiteral("ordenes"), numero, numero, o.notas) ||
        !t.Confirmar())
        return Resultado(Guardado::FalloDatos);
    ordid = numero;
    return ResultadoGuardado{Guardado::Hecho, std::move(despues), {}};
}

bool EnServidor() {
    return Motor::EsServidor(Conexion());
}

// A save in one statement: a failure is told as a save's, nothing of it kept.
bool Guardar(const QString& sql, const QVariantList& valores, Recordset& rs) {
    ErrorBD error;
    FilasLeidas filas;
    if (!Motor::Ejecutar(Conexion(), sql, valores, &filas, false, &error)) {
        ReportarErrores({error}, true);
        return false;
    }
    rs = Instantanea(sql, std::move(filas));
    return true;
}

// "?, ?, …" for `n` values.
QString Marcas(qsizetype n) {
    return QStringList(n, QStringLiteral("?")).join(QStringLiteral(", "));
}

// On the server the save is one call, which writes the order, its quotes and their history in
// the one transaction of its statement, and compares what was loaded there too
// (quimbel_orden_escribir; on a protected database its checked wrapper).
ResultadoGuardado EscribirEnServidor(int& ordid, const OrdenAGuardar& o,
                                     const QList<PrecioAGuardar>& precios) {
    QVariantList valores{o.login,
                         ordid,
                         o.cargada && !o.cargada->version.isEmpty() ? QVariant(o.cargada->version)
                                                                    : QVariant(),
                         o.fecha,
                         o.cantidad,
                         o.unidad,
                         o.productoId,
                         o.comentario,
                         o.lugarEntrega,
                         o.prioridad,
                         o.sectorId,
                         o.centroCostoId,
                         o.solicitanteId,
                         o.autorizanteId};
    const qsizetype antesDePrecios = valores.size();
    for (const PrecioAGuardar& p : precios)
        valores << p.empId << p.contacto << p.precio << p.moneda << p.formaPago << p.fecha
                << p.vigencia << (p.aceptado ? 1 : 0);
    const qsizetype cuantosPrecios = valores.size() - antesDePrecios;
    for (const Historial::Nota& n : o.notas)
        valores << n.campo << n.texto;
    const qsizetype cuantasNotas = valores.size() - antesDePrecios - cuantosPrecios;
    valores << (o.autorizacionConfirmada.isValid() ? QVariant(o.autorizacionConfirmada)
                                                   : QVariant())
            << QString(QLocale().decimalPoint()) << o.login;
    const QString sql =
        QStringLiteral("SELECT estado, orden, version FROM %1(%2, ARRAY[%3]::text[], "
                       "ARRAY[%4]::text[], ?, ?, ?)")
            .arg(BaseProtegida() ? QStringLiteral("quimbel_orden_guardar")
                                 : QStringLiteral("quimbel_orden_escribir"),
                 Marcas(antesDePrecios), Marcas(cuantosPrecios), Marcas(cuantasNotas));
    Recordset rs;
    if (!Guardar(sql, valores, rs) || rs.AbsolutePosition() <= 0)
        return Resultado(Guardado::FalloDatos);
    const QString estado = rs.Texto(QStringLiteral("estado"));
    const int numero = rs.Campo(QStringLiteral("orden")).toInt();
    ResultadoGuardado r = Resultado(Guardado::FalloDatos);
    if (estado == QLatin1String("no_existe"))
        r.motivo = Guardado::YaNoExiste;
    else if (estado == QLatin1String("cambiada"))
        r.motivo = Guardado::CambiadaPorOtro;
    else if (estado == QLatin1String("hecho") && numero <= 0)
        r.motivo = Guardado::SinNumero;
    else if (estado == QLatin1String("hecho")) {
        r.motivo = Guardado::Hecho;
        r.guardada.version = rs.Texto(QStringLiteral("version"));
        ordid = numero;
    }
    CerrarRecordset(rs, true);
    return r;
}

} // namespace

ResultadoGuardado EscribirOrden(int& ordid, const OrdenAGuardar& o,
                                const QList<PrecioAGuardar>& precios) {
    ResultadoGuardado r =
        EnServidor() ? EscribirEnServidor(ordid, o, precios) : Escribir(ordid, o, precios);
    // Read once the save's transaction is over, so that its lock is not held meanwhile.
    if (r.motivo == Guardado::CambiadaPorOtro)
        UltimoCambio(ordid, &r);
    return r;
}

bool LeerVersion(int ordid, Historial::Orden* version) {
    if (!EnServidor())
        return Historial::LeerOrden(ordid, version);
    // Only what the server makes of it: the save compares it there.
    *version = Historial::Orden();
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("SELECT quimbel_orden_version(?)"), rs, {ordid}) ||
        rs.AbsolutePosition() <= 0)
        return false;
    version->version = rs.Campo(0).toString();
    CerrarRecordset(rs, true);
    return true;
}

bool LeerOrden(int ordid, OrdenLeida* o) {
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("SELECT o.*,p.ProDescripcion FROM ordenes o inner join "
                                       "productos p on o.ProId=p.ProId WHERE o.OrdId=") +
                            QString::number(ordid),
                        rs) ||
        rs.AbsolutePosition() <= 0)
        return false;
    rs.MoveFirst();
    o->fecha = rs.Campo(QStringLiteral("OrdFecha")).toDateTime();
    o->login = rs.Texto(QStringLiteral("UsuLogin"));
    o->cantidad = rs.Campo(QStringLiteral("OrdCantidad"));
    o->unidad = rs.Texto(QStringLiteral("OrdUnidadMedida"));
    o->productoId = rs.Campo(QStringLiteral("ProId")).toInt();
    o->producto = rs.Texto(QStringLiteral("ProDescripcion"));
    o->comentario = rs.Texto(QStringLiteral("OrdComentario"));
    o->lugarEntrega = rs.Texto(QStringLiteral("OrdLugarEntrega"));
    o->prioridad = rs.Texto(QStringLiteral("OrdPrioridad"));
    o->solicitanteId = rs.Texto(QStringLiteral("SolicitanteId"));
    o->autorizanteId = rs.Campo(QStringLiteral("AutorizanteId")).toInt();
    o->sectorId = rs.Texto(QStringLiteral("SecId"));
    o->centroCostoId = rs.Texto(QStringLiteral("CenCosId"));
    CerrarRecordset(rs, true);
    return true;
}

QList<PrecioLeido> LeerPrecios(int ordid) {
    QList<PrecioLeido> precios;
    Recordset rs;
    // A failure was told to the person; the order then shows no quotes.
    if (AbrirRecordset(QStringLiteral("SELECT * FROM v_precios_proveedores WHERE OrdId=") +
                           QString::number(ordid),
                       rs) &&
        rs.AbsolutePosition() > 0) {
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            PrecioLeido p;
            p.id = rs.Campo(QStringLiteral("PreId")).toInt();
            p.empId = rs.Campo(QStringLiteral("EmpId")).toInt();
            p.proveedor = rs.Texto(QStringLiteral("Proveedor"));
            p.contacto = rs.Texto(QStringLiteral("PreContacto"));
            p.precio = rs.Campo(QStringLiteral("PrePrecio")).toDouble();
            p.moneda = rs.Texto(QStringLiteral("PreMoneda"));
            p.formaPago = rs.Texto(QStringLiteral("PreFormaPago"));
            p.fecha = rs.Campo(QStringLiteral("PreFecha")).toDateTime();
            p.vigencia = rs.Campo(QStringLiteral("PreFecVigencia")).toDateTime();
            p.aceptado = rs.Campo(QStringLiteral("PreAceptado")).toBool();
            precios << p;
        }
    }
    CerrarRecordset(rs, true);
    return precios;
}

Vista Lista(const QString& estado, const QString& busqueda) {
    if (busqueda.isEmpty())
        return Vista(
            QStringLiteral("select * from v_ordenes_preciosaceptados where OrdEstado=? and 1"),
            {estado});
    QString patron = busqueda;
    patron.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('%'), QLatin1String("\\%"))
        .replace(QLatin1Char('_'), QLatin1String("\\_"));
    return Vista(QStringLiteral("select * from v_ordenes_preciosaceptados where OrdEstado=? and "
                                "OrdDescripcion like ? escape '\\'"),
                 {estado, QLatin1Char('%') + patron + QLatin1Char('%')});
}

Vista Seleccionadas(const QStringList& ids) {
    // Only numbers may reach the text.
    QStringList numeros;
    for (const QString& id : ids) {
        bool ok = false;
        const int n = id.trimmed().toInt(&ok);
        if (ok)
            numeros << QString::number(n);
    }
    if (numeros.isEmpty())
        return {};
    return Vista(QStringLiteral("select * from v_ordenes_preciosaceptados where OrdId in (") +
                 numeros.join(QLatin1Char(',')) + QLatin1Char(')'));
}

bool AbrirVista(const Vista& vista, Recordset& rs) {
    return AbrirRecordset(vista.sql, rs, vista.valores);
}

bool AbrirVista(const Vista& vista, Recordset& rs, int cuantas,
                const std::function<void(const Recordset&)>& primeras) {
    rs = Recordset();
    ErrorBD error;
    FilasLeidas filas;
    const auto mostrar = [&](FilasLeidas&& leidas) {
        primeras(Instantanea(vista.sql, std::move(leidas)));
    };
    if (!Motor::EjecutarAdelantando(Conexion(), vista.sql, vista.valores, cuantas, mostrar, &filas,
                                    &error)) {
        ReportarErrores({error});
        return false;
    }
    rs = Instantanea(vista.sql, std::move(filas));
    return true;
}

bool AbrirParaImprimir(int ordid, Recordset& rs) {
    return AbrirRecordset(QStringLiteral("select * from v_ordenes_preciosaceptados where OrdId=") +
                              QString::number(ordid),
                          rs);
}

bool AbrirPrecios(int ordid, Recordset& rs) {
    return AbrirRecordset(QStringLiteral("SELECT * FROM v_precios_proveedores WHERE OrdId=?"), rs,
                          {ordid});
}

namespace {

Eliminacion EliminarSiSigueIgual(int ordid, const QString& login,
                                 const Historial::Registro& mostrada) {
    Transaccion t;
    Historial::Registro fila;
    Historial::Orden antes;
    // The row is held until the end, so that what is compared is what is deleted.
    if (!t.Activa() ||
        !Versiones::LeerParaModificar(QStringLiteral("ordenes"), QStringLiteral("OrdId"), ordid,
                                      &fila) ||
        !Historial::LeerOrden(ordid, &antes))
        return Eliminacion::Fallo;
    if (fila.Vacio())
        return Eliminacion::YaNoExiste;
    if (!mostrada.Vacio() && !Versiones::Iguales(mostrada, fila))
        return Eliminacion::CambiadaPorOtro;
    Recordset rs;
    return EjecutarComando(QStringLiteral("orden_eliminar"), rs, {ordid}) &&
                   Historial::RegistrarOrden(login, ordid, antes, {}) && t.Confirmar()
               ? Eliminacion::Hecha
               : Eliminacion::Fallo;
}

} // namespace

ResultadoEliminacion Eliminar(int ordid, const QString& login,
                              const Historial::Registro& mostrada) {
    ResultadoEliminacion r{EliminarSiSigueIgual(ordid, login, mostrada), {}};
    // Read once the transaction is over, so that its lock is not held meanwhile.
    if (r.motivo == Eliminacion::CambiadaPorOtro) {
        QList<Historial::Entrada> entradas;
        if (Historial::LeerHistorial(ordid, &entradas) && !entradas.isEmpty())
            r.autor = {entradas.first().login.trimmed(), entradas.first().fecha};
    }
    return r;
}

bool SumarPorMoneda(const QStringList& ids, QList<SumaMoneda>* sumas) {
    sumas->clear();
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("select sum(PrePrecio) as Suma,PreMoneda from "
                                       "v_ordenes_preciosaceptados where OrdId in (") +
                            ids.join(QLatin1Char(',')) + QStringLiteral(") group by PreMoneda"),
                        rs))
        return false;
    if (rs.AbsolutePosition() > 0) {
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            sumas->append(
                {rs.Campo(QStringLiteral("Suma")), rs.Texto(QStringLiteral("PreMoneda"))});
    }
    CerrarRecordset(rs, false);
    return true;
}

} // namespace Ordenes
