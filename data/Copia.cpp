#include "Copia.h"

#include "Ejecutor.h"
#include "Esquema.h"
#include "Fechas.h"
#include "Motor.h"
#include "MotorSqlite.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

const QString kConexionOrigen = QStringLiteral("QUIMBEL_COPIA_ORIGEN");
const QString kConexionDestino = QStringLiteral("QUIMBEL_COPIA_DESTINO");
// Rows per INSERT: far fewer round trips to a server, well inside either engine's limit of
// bound values.
constexpr int kFilasPorInsercion = 100;

QString Nombre(const QString& ruta) {
    return QStringLiteral("«") + (EsServidor(ruta) ? ruta : QDir::toNativeSeparators(ruta)) +
           QStringLiteral("»");
}

using Estado = ResultadoCopia::Estado;

Estado EstadoDeError(const QSqlDatabase& db, const QSqlError& e) {
    const QString codigo = e.nativeErrorCode();
    if (Motor::EsServidor(db)) {
        if (codigo == QLatin1String("55P03") || codigo == QLatin1String("57014") ||
            codigo == QLatin1String("40P01"))
            return Estado::EnUso;
        if (codigo == QLatin1String("XX001") || codigo == QLatin1String("XX002"))
            return Estado::OrigenDanado;
        return Estado::Fallo;
    }
    switch (codigo.toInt() & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Estado::EnUso;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return Estado::OrigenDanado;
    default:
        return Estado::Fallo;
    }
}

struct Columna {
    QString nombre;
    QMetaType::Type tipo;
};

// A value as the destination column keeps it: dates in the program's own text form (which the
// server reads as its timestamp), flags as the engine's boolean or 0/1.
QVariant ValorPara(const QVariant& v, QMetaType::Type tipo) {
    if (!v.isValid() || v.isNull())
        return QVariant();
    if (v.typeId() == QMetaType::QDateTime)
        return Fechas::Texto(v.toDateTime());
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("yyyy-MM-dd 00:00:00"));
    switch (tipo) {
    case QMetaType::Bool:
        return v.toBool();
    case QMetaType::Int:
    case QMetaType::LongLong:
        return v.typeId() == QMetaType::QString ? v : QVariant(v.toLongLong());
    case QMetaType::Double:
        return v.typeId() == QMetaType::QString ? v : QVariant(v.toDouble());
    default:
        return v;
    }
}

class Copiador {
public:
    Copiador(const QString& origen, const QString& destino, int esperaMs)
        : rutaOrigen_(origen), rutaDestino_(destino), esperaMs_(esperaMs) {}

    ResultadoCopia Ejecutar() {
        if (Preparar() && Copiar())
            r_.estado = Estado::Hecha;
        else
            r_.filas.clear();
        Cerrar();
        return r_;
    }

private:
    bool Falla(Estado e, const QString& causa) {
        r_.estado = e;
        r_.causa = causa;
        return false;
    }

    bool FallaSql(QSqlDatabase& db, const QSqlError& e, const QString& que) {
        Estado estado = EstadoDeError(db, e);
        // A destination that cannot be written is not a damaged source.
        if (estado == Estado::OrigenDanado && db.connectionName() != kConexionOrigen)
            estado = Estado::Fallo;
        return Falla(estado, QStringLiteral("%1: %2").arg(que, e.text()));
    }

