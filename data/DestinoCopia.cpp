#include "BaseCopia.h"

#include "Esquema.h"
#include "Fechas.h"
#include "MotorSqlite.h"
#include "Valores.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlRecord>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <utility>

namespace {

using Estado = ResultadoCopia::Estado;

const QString kConexionDestino = QStringLiteral("QUIMBEL_COPIA_DESTINO");
// Rows per INSERT: far fewer round trips to a server, well inside either engine's limit of
// bound values.
constexpr int kFilasPorInsercion = 100;

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

} // namespace

struct DestinoCopia::Tabla {
    QString nombre;
    QStringList columnas;
    QList<QMetaType::Type> tipos;
    QString clave;
    qsizetype posicionClave = -1;
    QSqlQuery completa;
    QVariantList lote;
    qint64 agregadas = 0;
};

DestinoCopia::DestinoCopia(const QString& ruta, int esperaMs, ResultadoCopia* r)
    : BaseCopia(kConexionDestino, ruta, false, esperaMs, r) {}

DestinoCopia::~DestinoCopia() {
    tabla_.reset();
    Cerrar();
    if (creado_ && !confirmada_)
        QFile::remove(Ruta());
}

bool DestinoCopia::Preparar() {
    QString error;
    if (!EsServidor() && !QFileInfo::exists(Ruta())) {
        if (!Esquema::Crear(Ruta(), &error))
            return Falla(Estado::Fallo, error);
        creado_ = true;
    }
    if (EsServidor()) {
        // A server database made empty for the purpose (createdb) gets the schema first; one
        // that already has tables is checked as it is.
        PGconn* db = Esquema::ConectarServidor(Ruta(), &error);
        if (!db)
            return Falla(Estado::Fallo, error);
        PGresult* r = PQexec(db, "SELECT count(*) FROM pg_tables WHERE schemaname = "
                                 "current_schema()");
        const bool vacia = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) == 1 &&
                           QByteArray(PQgetvalue(r, 0, 0)) == "0";
        PQclear(r);
        PQfinish(db);
        if (vacia && !Esquema::Crear(Ruta(), &error))
            return Falla(Estado::Fallo, error);
    }
    return Abrir();
}

bool DestinoCopia::Empezar() {
    const QString inicio = QStringLiteral("No se pudo empezar a escribir en el destino");
    if (EsServidor()) {
        if (!Sql(QStringLiteral("BEGIN"), inicio))
            return false;
        enTransaccion_ = true;
        if (!Sql(QStringLiteral("SET LOCAL lock_timeout = %1").arg(esperaMs_), inicio))
            return false;
        for (const QString& t : Esquema::TablasDeDatos())
            if (!Sql(QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(t), inicio))
                return false;
    } else {
        if (!Sql(QStringLiteral("BEGIN IMMEDIATE"), inicio))
            return false;
        enTransaccion_ = true;
    }
    return DestinoVacio();
}

bool DestinoCopia::DestinoVacio() {
    for (const QString& t : Esquema::TablasDeDatos()) {
        qint64 n = 0;
        if (!Contar(t, &n))
            return false;
        if (n > 0)
            return Falla(Estado::DestinoConDatos,
                         QStringLiteral("La base de datos %1 ya contiene datos (tabla %2); no se "
                                        "copia sobre ella. Indique una base de datos nueva o "
                                        "vacía.")
                             .arg(Nombre(), t));
    }
    return true;
}

bool DestinoCopia::Columnas(const QString& tabla, QStringList* nombres, QString* clave) {
    const QSqlRecord registro = Db().record(tabla);
    *clave = Db().primaryIndex(tabla).fieldName(0);
    nombres->clear();
    for (int i = 0; i < registro.count(); ++i)
        *nombres << registro.fieldName(i);
    if (nombres->isEmpty() || clave->isEmpty())
        return Falla(Estado::Fallo,
                     QStringLiteral("El destino no tiene la tabla %1 completa.").arg(tabla));
    return true;
}

