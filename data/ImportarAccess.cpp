#include "ImportarAccess.h"

#include "BaseCopia.h"
#include "Contrasena.h"
#include "Esquema.h"
#include "EsquemaDefinicion.h"
#include "Fechas.h"
#include "LectorAccess.h"

namespace {

using Estado = ResultadoCopia::Estado;

// An office's file keeps its passwords in the reversible form of older versions, and a database
// of this version signs in only against hashes: each is hashed on its way in. A file made from
// one of this version's databases already holds hashes, which pass as they are.
void CifrarClaveAntigua(const QString& tabla, const QStringList& columnas, QVariantList* valores) {
    if (tabla.compare(QLatin1String("usuarios"), Qt::CaseInsensitive) != 0)
        return;
    const qsizetype i = PosicionNombre(columnas, QStringLiteral("UsuPassword"));
    if (i < 0)
        return;
    const QString guardada = (*valores)[i].toString();
    if (!Contrasena::EsCifrada(guardada))
        (*valores)[i] = Contrasena::Cifrar(Contrasena::DescifrarAntigua(guardada));
}

constexpr qint64 kFilasPorAviso = 500;

// A table of the program as the file has it.
struct TablaFuente {
    QString nombre;
    QStringList columnas; // the file's, in its order
    qint64 declaradas = 0;
};

bool EsNumero(const QVariant& v) {
    const int t = v.typeId();
    return t == QMetaType::LongLong || t == QMetaType::Double || t == QMetaType::Bool;
}

// A value of the file as the destination column keeps it; false when it cannot be one. A
// yes/no of the file becomes 1 or 0 where the program keeps a flag as a whole number.
bool Convertir(const QVariant& v, QMetaType::Type tipo, QVariant* salida) {
    *salida = QVariant();
    if (!v.isValid() || v.isNull())
        return true;
    const bool texto = v.typeId() == QMetaType::QString;
    bool ok = true;
    switch (tipo) {
    case QMetaType::Bool:
        *salida = v.toBool();
        return EsNumero(v);
    case QMetaType::Int:
    case QMetaType::LongLong:
        if (texto) {
            *salida = v.toString().trimmed().toLongLong(&ok);
            return ok;
        }
        *salida = v.toLongLong();
        return EsNumero(v) && v.toDouble() == double(v.toLongLong());
    case QMetaType::Double:
        *salida = texto ? v.toString().trimmed().toDouble(&ok) : v.toDouble();
        return ok && (texto || EsNumero(v));
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const QDateTime m = texto ? Fechas::Leer(v.toString()) : v.toDateTime();
        *salida = Fechas::Texto(m);
        return m.isValid();
    }
    default:
        if (v.typeId() == QMetaType::QByteArray)
            return false;
        *salida = v.typeId() == QMetaType::QDateTime ? Fechas::Texto(v.toDateTime()) : v.toString();
        return true;
    }
}

class Importador {
public:
    Importador(const QString& origen, const QString& destino, const ProgresoImportacion& progreso,
               int esperaMs)
        : ruta_(origen), destino_(destino, esperaMs, &r_.copia), progreso_(progreso) {}

    ResultadoImportacion Ejecutar() {
        // The program's engines would not write an Access file, but nothing is tried on one.
        if (!EsServidor(destino_.Ruta()) && LectorAccess::EsArchivoAccess(destino_.Ruta())) {
            Falla(Estado::Fallo, QStringLiteral("El destino %1 es un archivo de Access; indique "
                                                "una base de datos nueva del programa.")
                                     .arg(destino_.Nombre()));
            return r_;
        }
        if (LeerEstructura() && destino_.Preparar() && destino_.Empezar() && Importar())
            r_.copia.estado = Estado::Hecha;
        return r_;
    }

private:
    bool Falla(Estado e, const QString& causa) {
        r_.copia.estado = e;
        r_.copia.causa = causa;
        return false;
    }

    bool FallaLector() {
        return Falla(lector_.EnUso() ? Estado::EnUso : Estado::OrigenDanado, lector_.Error());
    }