    bool Sql(QSqlDatabase& db, const QString& sql, const QString& que,
             const QVariantList& valores = {}, QSqlQuery* salida = nullptr) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        bool ok = valores.isEmpty() ? q.exec(sql) : q.prepare(sql);
        for (int i = 0; ok && i < valores.size(); ++i)
            q.bindValue(i, valores[i]);
        if (ok && !valores.isEmpty())
            ok = q.exec();
        if (!ok)
            return FallaSql(db, q.lastError(), que);
        if (salida)
            *salida = std::move(q);
        return true;
    }

    bool Valor(QSqlDatabase& db, const QString& sql, const QString& que, QVariant* v,
               const QVariantList& valores = {}) {
        QSqlQuery q;
        if (!Sql(db, sql, que, valores, &q))
            return false;
        *v = q.next() ? q.value(0) : QVariant();
        return true;
    }

    bool Abrir(const QString& nombre, const QString& ruta, QSqlDatabase* db) {
        if (!CrearOrigenDeDatos(nombre, ruta))
            return Falla(
                Estado::Fallo,
                QStringLiteral("No se pudo preparar la conexión con %1.").arg(Nombre(ruta)));
        *db = QSqlDatabase::database(nombre, false);
        if (!db->open())
            return FallaSql(*db, db->lastError(),
                            QStringLiteral("No se pudo abrir %1").arg(Nombre(ruta)));
        if (!PrepararConexion(*db))
            return Falla(
                Estado::Fallo,
                QStringLiteral("No se pudo preparar la conexión con %1.").arg(Nombre(ruta)));
        QStringList faltan;
        if (sqlite3* h = MotorSqlite::HandleDe(*db)) {
            sqlite3_busy_timeout(h, esperaMs_);
            faltan = Esquema::Verificar(h);
        } else {
            faltan = VerificarServidor(ruta);
        }
        if (!faltan.isEmpty())
            return Falla(Estado::Fallo, QStringLiteral("%1 no es una base de datos del "
                                                       "programa que se pueda usar: %2.")
                                            .arg(Nombre(ruta), faltan.join(QStringLiteral("; "))));
        return true;
    }

    QStringList VerificarServidor(const QString& uri) {
        QString error;
        PGconn* db = Esquema::ConectarServidor(uri, &error);
        const QStringList faltan = db ? Esquema::Verificar(db) : QStringList{error};
        PQfinish(db);
        return faltan;
    }

    // A server database made empty for the purpose (createdb) gets the schema first; one that
    // already has tables is checked as it is.
    bool EsquemaEnServidor(const QString& uri) {
        QString error;
        PGconn* db = Esquema::ConectarServidor(uri, &error);
        if (!db)
            return Falla(Estado::Fallo, error);
        PGresult* r = PQexec(db, "SELECT count(*) FROM pg_tables WHERE schemaname = "
                                 "current_schema()");
        const bool vacia = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1 &&
                           QByteArray(PQgetvalue(r, 0, 0)) == "0";
        PQclear(r);
        PQfinish(db);
        if (vacia && !Esquema::Crear(uri, &error))
            return Falla(Estado::Fallo, error);
        return true;
    }

    bool Preparar() {
        if (QFileInfo(rutaOrigen_).absoluteFilePath() == QFileInfo(rutaDestino_).absoluteFilePath())
            return Falla(Estado::Fallo,
                         QStringLiteral("El origen y el destino son la misma base de datos."));
        if (!EsServidor(rutaOrigen_) && !QFileInfo(rutaOrigen_).isFile())
            return Falla(Estado::Fallo,
                         QStringLiteral("No existe el archivo %1.").arg(Nombre(rutaOrigen_)));
        if (!Abrir(kConexionOrigen, rutaOrigen_, &origen_))
            return false;
        if (!EsServidor(rutaDestino_) && !QFileInfo::exists(rutaDestino_)) {
            QString error;
            if (!Esquema::Crear(rutaDestino_, &error))
                return Falla(Estado::Fallo, error);
            creado_ = true;
        }
        if (EsServidor(rutaDestino_) && !EsquemaEnServidor(rutaDestino_))
            return false;
        return Abrir(kConexionDestino, rutaDestino_, &destino_);
    }

    bool Empezar() {
        if (Motor::EsServidor(origen_)) {
            // Every table read as of one moment, without waiting for anyone's writes.
            if (!Sql(origen_, QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"),
                     QStringLiteral("No se pudo empezar la lectura del origen")) ||
                !Sql(origen_, QStringLiteral("SET LOCAL lock_timeout = %1").arg(esperaMs_),
                     QStringLiteral("No se pudo empezar la lectura del origen")))
                return false;
        } else if (!Sql(origen_, QStringLiteral("BEGIN"),
                        QStringLiteral("No se pudo empezar la lectura del origen"))) {
            return false;
        }
        leyendo_ = true;
        const QString inicio = QStringLiteral("No se pudo empezar a escribir en el destino");
        if (Motor::EsServidor(destino_)) {
            if (!Sql(destino_, QStringLiteral("BEGIN"), inicio) ||
                !Sql(destino_, QStringLiteral("SET LOCAL lock_timeout = %1").arg(esperaMs_),
                     inicio))
                return false;
        } else if (!Sql(destino_, QStringLiteral("BEGIN IMMEDIATE"), inicio)) {
            return false;
        }
        escribiendo_ = true;
        if (Motor::EsServidor(destino_))
            for (const QString& t : Esquema::TablasDeDatos())
                if (!Sql(destino_, QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(t),
                         inicio))
                    return false;
        return true;
    }

    bool DestinoVacio() {
        for (const QString& t : Esquema::TablasDeDatos()) {
            QVariant n;
            if (!Valor(destino_, QStringLiteral("SELECT count(*) FROM %1").arg(t),
                       QStringLiteral("No se pudo leer la tabla %1 del destino").arg(t), &n))
                return false;
            if (n.toLongLong() > 0)
                return Falla(Estado::DestinoConDatos,
                             QStringLiteral("La base de datos %1 ya contiene datos (tabla %2); "
                                            "no se copia sobre ella. Indique una base de datos "
                                            "nueva o vacía.")
                                 .arg(Nombre(rutaDestino_), t));
        }
        return true;
    }

    bool Copiar() {
        if (!Empezar() || !DestinoVacio())
            return false;
        for (const QString& t : Esquema::TablasDeDatos())
            if (!CopiarTabla(t))
                return false;
        if (!Sql(destino_, QStringLiteral("COMMIT"),
                 QStringLiteral("No se pudo confirmar la copia en el destino")))
            return false;
        escribiendo_ = false;
        // Without statistics the server plans the main list's view over freshly copied tables
        // as nested loops, which take minutes on a hundred thousand orders until autovacuum
        // gets round to them. The copy is kept whether or not this succeeds.
        if (Motor::EsServidor(destino_))
            QSqlQuery(destino_).exec(QStringLiteral("ANALYZE"));
        return true;
    }

    QList<Columna> ColumnasDestino(const QString& tabla) {
        QList<Columna> r;
        const QSqlRecord registro = destino_.record(tabla);
        for (int i = 0; i < registro.count(); ++i)
            r.append({registro.fieldName(i),
                      static_cast<QMetaType::Type>(registro.field(i).metaType().id())});
        return r;
    }

    QString Insercion(const QString& tabla, const QStringList& nombres, int filas) const {
        QStringList marcas(nombres.size(), QStringLiteral("?"));
        const QString fila = QLatin1Char('(') + marcas.join(QLatin1Char(',')) + QLatin1Char(')');
        QStringList valores(filas, fila);
        // Keys are given, not drawn from the server's counter.
        const QString tomar =
            Motor::EsServidor(destino_) ? QStringLiteral(" OVERRIDING SYSTEM VALUE") : QString();
        return QStringLiteral("INSERT INTO %1 (%2)%3 VALUES %4")
            .arg(tabla, nombres.join(QStringLiteral(", ")), tomar,
                 valores.join(QStringLiteral(", ")));
    }

    bool CopiarTabla(const QString& tabla) {
        const QList<Columna> columnas = ColumnasDestino(tabla);
        const QString clave = destino_.primaryIndex(tabla).fieldName(0);
        if (columnas.isEmpty() || clave.isEmpty())
            return Falla(Estado::Fallo,
                         QStringLiteral("El destino no tiene la tabla %1 completa.").arg(tabla));
        QStringList nombres;
        for (const Columna& c : columnas)
            nombres << c.nombre;
        QSqlQuery lectura;
        if (!Sql(origen_,
                 QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                     .arg(nombres.join(QStringLiteral(", ")), tabla, clave),
                 QStringLiteral("No se pudo leer la tabla %1 del origen").arg(tabla), {}, &lectura))
            return false;
        QSqlQuery completa(destino_);
        if (!completa.prepare(Insercion(tabla, nombres, kFilasPorInsercion)))
            return FallaSql(destino_, completa.lastError(),
                            QStringLiteral("No se pudo escribir la tabla %1").arg(tabla));
        qint64 leidas = 0;
        QVariantList lote;
        auto escribir = [&](QSqlQuery& q) {
            for (int i = 0; i < lote.size(); ++i)
                q.bindValue(i, lote[i]);
            lote.clear();
            return q.exec() ||
                   FallaSql(destino_, q.lastError(),
                            QStringLiteral("No se pudo escribir la tabla %1").arg(tabla));
        };
        while (lectura.next()) {
            for (int c = 0; c < columnas.size(); ++c)
                lote << ValorPara(lectura.value(c), columnas[c].tipo);
            ++leidas;
            if (leidas % kFilasPorInsercion == 0 && !escribir(completa))
                return false;
        }
        if (lectura.lastError().isValid())
            return FallaSql(origen_, lectura.lastError(),
                            QStringLiteral("No se pudo leer la tabla %1 del origen").arg(tabla));
        if (!lote.isEmpty()) {
            QSqlQuery resto(destino_);
            if (!resto.prepare(Insercion(tabla, nombres, int(leidas % kFilasPorInsercion))))
                return FallaSql(destino_, resto.lastError(),
                                QStringLiteral("No se pudo escribir la tabla %1").arg(tabla));
            if (!escribir(resto))
                return false;
        }
        return Contar(tabla, leidas) && Continuar(tabla, clave);
    }

    bool Contar(const QString& tabla, qint64 leidas) {
        QVariant enOrigen, enDestino;
        const QString sql = QStringLiteral("SELECT count(*) FROM %1").arg(tabla);
        if (!Valor(origen_, sql, QStringLiteral("No se pudo contar la tabla %1").arg(tabla),
                   &enOrigen) ||
            !Valor(destino_, sql, QStringLiteral("No se pudo contar la tabla %1").arg(tabla),
                   &enDestino))
            return false;
        r_.filas.append({tabla, enOrigen.toLongLong(), enDestino.toLongLong()});
        if (enOrigen.toLongLong() != leidas || enDestino.toLongLong() != leidas)
            return Falla(Estado::Fallo,
                         QStringLiteral("La tabla %1 no quedó completa en el destino (%2 filas "
                                        "leídas, %3 escritas).")
                             .arg(tabla)
                             .arg(leidas)
                             .arg(enDestino.toLongLong()));
        return true;
    }

    // The next key the table's counter would give, which may lie past the highest key when the
    // last rows were deleted.
    bool SiguienteClave(QSqlDatabase& db, const QString& tabla, const QString& clave,
                        qint64* siguiente) {
        const QString que = QStringLiteral("No se pudo leer el contador de %1").arg(tabla);
        QVariant v;
        if (!Valor(db, QStringLiteral("SELECT max(%1) FROM %2").arg(clave, tabla), que, &v))
            return false;
        *siguiente = v.toLongLong() + 1;
        if (!Motor::EsServidor(db)) {
            if (!Valor(db, QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"), que,
                       &v, {tabla}))
                return false;
            *siguiente = std::max(*siguiente, v.toLongLong() + 1);
            return true;
        }
        if (!Valor(db, QStringLiteral("SELECT pg_get_serial_sequence(?, ?)"), que, &v,
                   {tabla, clave.toLower()}))
            return false;
        if (v.isNull())
            return true;
        QSqlQuery q;
        if (!Sql(db, QStringLiteral("SELECT last_value, is_called FROM %1").arg(v.toString()), que,
                 {}, &q))
            return false;
        if (q.next())
            *siguiente =
                std::max(*siguiente, q.value(0).toLongLong() + (q.value(1).toBool() ? 1 : 0));
        return true;
    }

    bool Continuar(const QString& tabla, const QString& clave) {
        qint64 siguiente = 1;
        if (!SiguienteClave(origen_, tabla, clave, &siguiente))
            return false;
        const QString que = QStringLiteral("No se pudo fijar el contador de %1").arg(tabla);
        if (Motor::EsServidor(destino_))
            return Sql(destino_,
                       QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?), ?, "
                                      "false)"),
                       que, {tabla, clave.toLower(), siguiente});
        if (siguiente <= 1)
            return true;
        return Sql(destino_, QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"), que,
                   {tabla}) &&
               Sql(destino_,
                   QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"), que,
                   {tabla, siguiente - 1});
    }

    void Cerrar() {
        if (escribiendo_)
            QSqlQuery(destino_).exec(QStringLiteral("ROLLBACK"));
        if (leyendo_)
            QSqlQuery(origen_).exec(QStringLiteral("ROLLBACK"));
        CerrarBase(origen_);
        CerrarBase(destino_);
        origen_ = QSqlDatabase();
        destino_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(kConexionOrigen);
        QSqlDatabase::removeDatabase(kConexionDestino);
        if (creado_ && !r_.Hecha())
            QFile::remove(rutaDestino_);
    }

    const QString rutaOrigen_;
    const QString rutaDestino_;
    const int esperaMs_;
    QSqlDatabase origen_;
    QSqlDatabase destino_;
    bool creado_ = false;
    bool leyendo_ = false;
    bool escribiendo_ = false;
    ResultadoCopia r_;
};

} // namespace

ResultadoCopia CopiarBaseDeDatos(const QString& origen, const QString& destino, int esperaMs) {
    return Copiador(origen, destino, esperaMs).Ejecutar();
}