QList<QMetaType::Type> DestinoCopia::Tipos(const QString& tabla, const QStringList& columnas) {
    QList<QMetaType::Type> tipos;
    sqlite3* h = MotorSqlite::HandleDe(Db());
    if (!h) {
        const QSqlRecord registro = Db().record(tabla);
        for (const QString& c : columnas)
            tipos << static_cast<QMetaType::Type>(registro.field(c).metaType().id());
        return tipos;
    }
    sqlite3_stmt* st = nullptr;
    const QByteArray sql =
        QStringLiteral("SELECT %1 FROM %2").arg(columnas.join(QLatin1Char(',')), tabla).toUtf8();
    sqlite3_prepare_v2(h, sql.constData(), -1, &st, nullptr);
    for (int i = 0; i < columnas.size(); ++i) {
        switch (Valores::TipoDeclarado(st ? sqlite3_column_decltype(st, i) : nullptr)) {
        case Valores::TipoColumna::Booleano:
            tipos << QMetaType::Bool;
            break;
        case Valores::TipoColumna::Fecha:
            tipos << QMetaType::QDateTime;
            break;
        case Valores::TipoColumna::Entero:
            tipos << QMetaType::LongLong;
            break;
        case Valores::TipoColumna::Doble:
            tipos << QMetaType::Double;
            break;
        default:
            tipos << QMetaType::QString;
        }
    }
    sqlite3_finalize(st);
    return tipos;
}

QString DestinoCopia::Insercion(int filas) const {
    QStringList marcas(tabla_->columnas.size(), QStringLiteral("?"));
    const QString fila = QLatin1Char('(') + marcas.join(QLatin1Char(',')) + QLatin1Char(')');
    QStringList valores(filas, fila);
    // Keys are given, not drawn from the server's counter.
    const QString tomar = EsServidor() ? QStringLiteral(" OVERRIDING SYSTEM VALUE") : QString();
    return QStringLiteral("INSERT INTO %1 (%2)%3 VALUES %4")
        .arg(tabla_->nombre, tabla_->columnas.join(QStringLiteral(", ")), tomar,
             valores.join(QStringLiteral(", ")));
}

bool DestinoCopia::EmpezarTabla(const QString& tabla, const QStringList& columnas) {
    tabla_ = std::make_unique<Tabla>();
    tabla_->nombre = tabla;
    if (!Columnas(tabla, &tabla_->columnas, &tabla_->clave))
        return false;
    if (!columnas.isEmpty())
        tabla_->columnas = columnas;
    tabla_->posicionClave = PosicionNombre(tabla_->columnas, tabla_->clave);
    const QSqlRecord registro = Db().record(tabla);
    for (const QString& c : tabla_->columnas)
        tabla_->tipos << static_cast<QMetaType::Type>(registro.field(c).metaType().id());
    tabla_->completa = QSqlQuery(Db());
    if (!tabla_->completa.prepare(Insercion(kFilasPorInsercion)))
        return FallaSql(tabla_->completa.lastError(),
                        QStringLiteral("No se pudo escribir la tabla %1").arg(tabla));
    return true;
}

bool DestinoCopia::Escribir(QSqlQuery& q) {
    // A refused statement spoils a server's whole transaction, and the rows are then tried one
    // by one to name the refused one; the file engine undoes the statement alone.
    const bool marca = EsServidor();
    const QString que = QStringLiteral("No se pudo escribir la tabla %1").arg(tabla_->nombre);
    if (marca && !Sql(QStringLiteral("SAVEPOINT lote"), que))
        return false;
    const QVariantList lote = std::exchange(tabla_->lote, {});
    for (int i = 0; i < lote.size(); ++i)
        q.bindValue(i, lote[i]);
    if (q.exec())
        return !marca || Sql(QStringLiteral("RELEASE SAVEPOINT lote"), que);
    const QSqlError error = q.lastError();
    if (marca && !Sql(QStringLiteral("ROLLBACK TO SAVEPOINT lote"), que))
        return false;
    return NombrarFilaRechazada(lote, error);
}