    // What the file has of the program's tables, what it lacks and what it has besides.
    bool LeerEstructura() {
        if (!lector_.Abrir(ruta_))
            return FallaLector();
        QStringList enArchivo = lector_.Tablas();
        QStringList faltan;
        QStringList vistas;
        for (const Esquema::DefTabla& def : Esquema::Tablas()) {
            const QString nombre = QString::fromLatin1(def.nombre);
            // A table's later entries only add columns, which an older file may lack.
            if (!Esquema::TablasDeDatos().contains(nombre) || vistas.contains(nombre))
                continue;
            vistas << nombre;
            const qsizetype i = PosicionNombre(enArchivo, nombre);
            if (i < 0) {
                (def.desde == 1 ? faltan : r_.ausentes) << nombre;
                continue;
            }
            enArchivo.removeAt(i);
            TablaFuente t{nombre, {}, 0};
            if (!lector_.AbrirTabla(nombre, &t.columnas, &t.declaradas))
                return FallaLector();
            QStringList sinColumna;
            for (const QString& c : def.columnas)
                if (!t.columnas.contains(c, Qt::CaseInsensitive))
                    sinColumna << nombre + QLatin1Char('.') + c;
            // Not one of its columns: a definition page that cannot be read, not an old table.
            if (sinColumna.size() == def.columnas.size())
                return Falla(Estado::OrigenDanado,
                             QStringLiteral("El archivo de Access está dañado: no se puede leer "
                                            "la definición de la tabla %1.")
                                 .arg(nombre));
            if (def.desde == 1)
                faltan << sinColumna;
            total_ += t.declaradas;
            tablas_ << t;
        }
        r_.ignoradas = enArchivo;
        if (!faltan.isEmpty())
            return Falla(Estado::Fallo,
                         QStringLiteral("Al archivo de Access le falta lo que el programa "
                                        "necesita: %1.")
                             .arg(faltan.join(QStringLiteral(", "))));
        return true;
    }

    bool Importar() {
        for (const TablaFuente& t : tablas_)
            if (!ImportarTabla(t))
                return false;
        r_.origen = fuente_.Resultado();
        if (!ConciliarDestino())
            return false;
        bool iguales = false;
        TextoConciliacion(r_.origen, r_.destino, &iguales);
        if (!iguales)
            return Falla(Estado::Fallo,
                         QStringLiteral("La conciliación de órdenes y cotizaciones no coincide "
                                        "entre el archivo de Access y el destino; no se guardó "
                                        "nada."));
        return destino_.Confirmar();
    }

    bool ImportarTabla(const TablaFuente& t) {
        QStringList todas, comunes;
        QString clave;
        if (!destino_.Columnas(t.nombre, &todas, &clave))
            return false;
        QList<int> desde; // for each destination column written, its place in the file's rows
        for (int i = 0; i < t.columnas.size(); ++i) {
            const qsizetype d = PosicionNombre(todas, t.columnas[i]);
            if (d < 0) {
                r_.ignoradas << t.nombre + QLatin1Char('.') + t.columnas[i];
                continue;
            }
            comunes << t.columnas[i]; // as the file spells it, for the messages
            desde << i;
        }
        const QList<QMetaType::Type> tipos = destino_.Tipos(t.nombre, comunes);
        const qsizetype posClave = PosicionNombre(comunes, clave);
        const QString nombreClave = posClave >= 0 ? comunes[posClave] : clave;
        QStringList columnas;
        qint64 declaradas = 0;
        qint64 contador = 0;
        if (!lector_.AbrirTabla(t.nombre, &columnas, &declaradas, &contador) ||
            !destino_.EmpezarTabla(t.nombre, comunes))
            return lector_.Error().isEmpty() ? false : FallaLector();
        qint64 leidas = 0;
        qint64 mayorClave = 0;
        QVariantList fila, valores;
        while (lector_.Siguiente(&fila)) {
            ++leidas;
            valores.clear();
            for (int c = 0; c < comunes.size(); ++c) {
                QVariant v;
                if (!Convertir(fila[desde[c]], tipos[c], &v))
                    return FilaInvalida(t.nombre, nombreClave, fila.value(desde.value(posClave)),
                                        QStringLiteral("el valor «%1» de la columna %2 no es "
                                                       "del tipo que guarda el programa")
                                            .arg(fila[desde[c]].toString(), comunes[c]));
                valores << v;
            }
            const QVariant k = valores.value(posClave);
            if (posClave < 0 || k.isNull())
                return FilaInvalida(t.nombre, nombreClave, QStringLiteral("(vacía)"),
                                    QStringLiteral("la fila %1 no tiene clave").arg(leidas));
            mayorClave = std::max(mayorClave, k.toLongLong());
            CifrarClaveAntigua(t.nombre, comunes, &valores);
            Conciliar(t.nombre, comunes, valores);
            if (!destino_.Agregar(valores))
                return false;
            if (++hechas_ % kFilasPorAviso == 0 && progreso_)
                progreso_(hechas_, total_);
        }
        if (!lector_.Error().isEmpty())
            return FallaLector();
        if (progreso_)
            progreso_(hechas_, total_);
        return destino_.TerminarTabla(leidas, t.declaradas) &&
               (contador <= 0 ||
                destino_.FijarContador(t.nombre, clave, std::max(mayorClave + 1, contador)));
    }

