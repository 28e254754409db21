#include "Historial.h"

#include "CadenaHistorial.h"
#include "Conexiones.h"
#include "Ejecutor.h"
#include "EscrituraHistorial.h"
#include "Formato.h"
#include "Motor.h"

#include <QHash>
#include <algorithm>

namespace Historial {
namespace {

// Columns that hold a flag whatever their stored type (the users' rights are whole numbers).
bool EsMarca(const QString& columna) {
    for (const char* parte : {"puede", "desactiv", "aceptado", "sinvencimiento"})
        if (columna.contains(QLatin1String(parte), Qt::CaseInsensitive))
            return true;
    return false;
}

bool Marcada(const QVariant& v) {
    return v.toInt() != 0 || v.toBool();
}

QString Texto(const QString& columna, const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return {};
    if (EsMarca(columna) || v.typeId() == QMetaType::Bool)
        return Marcada(v) ? QStringLiteral("Si") : QStringLiteral("No");
    if (v.typeId() == QMetaType::QDateTime) {
        // From the fields, as the dates are written to the database: a quote's line shows two.
        const QDateTime m = v.toDateTime();
        const QDate d = m.date();
        const QTime t = m.time();
        if (!m.isValid() || d.year() < 1 || d.year() > 9999)
            return m.toString(QStringLiteral("dd/MM/yyyy HH:mm"));
        const QString dia = QString::asprintf("%02d/%02d/%04d", d.day(), d.month(), d.year());
        return t == QTime(0, 0) ? dia : dia + QString::asprintf(" %02d:%02d", t.hour(), t.minute());
    }
    return Formato::Valor(v);
}

QString SqlFila(const QString& tabla, const QString& columnaClave) {
    return QStringLiteral("SELECT * FROM %1 WHERE %2=?").arg(tabla, columnaClave);
}

Registro DeFila(const Recordset& rs, int fila) {
    return Registro{rs.NombresCampos(), {}, rs.Fila(fila)};
}

// A column that names a row of another table is recorded with that row's name, so that the
// history reads "Sector: Compras (2) → Depósito (3)" rather than bare numbers.
struct Referencia {
    const char* tabla;
    const char* clave;
    const char* nombre;
};

const Referencia* ReferenciaDe(const QString& columna) {
    static const QHash<QString, Referencia> r = {
        {QStringLiteral("proid"), {"productos", "ProId", "ProDescripcion"}},
        {QStringLiteral("secid"), {"sectores", "SecId", "SecDescripcion"}},
        {QStringLiteral("cencosid"), {"centrosdecosto", "CenCosId", "CenCosDescripcion"}},
        {QStringLiteral("solicitanteid"), {"usuarios", "UsuId", "UsuNombre"}},
        {QStringLiteral("autorizanteid"), {"usuarios", "UsuId", "UsuNombre"}},
        {QStringLiteral("procesadoid"), {"usuarios", "UsuId", "UsuNombre"}},
        {QStringLiteral("empid"), {"proveedores", "EmpId", "EmpNombreFantasia"}},
        {QStringLiteral("catid"), {"categorias", "CatId", "CatDescripcion"}},
    };
    const auto it = r.constFind(columna.toLower());
    return it == r.constEnd() ? nullptr : &it.value();
}

struct Linea {
    QString campo;
    QString anterior;
    QString nuevo;
    QString tabla{}; // empty: the change's own table and key
    int clave = 0;
};

// Puts into words each value of `lineas` that names a row of another table (`refs`, one per line,
// null for the others), asking for all the names in one trip to the database.
bool Nombrar(const QList<const Referencia*>& refs, QList<Linea>* lineas) {
    QList<Consulta> consultas;
    QList<QString*> textos;
    for (qsizetype k = 0; k < refs.size(); ++k) {
        if (!refs[k])
            continue;
        const Referencia& ref = *refs[k];
        for (QString* t : {&(*lineas)[k].anterior, &(*lineas)[k].nuevo}) {
            if (t->isEmpty() || *t == QLatin1String("0")) {
                t->clear();
                continue;
            }
            consultas.append({QStringLiteral("SELECT %1 FROM %2 WHERE %3=?")
                                  .arg(QLatin1String(ref.nombre), QLatin1String(ref.tabla),
                                       QLatin1String(ref.clave)),
                              {t->toInt()}});
            textos.append(t);
        }
    }
    if (consultas.isEmpty())
        return true;
    QList<Recordset> rs;
    if (!AbrirRecordsets(consultas, &rs))
        return false;
    for (qsizetype n = 0; n < textos.size(); ++n) {
        const QString nombre =
            rs[n].AbsolutePosition() > 0 ? rs[n].Campo(0).toString().trimmed() : QString();
        *textos[n] = nombre.isEmpty() ? QStringLiteral("(%1)").arg(*textos[n])
                                      : QStringLiteral("%1 (%2)").arg(nombre, *textos[n]);
    }
    return true;
}

// Fields that differ between two readings of one row, the key and `omitidas` left out. Two
// readings by the same query have their columns in the same places, so they are compared by
// position rather than looked up by name.
bool Diferencias(const Registro& antes, const Registro& despues, const QString& columnaClave,
                 const QStringList& omitidas, QList<Linea>* lineas) {
    const Registro& forma = despues.Vacio() ? antes : despues;
    const bool mismas = antes.columnas == despues.columnas;
    QList<Linea> nuevas;
    QList<const Referencia*> refs;
    for (int i = 0; i < forma.columnas.size(); ++i) {
        const QString& columna = forma.columnas[i];
        if (columna.compare(columnaClave, Qt::CaseInsensitive) == 0 ||
            omitidas.contains(columna, Qt::CaseInsensitive))
            continue;
        const int a = mismas ? i : antes.Indice(columna);
        const int d = mismas ? i : despues.Indice(columna);
        if (antes.MismoLeido(a, despues, d))
            continue;
        Linea l{columna, antes.ValorEn(a), despues.ValorEn(d)};
        if (l.anterior == l.nuevo)
            continue;
        if (columna.compare(QLatin1String("UsuPassword"), Qt::CaseInsensitive) == 0) {
            l.anterior.clear();
            l.nuevo = kClaveCambiada;
        }
        nuevas.append(l);
        refs.append(ReferenciaDe(columna));
    }
    if (!Nombrar(refs, &nuevas))
        return false;
    // An empty reference and one to row 0 both read as none.
    for (qsizetype k = 0; k < nuevas.size(); ++k)
        if (!refs[k] || nuevas[k].anterior != nuevas[k].nuevo)
            lineas->append(nuevas[k]);
    return true;
}

// A line's values in the order EscribirCambio takes them.
QVariantList Valores(const QString& login, const QString& tipo, const QString& tabla, int clave,
                     int ordId, const Linea& l) {
    return {login.trimmed(),
            tipo,
            l.tabla.isEmpty() ? tabla : l.tabla,
            l.tabla.isEmpty() ? clave : l.clave,
            ordId > 0 ? QVariant(ordId) : QVariant(),
            l.campo,
            l.anterior,
            l.nuevo};
}

// Writes the lines of one change, in the way the engine writes them best.
bool Escribir(const QString& login, const QString& tipo, const QString& tabla, int clave, int ordId,
              const QList<Linea>& lineas) {
    QList<QVariantList> valores;
    for (const Linea& l : lineas)
        valores << Valores(login, tipo, tabla, clave, ordId, l);
    ErrorBD error;
    if (Motor::EscribirCambio(Conexion(), valores, &error))
        return true;
    ReportarErrores({error});
    return false;
}

QString TipoDe(const Registro& antes, const Registro& despues) {
    return antes.Vacio() ? kAlta : despues.Vacio() ? kEliminacion : kModificacion;
}

// A quote in one line: supplier, price, terms, dates and whether it is the accepted one.
QString Resumen(const Registro& p) {
    QStringList partes{p.Valor(QStringLiteral("PrePrecio")) + QLatin1Char(' ') +
                       p.Valor(QStringLiteral("PreMoneda"))};
    for (const char* c : {"PreFormaPago", "PreContacto"})
        if (const QString v = p.Valor(QLatin1String(c)); !v.isEmpty())
            partes << v;
    // A quote's dates are days, whatever time the picker kept with them.
    partes << QStringLiteral("del %1 al %2")
                  .arg(p.Valor(QStringLiteral("PreFecha")).left(10),
                       p.Valor(QStringLiteral("PreFecVigencia")).left(10));
    if (p.Valor(QStringLiteral("PreAceptado")) == QLatin1String("Si"))
        partes << QStringLiteral("aceptado");
    return p.Valor(QStringLiteral("Proveedor")) + QStringLiteral(": ") +
           partes.join(QStringLiteral(", "));
}

int Clave(const Registro& p) {
    return p.Valor(QStringLiteral("PreId")).toInt();
}

// The fields a quote's line shows.
const QStringList& CamposResumen() {
    static const QStringList c{QStringLiteral("Proveedor"),      QStringLiteral("PrePrecio"),
                               QStringLiteral("PreMoneda"),      QStringLiteral("PreFormaPago"),
                               QStringLiteral("PreContacto"),    QStringLiteral("PreFecha"),
                               QStringLiteral("PreFecVigencia"), QStringLiteral("PreAceptado")};
    return c;
}

// Where a list of quotes holds the fields of their lines: the rows of one reading share their
// columns.
QVector<int> PosicionesResumen(const QList<Registro>& lista) {
    QVector<int> r;
    if (!lista.isEmpty())
        for (const QString& c : CamposResumen())
            r << lista.first().Indice(c);
    return r;
}

struct Cotizacion {
    const Registro* fila;
    const QVector<int>* posiciones; // PosicionesResumen of its list
    QString resumen;                // made when first needed
    const QString& Resumida() {
        if (resumen.isNull())
            resumen = Resumen(*fila);
        return resumen;
    }
    bool MismosLeidos(const Cotizacion& otra) const {
        for (int k = 0; k < posiciones->size(); ++k)
            if (!fila->MismoLeido(posiciones->at(k), *otra.fila, otra.posiciones->at(k)))
                return false;
        return true;
    }
};

// The supplier of the accepted quote; empty when none is.
QString Aceptado(const QList<Registro>& lista) {
    if (lista.isEmpty())
        return {};
    const int aceptado = lista.first().Indice(QStringLiteral("PreAceptado"));
    for (const Registro& p : lista) {
        const bool si = p.valores.isEmpty() ? Marcada(p.leidos.value(aceptado))
                                            : p.ValorEn(aceptado) == QLatin1String("Si");
        if (si)
            return p.Valor(QStringLiteral("Proveedor"));
    }
    return {};
}

// The quotes are stored anew at every save, so they are matched by content: an identical quote
// did not change, one of the same supplier changed, the rest were added or removed.
void DiferenciasPrecios(const QList<Registro>& antes, const QList<Registro>& despues,
                        QList<Linea>* lineas) {
    const QVector<int> posicionesAntes = PosicionesResumen(antes);
    const QVector<int> posicionesDespues = PosicionesResumen(despues);
    auto cotizaciones = [](const QList<Registro>& lista, const QVector<int>& posiciones) {
        QList<Cotizacion> r;
        for (const Registro& p : lista)
            r.append({&p, &posiciones, QString()});
        return r;
    };
    QList<Cotizacion> viejos = cotizaciones(antes, posicionesAntes);
    QList<Cotizacion> nuevos = cotizaciones(despues, posicionesDespues);
    // Quotes with the same values as read first, so that only the rest are put into words.
    const auto quitarIguales = [&](const auto& iguales) {
        for (auto p = nuevos.begin(); p != nuevos.end();) {
            const auto v = std::find_if(viejos.begin(), viejos.end(),
                                        [&](Cotizacion& viejo) { return iguales(*p, viejo); });
            if (v == viejos.end()) {
                ++p;
                continue;
            }
            viejos.erase(v);
            p = nuevos.erase(p);
        }
    };
    quitarIguales([](const Cotizacion& p, const Cotizacion& v) { return p.MismosLeidos(v); });
    quitarIguales([](Cotizacion& p, Cotizacion& v) { return p.Resumida() == v.Resumida(); });
    const QString precios = QStringLiteral("precios");
    const QString empresa = QStringLiteral("EmpId");
    for (Cotizacion& p : nuevos) {
        const QString emp = p.fila->Valor(empresa);
        const auto mismo = std::find_if(viejos.begin(), viejos.end(), [&](const Cotizacion& v) {
            return v.fila->Valor(empresa) == emp;
        });
        if (mismo != viejos.end()) {
            lineas->append({QStringLiteral("Precio"), mismo->Resumida(), p.Resumida(), precios,
                            Clave(*p.fila)});
            viejos.erase(mismo);
        } else {
            lineas->append(
                {QStringLiteral("Precio"), QString(), p.Resumida(), precios, Clave(*p.fila)});
        }
    }
    for (Cotizacion& v : viejos)
        lineas->append(
            {QStringLiteral("Precio"), v.Resumida(), QString(), precios, Clave(*v.fila)});

    const QString de = Aceptado(antes);
    const QString a = Aceptado(despues);
    if (de != a)
        lineas->append({QStringLiteral("PrecioAceptado"), de, a, precios, 0});
}

} // namespace

int Registro::Indice(const QString& columna) const {
    // The program spells a column as the schema does, and both engines give it back so.
    if (const int i = static_cast<int>(columnas.indexOf(columna)); i >= 0)
        return i;
    for (int i = 0; i < columnas.size(); ++i)
        if (columnas[i].compare(columna, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QString Registro::Valor(const QString& columna) const {
    return ValorEn(Indice(columna));
}

QString Registro::ValorEn(int i) const {
    if (i < 0 || i >= columnas.size())
        return {};
    return i < valores.size() ? valores[i] : Texto(columnas[i], leidos.value(i));
}

bool Registro::MismoLeido(int i, const Registro& otro, int j) const {
    return i >= 0 && j >= 0 && valores.isEmpty() && otro.valores.isEmpty() && i < leidos.size() &&
           j < otro.leidos.size() && leidos[i].typeId() == otro.leidos[j].typeId() &&
           leidos[i] == otro.leidos[j];
}

bool Leer(const QString& tabla, const QString& columnaClave, const QVariant& clave, Registro* r) {
    *r = Registro();
    Recordset rs;
    if (!AbrirRecordset(SqlFila(tabla, columnaClave), rs, {clave}))
        return false;
    if (rs.AbsolutePosition() > 0)
        *r = DeFila(rs, 0);
    return true;
}

bool LeerOrden(int ordId, Orden* o) {
    *o = Orden();
    QList<Recordset> rs;
    if (!AbrirRecordsets(
            {{SqlFila(QStringLiteral("ordenes"), QStringLiteral("OrdId")), {ordId}},
             {QStringLiteral("SELECT * FROM v_precios_proveedores WHERE OrdId=? ORDER BY PreId"),
              {ordId}}},
            &rs))
        return false;
    if (rs[0].AbsolutePosition() > 0)
        o->orden = DeFila(rs[0], 0);
    for (int i = 0; i < rs[1].RecordCount(); ++i)
        o->precios << DeFila(rs[1], i);
    return true;
}

bool RegistrarRegistro(const QString& login, const QString& tabla, const QString& columnaClave,
                       const Registro& antes, const Registro& despues, const QString& tipo,
                       int ordId) {
    QList<Linea> lineas;
    if (!Diferencias(antes, despues, columnaClave, {}, &lineas))
        return false;
    const Registro& fila = despues.Vacio() ? antes : despues;
    return Escribir(login, tipo.isEmpty() ? TipoDe(antes, despues) : tipo, tabla,
                    fila.Valor(columnaClave).toInt(), ordId, lineas);
}

bool RegistrarFila(const QString& login, const QString& tabla, const QString& columnaClave,
                   const QVariant& clave, const Registro& antes) {
    if (Motor::HistorialDeFilaEnServidor(Conexion(), tabla))
        return true;
    Registro despues;
    return Leer(tabla, columnaClave, clave, &despues) &&
           RegistrarRegistro(login, tabla, columnaClave, antes, despues);
}

bool RegistrarOrden(const QString& login, int ordId, const Orden& antes, const Orden& despues,
                    const QDateTime& autorizacionConfirmada) {
    const QString ordenes = QStringLiteral("ordenes");
    const QString clave = QStringLiteral("OrdId");
    const QString autorizante = QStringLiteral("AutorizanteId");
    const bool eliminada = despues.orden.Vacio();
    // A deleted order keeps its authoriser among its other fields' lines.
    const QStringList aparte = eliminada ? QStringList() : QStringList{autorizante};
    QList<Linea> lineas;
    if (!Diferencias(antes.orden, despues.orden, clave, aparte, &lineas))
        return false;
    DiferenciasPrecios(antes.precios, despues.precios, &lineas);
    if (!Escribir(login, TipoDe(antes.orden, despues.orden), ordenes, ordId, ordId, lineas))
        return false;
    if (eliminada)
        return true;
    const Registro de{{autorizante}, {antes.orden.Valor(autorizante)}};
    const Registro a{{autorizante}, {despues.orden.Valor(autorizante)}};
    lineas.clear();
    if (!Diferencias(de, a, clave, {}, &lineas))
        return false;
    if (lineas.isEmpty())
        return true;
    if (autorizacionConfirmada.isValid())
        lineas.append(
            {QStringLiteral("Confirmacion"), QString(),
             QStringLiteral("contraseña confirmada el %1")
                 .arg(autorizacionConfirmada.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")))});
    return Escribir(login, kAutorizacion, ordenes, ordId, ordId, lineas);
}

bool Anotar(const QString& login, const QString& tabla, int clave, int ordId,
            const QList<Nota>& notas, const QString& tipo) {
    QList<Linea> lineas;
    for (const Nota& n : notas)
        lineas.append({n.campo, QString(), n.texto});
    return Escribir(login, tipo, tabla, clave, ordId, lineas);
}

bool LeerHistorial(int ordId, QList<Entrada>* entradas) {
    entradas->clear();
    Recordset rs;
    QString sql = QStringLiteral(
        "SELECT COALESCE(HisCambio, HisId) AS Cambio, HisFecha, HisLogin, HisTipo, HisTabla, "
        "HisClave, HisOrdId, HisCampo, HisAnterior, HisNuevo FROM historial");
    QVariantList valores;
    if (ordId > 0) {
        sql += QStringLiteral(" WHERE HisOrdId=?");
        valores << ordId;
    }
    sql += QStringLiteral(" ORDER BY Cambio DESC, HisId ASC");
    if (!AbrirRecordset(sql, rs, valores))
        return false;
    for (int i = 0; i < rs.RecordCount(); ++i) {
        const QVector<QVariant>& f = rs.Fila(i);
        entradas->append({f[0].toInt(), f[1].toDateTime(), f[2].toString(), f[3].toString(),
                          f[4].toString(), f[5].toInt(), f[6].toInt(), f[7].toString(),
                          f[8].toString(), f[9].toString()});
    }
    return true;
}

Cadena ComprobarCadena(int ordId) {
    const CadenaHistorial::Estado e = CadenaHistorial::ComprobarOrden(Conexion(), ordId);
    Cadena c{e.Integro(), QString::fromLatin1(e.ultima), {}};
    if (!e.error.isEmpty() || e.rota != 0)
        c.descripcion = e.Describir();
    else
        c.descripcion = QStringLiteral("Las %1 líneas de esta orden concuerdan con la cadena del "
                                       "historial.")
                            .arg(e.filas);
    return c;
}

QString NombreCampo(const QString& campo) {
    static const QHash<QString, QString> nombres = {
        {QStringLiteral("ordfecha"), QStringLiteral("Fecha")},
        {QStringLiteral("ordcantidad"), QStringLiteral("Cantidad")},
        {QStringLiteral("ordunidadmedida"), QStringLiteral("Unidad de Compra")},
        {QStringLiteral("proid"), QStringLiteral("Producto")},
        {QStringLiteral("ordcomentario"), QStringLiteral("Comentario")},
        {QStringLiteral("ordlugarentrega"), QStringLiteral("Lugar de entrega")},
        {QStringLiteral("ordprioridad"), QStringLiteral("Prioridad")},
        {QStringLiteral("secid"), QStringLiteral("Sector")},
        {QStringLiteral("cencosid"), QStringLiteral("Centro de Costo")},
        {QStringLiteral("solicitanteid"), QStringLiteral("Solicitó")},
        {QStringLiteral("autorizanteid"), QStringLiteral("Autorizó")},
        {QStringLiteral("usulogin"), QStringLiteral("Ingresó")},
        {QStringLiteral("ordestado"), QStringLiteral("Estado")},
        {QStringLiteral("procesadoid"), QStringLiteral("Procesó")},
        {QStringLiteral("precioaceptado"), QStringLiteral("Precio aceptado")},
        {QStringLiteral("confirmacion"), QStringLiteral("Confirmación")},
        {QStringLiteral("usupassword"), QStringLiteral("Contraseña")},
        {QStringLiteral("usunombre"), QStringLiteral("Nombre y Apellido")},
        {QStringLiteral("usupuedesolicitar"), QStringLiteral("Puede solicitar")},
        {QStringLiteral("usupuedeautorizar"), QStringLiteral("Puede autorizar")},
        {QStringLiteral("usupuedecumplir"), QStringLiteral("Puede cumplir")},
    };
    const QString c = campo.toLower();
    if (const auto it = nombres.constFind(c); it != nombres.constEnd())
        return it.value();
    if (c.endsWith(QLatin1String("desactivado")) || c.endsWith(QLatin1String("desactivada")))
        return QStringLiteral("Desactivado");
    if (c.endsWith(QLatin1String("descripcion")))
        return QStringLiteral("Descripción");
    return campo;
}

QString Descripcion(const Entrada& e) {
    if (e.campo == QLatin1String("Precio") && e.anterior.isEmpty())
        return QStringLiteral("Precio agregado: ") + e.nuevo;
    if (e.campo == QLatin1String("Precio") && e.nuevo.isEmpty())
        return QStringLiteral("Precio quitado: ") + e.anterior;
    const QString nombre = NombreCampo(e.campo) + QStringLiteral(": ");
    if (e.tipo == kEliminacion)
        return nombre + e.anterior;
    // A new record's values, a note, a sign-in, a password change and a confirmation have no
    // "before".
    if (e.tipo == kAlta || e.tipo == kRegla || e.tipo == kIngreso || e.tipo == kIngresoRechazado ||
        e.campo == QLatin1String("Confirmacion") || e.nuevo == kClaveCambiada)
        return nombre + e.nuevo;
    const auto vacio = [](const QString& v) { return v.isEmpty() ? QStringLiteral("(vacío)") : v; };
    return nombre + vacio(e.anterior) + QStringLiteral(" → ") + vacio(e.nuevo);
}

} // namespace Historial