bool DestinoCopia::NombrarFilaRechazada(const QVariantList& lote, const QSqlError& error) {
    const qsizetype n = tabla_->columnas.size();
    QSqlQuery una(Db());
    if (tabla_->posicionClave >= 0 && una.prepare(Insercion(1))) {
        for (qsizetype fila = 0; fila + n <= lote.size(); fila += n) {
            for (qsizetype c = 0; c < n; ++c)
                una.bindValue(int(c), lote[fila + c]);
            if (una.exec())
                continue;
            const QSqlError rechazo = una.lastError();
            // Back to a transaction that still takes statements, so that the driver can free
            // its own before everything is rolled back.
            if (EsServidor())
                QSqlQuery(Db()).exec(QStringLiteral("ROLLBACK TO SAVEPOINT lote"));
            return FallaSql(rechazo,
                            QStringLiteral("La fila de la tabla %1 con %2 = %3 no "
                                           "cumple las reglas de la base de datos")
                                .arg(tabla_->nombre, tabla_->columnas[tabla_->posicionClave],
                                     lote[fila + tabla_->posicionClave].toString()));
        }
    }
    return FallaSql(error, QStringLiteral("No se pudo escribir la tabla %1").arg(tabla_->nombre));
}

bool DestinoCopia::Agregar(const QVariantList& fila) {
    for (int c = 0; c < tabla_->tipos.size(); ++c)
        tabla_->lote << ValorPara(fila.value(c), tabla_->tipos[c]);
    ++tabla_->agregadas;
    return tabla_->agregadas % kFilasPorInsercion != 0 || Escribir(tabla_->completa);
}

bool DestinoCopia::TerminarTabla(qint64 leidas, qint64 enOrigen) {
    const QString tabla = tabla_->nombre;
    if (!tabla_->lote.isEmpty()) {
        QSqlQuery resto(Db());
        if (!resto.prepare(Insercion(int(tabla_->agregadas % kFilasPorInsercion))))
            return FallaSql(resto.lastError(),
                            QStringLiteral("No se pudo escribir la tabla %1").arg(tabla));
        if (!Escribir(resto))
            return false;
    }
    tabla_.reset();
    qint64 enDestino = 0;
    if (!Contar(tabla, &enDestino))
        return false;
    r_->filas.append({tabla, enOrigen, enDestino});
    if (enOrigen != leidas || enDestino != leidas)
        return Falla(Estado::Fallo, QStringLiteral("La tabla %1 no quedó completa en el destino "
                                                   "(%2 filas leídas, %3 escritas).")
                                        .arg(tabla)
                                        .arg(leidas)
                                        .arg(enDestino));
    return true;
}

bool DestinoCopia::FijarContador(const QString& tabla, const QString& clave, qint64 siguiente) {
    const QString que = QStringLiteral("No se pudo fijar el contador de %1").arg(tabla);
    if (EsServidor())
        return Sql(QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?), ?, false)"), que,
                   {tabla, clave.toLower(), siguiente});
    if (siguiente <= 1)
        return true;
    return Sql(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"), que, {tabla}) &&
           Sql(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"), que,
               {tabla, siguiente - 1});
}

bool DestinoCopia::Confirmar() {
    if (!Sql(QStringLiteral("COMMIT"),
             QStringLiteral("No se pudo confirmar la copia en el destino")))
        return false;
    enTransaccion_ = false;
    confirmada_ = true;
    // Without statistics the server plans the main list's view over freshly copied tables as
    // nested loops, which take minutes on a hundred thousand orders until autovacuum gets round
    // to them. The copy is kept whether or not this succeeds.
    if (EsServidor())
        QSqlQuery(Db()).exec(QStringLiteral("ANALYZE"));
    return true;
}
