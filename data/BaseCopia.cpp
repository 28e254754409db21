#include "BaseCopia.h"

#include "Ejecutor.h"
#include "Esquema.h"
#include "Motor.h"
#include "MotorSqlite.h"

#include <QDir>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

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

} // namespace

qsizetype PosicionNombre(const QStringList& nombres, const QString& nombre) {
    for (qsizetype i = 0; i < nombres.size(); ++i)
        if (nombres[i].compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

BaseCopia::BaseCopia(const QString& conexion, const QString& ruta, bool esOrigen, int esperaMs,
                     ResultadoCopia* r)
    : esperaMs_(esperaMs), r_(r), conexion_(conexion), ruta_(ruta), esOrigen_(esOrigen) {}

BaseCopia::~BaseCopia() {
    Cerrar();
}

QString BaseCopia::Nombre() const {
    return QStringLiteral("«") + (::EsServidor(ruta_) ? ruta_ : QDir::toNativeSeparators(ruta_)) +
           QStringLiteral("»");
}

bool BaseCopia::EsServidor() const {
    return ::EsServidor(ruta_);
}

bool BaseCopia::Falla(Estado e, const QString& causa) {
    r_->estado = e;
    r_->causa = causa;
    return false;
}

bool BaseCopia::FallaSql(const QSqlError& e, const QString& que) {
    Estado estado = EstadoDeError(db_, e);
    // A destination that cannot be written is not a damaged source.
    if (estado == Estado::OrigenDanado && !esOrigen_)
        estado = Estado::Fallo;
    return Falla(estado, QStringLiteral("%1: %2").arg(que, e.text()));
}

bool BaseCopia::Sql(const QString& sql, const QString& que, const QVariantList& valores,
                    QSqlQuery* salida) {
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    bool ok = valores.isEmpty() ? q.exec(sql) : q.prepare(sql);
    for (int i = 0; ok && i < valores.size(); ++i)
        q.bindValue(i, valores[i]);
    if (ok && !valores.isEmpty())
        ok = q.exec();
    if (!ok)
        return FallaSql(q.lastError(), que);
    if (salida)
        *salida = std::move(q);
    return true;
}

bool BaseCopia::Valor(const QString& sql, const QString& que, QVariant* v,
                      const QVariantList& valores) {
    QSqlQuery q;
    if (!Sql(sql, que, valores, &q))
        return false;
    *v = q.next() ? q.value(0) : QVariant();
    return true;
}

bool BaseCopia::Abrir() {
    const QString preparar =
        QStringLiteral("No se pudo preparar la conexión con %1.").arg(Nombre());
    if (!CrearOrigenDeDatos(conexion_, ruta_)) {
        QSqlDatabase::removeDatabase(conexion_);
        return Falla(Estado::Fallo, preparar);
    }
    db_ = QSqlDatabase::database(conexion_, false);
    if (!db_.open())
        return FallaSql(db_.lastError(), QStringLiteral("No se pudo abrir %1").arg(Nombre()));
    if (!PrepararConexion(db_))
        return Falla(Estado::Fallo, preparar);
    QStringList faltan;
    if (sqlite3* h = MotorSqlite::HandleDe(db_)) {
        sqlite3_busy_timeout(h, esperaMs_);
        faltan = Esquema::Verificar(h);
        // The copy reads every column this version has. A file of an earlier version that
        // lacks some is left as it is, and the person told how to bring it up to date; one
        // whose upgrade adds nothing to its tables is copied as it stands.
        const int version = Esquema::Version(h);
        if (version > 0 && version < Esquema::kVersion &&
            !Esquema::FaltaParaEstaVersion(h).isEmpty())
            return Falla(Estado::Fallo,
                         QStringLiteral("%1 es de una versión anterior del programa. Ábrala una "
                                        "vez con el programa, que la pone al día, y vuelva a "
                                        "copiarla.")
                             .arg(Nombre()));
    } else {
        faltan = VerificarServidor();
    }
    if (!faltan.isEmpty())
        return Falla(Estado::Fallo,
                     QStringLiteral("%1 no es una base de datos del programa que se pueda usar: "
                                    "%2.")
                         .arg(Nombre(), faltan.join(QStringLiteral("; "))));
    return true;
}

QStringList BaseCopia::VerificarServidor() {
    QString error;
    PGconn* db = Esquema::ConectarServidor(ruta_, &error);
    const QStringList faltan = db ? Esquema::Verificar(db) : QStringList{error};
    PQfinish(db);
    return faltan;
}

bool BaseCopia::EmpezarLectura() {
    const QString que = QStringLiteral("No se pudo empezar la lectura del origen");
    if (EsServidor()) {
        // Every table read as of one moment, without waiting for anyone's writes.
        if (!Sql(QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"), que))
            return false;
        enTransaccion_ = true;
        return Sql(QStringLiteral("SET LOCAL lock_timeout = %1").arg(esperaMs_), que);
    }
    enTransaccion_ = Sql(QStringLiteral("BEGIN"), que);
    return enTransaccion_;
}

bool BaseCopia::Contar(const QString& tabla, qint64* filas) {
    QVariant n;
    if (!Valor(QStringLiteral("SELECT count(*) FROM %1").arg(tabla),
               QStringLiteral("No se pudo contar la tabla %1").arg(tabla), &n))
        return false;
    *filas = n.toLongLong();
    return true;
}

bool BaseCopia::SiguienteClave(const QString& tabla, const QString& clave, qint64* siguiente) {
    const QString que = QStringLiteral("No se pudo leer el contador de %1").arg(tabla);
    QVariant v;
    if (!Valor(QStringLiteral("SELECT max(%1) FROM %2").arg(clave, tabla), que, &v))
        return false;
    *siguiente = v.toLongLong() + 1;
    if (!EsServidor()) {
        if (!Valor(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"), que, &v,
                   {tabla}))
            return false;
        *siguiente = std::max(*siguiente, v.toLongLong() + 1);
        return true;
    }
    if (!Valor(QStringLiteral("SELECT pg_get_serial_sequence(?, ?)"), que, &v,
               {tabla, clave.toLower()}))
        return false;
    if (v.isNull())
        return true;
    QSqlQuery q;
    if (!Sql(QStringLiteral("SELECT last_value, is_called FROM %1").arg(v.toString()), que, {}, &q))
        return false;
    if (q.next())
        *siguiente = std::max(*siguiente, q.value(0).toLongLong() + (q.value(1).toBool() ? 1 : 0));
    return true;
}

void BaseCopia::Cerrar() {
    if (!db_.isValid())
        return;
    if (enTransaccion_)
        QSqlQuery(db_).exec(QStringLiteral("ROLLBACK"));
    enTransaccion_ = false;
    CerrarBase(db_);
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(conexion_);
}