    bool FilaInvalida(const QString& tabla, const QString& clave, const QVariant& valorClave,
                      const QString& por) {
        return Falla(Estado::Fallo,
                     QStringLiteral("La fila de la tabla %1 con %2 = %3 del archivo de Access no "
                                    "cumple las reglas de la base de datos: %4.")
                         .arg(tabla, clave, valorClave.toString(), por));
    }

    // The reconciliation's share of a row, as it goes into the destination.
    void Conciliar(const QString& tabla, const QStringList& columnas, const QVariantList& v) {
        const auto valor = [&](const char* c) {
            return v.value(PosicionNombre(columnas, QLatin1String(c)));
        };
        if (tabla == QLatin1String("ordenes"))
            fuente_.Orden(valor("OrdId"), valor("OrdEstado"));
        else if (tabla == QLatin1String("precios"))
            fuente_.Cotizacion(valor("PreId"), valor("OrdId"), valor("PreMoneda"),
                               valor("PrePrecio"), valor("PreAceptado"));
    }

    bool ConciliarDestino() {
        Conciliador c;
        QSqlQuery q;
        const QString que = QStringLiteral("No se pudo leer la conciliación del destino");
        if (!destino_.Sql(QStringLiteral("SELECT OrdId, OrdEstado FROM ordenes"), que, {}, &q))
            return false;
        while (q.next())
            c.Orden(q.value(0), q.value(1));
        if (!destino_.Sql(QStringLiteral("SELECT PreId, OrdId, PreMoneda, PrePrecio, PreAceptado "
                                         "FROM precios"),
                          que, {}, &q))
            return false;
        while (q.next())
            c.Cotizacion(q.value(0), q.value(1), q.value(2), q.value(3), q.value(4));
        r_.destino = c.Resultado();
        return true;
    }

    const QString ruta_;
    ResultadoImportacion r_;
    LectorAccess lector_;
    DestinoCopia destino_;
    ProgresoImportacion progreso_;
    QList<TablaFuente> tablas_;
    Conciliador fuente_;
    qint64 total_ = 0;
    qint64 hechas_ = 0;
};

} // namespace

bool EsArchivoAccess(const QString& ruta) {
    return LectorAccess::EsArchivoAccess(ruta);
}

ResultadoImportacion ImportarAccess(const QString& origen, const QString& destino,
                                    const ProgresoImportacion& progreso, int esperaMs) {
    ResultadoImportacion r = Importador(origen, destino, progreso, esperaMs).Ejecutar();
    if (!r.Hecha())
        r.copia.filas.clear();
    return r;
}

QStringList InformeImportacion(const ResultadoImportacion& r) {
    QStringList lineas;
    qsizetype ancho = 20;
    for (const FilasDeTabla& f : r.copia.filas)
        ancho = std::max(ancho, f.tabla.size());
    lineas << QStringLiteral("%1 %2 %3")
                  .arg(QStringLiteral("Tabla"), -int(ancho))
                  .arg(QStringLiteral("leídas"), 10)
                  .arg(QStringLiteral("escritas"), 10);
    for (const FilasDeTabla& f : r.copia.filas)
        lineas << QStringLiteral("%1 %2 %3")
                      .arg(f.tabla, -int(ancho))
                      .arg(f.origen, 10)
                      .arg(f.destino, 10);
    lineas << QString() << TextoConciliacion(r.origen, r.destino);
    if (!r.ignoradas.isEmpty())
        lineas << QString()
               << QStringLiteral("No se importó (el programa no lo usa): %1.")
                      .arg(r.ignoradas.join(QStringLiteral(", ")));
    if (!r.ausentes.isEmpty())
        lineas << QString()
               << QStringLiteral("El archivo no tiene %1; quedan vacías.")
                      .arg(r.ausentes.join(QStringLiteral(", ")));
    return lineas;
}
