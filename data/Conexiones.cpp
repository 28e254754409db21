#include "Conexiones.h"

#include "Dialecto.h"
#include "ErrorMotor.h"
#include "Esquema.h"
#include "Mensajes.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <sqlite3.h>

QSqlDatabase gConexion;

namespace {

std::function<void()>& manejadorFallo() {
    static std::function<void()> f;
    return f;
}

QList<ErrorBD>& ultimos() {
    static QList<ErrorBD> e;
    return e;
}

void Reportar(const QList<ErrorBD>& errores) {
    ultimos() = errores;
    for (const ErrorBD& e : errores)
        Mensajes::MsgBox(QStringLiteral("Error número: ") + QString::number(e.numero) +
                         QLatin1Char('\r') + e.descripcion);
}

ErrorBD ErrorDe(sqlite3* db) {
    return {sqlite3_extended_errcode(db), DescribirErrorMotor(db)};
}

QString TextoFecha(const QDateTime& m) {
    return m.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The form TextoFecha writes ("yyyy-MM-dd HH:mm:ss", or the date alone), read without the
// general parser: a long list reads one date per row, and the parser costs most of the query.
QDateTime LeerFechaGuardada(const QString& s) {
    const qsizetype n = s.size();
    if (n != 10 && n != 19)
        return {};
    int v[6] = {0, 0, 0, 0, 0, 0};
    const int inicio[6] = {0, 5, 8, 11, 14, 17};
    const int largo[6] = {4, 2, 2, 2, 2, 2};
    const char separador[6] = {'-', '-', ' ', ':', ':', 0};
    const int partes = n == 10 ? 3 : 6;
    for (int p = 0; p < partes; ++p) {
        for (int k = 0; k < largo[p]; ++k) {
            const char16_t c = s[inicio[p] + k].unicode();
            if (c < u'0' || c > u'9')
                return {};
            v[p] = v[p] * 10 + (c - u'0');
        }
        const int despues = inicio[p] + largo[p];
        if (despues < n && s[despues] != QLatin1Char(separador[p]))
            return {};
    }
    const QDate d(v[0], v[1], v[2]);
    const QTime t(v[3], v[4], v[5]);
    if (!d.isValid() || !t.isValid())
        return {};
    return QDateTime(d, t);
}

QDateTime LeerFecha(const QString& s) {
    const QDateTime rapida = LeerFechaGuardada(s);
    if (rapida.isValid())
        return rapida;
    for (const char* f : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd"}) {
        QDateTime m = QDateTime::fromString(s, QLatin1String(f));
        if (m.isValid())
            return m;
    }
    QDateTime m = QDateTime::fromString(s, Qt::ISODate);
    if (m.isValid())
        return m;
    const QDate d = QLocale().toDate(s, QLocale::ShortFormat);
    return d.isValid() ? d.startOfDay() : QDateTime();
}

enum class TipoColumna { Libre, Entero, Doble, Booleano, Fecha, Texto };

TipoColumna TipoDeclarado(const char* decl) {
    if (!decl)
        return TipoColumna::Libre;
    const QByteArray d = QByteArray(decl).toUpper();
    if (d.contains("BOOL"))
        return TipoColumna::Booleano;
    if (d.contains("DATE") || d.contains("TIME"))
        return TipoColumna::Fecha;
    if (d.contains("INT"))
        return TipoColumna::Entero;
    if (d.contains("DOUB") || d.contains("REAL") || d.contains("FLOA") || d.contains("NUM"))
        return TipoColumna::Doble;
    if (d.contains("CHAR") || d.contains("TEXT") || d.contains("CLOB"))
        return TipoColumna::Texto;
    return TipoColumna::Libre;
}

QVariant Entero(sqlite3_int64 v) {
    if (v >= INT_MIN && v <= INT_MAX)
        return QVariant(static_cast<int>(v));
    return QVariant(static_cast<qlonglong>(v));
}

QVariant LeerValor(sqlite3_stmt* st, int i, TipoColumna tipo) {
    const int clase = sqlite3_column_type(st, i);
    if (clase == SQLITE_NULL)
        return {};
    switch (tipo) {
    case TipoColumna::Booleano:
        return QVariant(sqlite3_column_int64(st, i) != 0);
    case TipoColumna::Fecha: {
        if (clase == SQLITE_TEXT) {
            const QDateTime m = LeerFecha(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                  sqlite3_column_bytes(st, i)));
            if (m.isValid())
                return m;
        }
        break;
    }
    case TipoColumna::Doble:
        if (clase == SQLITE_INTEGER || clase == SQLITE_FLOAT)
            return QVariant(sqlite3_column_double(st, i));
        break;
    case TipoColumna::Entero:
        if (clase == SQLITE_INTEGER)
            return Entero(sqlite3_column_int64(st, i));
        break;
    default:
        break;
    }
    switch (clase) {
    case SQLITE_INTEGER:
        return Entero(sqlite3_column_int64(st, i));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st, i));
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)),
                          sqlite3_column_bytes(st, i));
    default:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                                 sqlite3_column_bytes(st, i));
    }
}

int Vincular(sqlite3_stmt* st, int i, const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return sqlite3_bind_null(st, i);
    switch (v.typeId()) {
    case QMetaType::Bool:
        return sqlite3_bind_int(st, i, v.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return sqlite3_bind_int64(st, i, v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(st, i, v.toDouble());
    case QMetaType::QDateTime:
        return sqlite3_bind_text(st, i, TextoFecha(v.toDateTime()).toUtf8().constData(), -1,
                                 SQLITE_TRANSIENT);
    case QMetaType::QDate:
        return sqlite3_bind_text(st, i, TextoFecha(v.toDate().startOfDay()).toUtf8().constData(),
                                 -1, SQLITE_TRANSIENT);
    default: {
        const QByteArray t = v.toString().toUtf8();
        return sqlite3_bind_text(st, i, t.constData(), static_cast<int>(t.size()),
                                 SQLITE_TRANSIENT);
    }
    }
}

// Runs every statement of `sql` (a stored command may hold several) with the values bound by
// position; the rows of the last statement that produces rows go into rs.
bool Ejecutar(sqlite3* db, const QString& sql, const QVariantList& valores, Recordset& rs,
              bool varias, ErrorBD* error) {
    const QByteArray texto = sql.toUtf8();
    const char* resto = texto.constData();
    bool huboFilas = false;
    QStringList nombres;
    QVector<QVector<QVariant>> filas;
    while (resto && *resto) {
        sqlite3_stmt* st = nullptr;
        const char* siguiente = nullptr;
        if (sqlite3_prepare_v2(db, resto, -1, &st, &siguiente) != SQLITE_OK) {
            *error = ErrorDe(db);
            return false;
        }
        if (!st) { // only blanks or a comment were left
            resto = siguiente;
            continue;
        }
        const int nParam = sqlite3_bind_parameter_count(st);
        for (int i = 1; i <= nParam; ++i) {
            if (Vincular(st, i, valores.value(i - 1)) != SQLITE_OK) {
                *error = ErrorDe(db);
                sqlite3_finalize(st);
                return false;
            }
        }
        const int nCol = sqlite3_column_count(st);
        QVector<TipoColumna> tipos(nCol);
        QStringList cols;
        for (int c = 0; c < nCol; ++c) {
            tipos[c] = TipoDeclarado(sqlite3_column_decltype(st, c));
            cols << QString::fromUtf8(sqlite3_column_name(st, c));
        }
        QVector<QVector<QVariant>> leidas;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            QVector<QVariant> fila(nCol);
            for (int c = 0; c < nCol; ++c)
                fila[c] = LeerValor(st, c, tipos[c]);
            leidas.append(std::move(fila));
        }
        if (rc != SQLITE_DONE) {
            *error = ErrorDe(db);
            sqlite3_finalize(st);
            return false;
        }
        sqlite3_finalize(st);
        if (nCol > 0) {
            huboFilas = true;
            nombres = cols;
            filas = std::move(leidas);
        }
        resto = siguiente;
        if (!varias) {
            while (resto && *resto && QChar(QLatin1Char(*resto)).isSpace())
                ++resto;
            if (resto && *resto && *resto != ';') {
                *error = {SQLITE_ERROR, QStringLiteral("Se esperaba una sola sentencia SQL.")};
                return false;
            }
            break;
        }
    }
    if (huboFilas)
        rs.Abrir(sql, nombres, std::move(filas));
    return true;
}

bool EjecutarSimple(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

struct Comando {
    QStringList tipos;
    QString sentencias;
};

bool BuscarComando(sqlite3* db, const QString& nombre, Comando* c, ErrorBD* error) {
    Recordset rs;
    if (!Ejecutar(db,
                  QStringLiteral("SELECT parametros, sentencias FROM comandos WHERE nombre = ?"),
                  {nombre}, rs, false, error))
        return false;
    if (rs.AbsolutePosition() <= 0) {
        *error = {SQLITE_ERROR,
                  QStringLiteral("No existe el comando guardado \"%1\".").arg(nombre)};
        return false;
    }
    c->tipos = rs.Texto(QStringLiteral("parametros")).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString& t : c->tipos)
        t = t.trimmed().toUpper();
    c->sentencias = rs.Texto(QStringLiteral("sentencias"));
    return true;
}

bool Convertir(const QVariant& v, const QString& tipo, int n, QVariant* salida, ErrorBD* error) {
    auto falla = [&](const QString& que) {
        *error = {SQLITE_MISMATCH,
                  QStringLiteral("El valor %1 (\"%2\") no es %3.").arg(n).arg(v.toString(), que)};
        return false;
    };
    const bool nulo = !v.isValid() || v.isNull();
    if (tipo == QLatin1String("TEXT")) {
        *salida = nulo ? QString(QLatin1String("")) : v.toString();
        return true;
    }
    if (tipo == QLatin1String("DOUBLE")) {
        bool ok = false;
        double d = 0;
        if (v.typeId() == QMetaType::QString) {
            const QString t = v.toString().trimmed();
            d = QLocale::c().toDouble(t, &ok);
            if (!ok)
                d = QLocale().toDouble(t, &ok);
        } else if (!nulo) {
            d = v.toDouble(&ok);
        }
        if (!ok)
            return falla(QStringLiteral("un número"));
        *salida = d;
        return true;
    }
    if (tipo == QLatin1String("INTEGER") || tipo == QLatin1String("SMALLINT")) {
        bool ok = false;
        qlonglong i = 0;
        if (v.typeId() == QMetaType::Bool) {
            i = v.toBool() ? 1 : 0;
            ok = true;
        } else if (v.typeId() == QMetaType::QString) {
            i = v.toString().trimmed().toLongLong(&ok);
        } else if (!nulo) {
            i = v.toLongLong(&ok);
        }
        if (!ok || i < INT_MIN || i > INT_MAX)
            return falla(QStringLiteral("un número entero"));
        if (tipo == QLatin1String("SMALLINT"))
            i = i != 0 ? 1 : 0; // a ticked box may come as 1, -1 or Qt::Checked
        *salida = static_cast<int>(i);
        return true;
    }
    if (tipo == QLatin1String("DATETIME")) {
        QDateTime m;
        if (v.typeId() == QMetaType::QDateTime)
            m = v.toDateTime();
        else if (v.typeId() == QMetaType::QDate)
            m = v.toDate().startOfDay();
        else if (!nulo)
            m = LeerFecha(v.toString().trimmed());
        if (!m.isValid())
            return falla(QStringLiteral("una fecha"));
        *salida = m;
        return true;
    }
    *salida = v;
    return true;
}

} // namespace

sqlite3* HandleDe(const QSqlDatabase& db) {
    if (!db.isValid() || !db.isOpen())
        return nullptr;
    const QVariant h = db.driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(h.data());
}

sqlite3* HandleConexion() {
    return HandleDe(gConexion);
}

bool PrepararConexion(QSqlDatabase& db) {
    sqlite3* h = HandleDe(db);
    if (!h || !Dialecto::Registrar(h))
        return false;
    sqlite3_busy_timeout(h, kEsperaOcupadoMs);
    return true;
}

bool CrearOrigenDeDatos(const QString& nombre, const QString& ruta) {
    if (QSqlDatabase::contains(nombre)) {
        if (gConexion.isValid() && gConexion.connectionName() == nombre)
            gConexion = QSqlDatabase();
        QSqlDatabase::removeDatabase(nombre);
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
    if (!db.isValid()) {
        Mensajes::MsgBox(QStringLiteral("DSN Creation Failed"));
        return false;
    }
    // mode=rw: opening never creates a missing database file.
    db.setDatabaseName(QUrl::fromLocalFile(ruta).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=rw"));
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kEsperaOcupadoMs));
    db.setUserName(QStringLiteral("Admin"));
    return true;
}

QString RutaDeOrigen(const QString& nombre) {
    const QString uri = QSqlDatabase::database(nombre, false).databaseName();
    return QUrl(uri.left(uri.lastIndexOf(QLatin1Char('?')))).toLocalFile();
}

namespace {

QString Nativa(const QString& ruta) {
    return QStringLiteral("«") + QDir::toNativeSeparators(ruta) + QStringLiteral("»");
}

// Why the file cannot serve as the shared connection's database, or empty when it is open and
// ready in `db`. The causes are told apart for support; the user is shown one message for all.
QString Abrir(QSqlDatabase& db, const QString& ruta) {
    const QFileInfo archivo(ruta);
    const QFileInfo carpeta(archivo.absolutePath());
    if (!carpeta.isDir())
        return QStringLiteral("No existe la carpeta %1.").arg(Nativa(carpeta.filePath()));
    if (!archivo.exists())
        return QStringLiteral("No existe el archivo %1.").arg(Nativa(ruta));
    if (!archivo.isFile())
        return QStringLiteral("%1 no es un archivo.").arg(Nativa(ruta));
    if (!archivo.isWritable())
        return QStringLiteral("El archivo %1 es de solo lectura o no tiene permiso para "
                              "modificarlo.")
            .arg(Nativa(ruta));
    // The engine writes its journal beside the database while saving.
    if (!carpeta.isWritable())
        return QStringLiteral("No tiene permiso para escribir en la carpeta %1.")
            .arg(Nativa(carpeta.filePath()));
    if (!db.open())
        return QStringLiteral("No se puede abrir el archivo %1 (%2).")
            .arg(Nativa(ruta), db.lastError().text());
    sqlite3* h = HandleDe(db);
    QString causa;
    if (!PrepararConexion(db))
        causa = QStringLiteral("No se pudo preparar la conexión con %1.").arg(Nativa(ruta));
    else if (sqlite3_db_readonly(h, "main") != 0)
        causa = QStringLiteral("La base de datos %1 solo se pudo abrir para lectura.")
                    .arg(Nativa(ruta));
    else if (QString error; Esquema::Actualizar(h, &error) == Esquema::Actualizacion::Fallida)
        causa = QStringLiteral("La base de datos %1 no se pudo actualizar a la versión %2: %3.")
                    .arg(Nativa(ruta))
                    .arg(Esquema::kVersion)
                    .arg(error);
    else if (const QStringList faltan = Esquema::Verificar(h); !faltan.isEmpty())
        causa = QStringLiteral("La base de datos %1 no se puede usar: %2.")
                    .arg(Nativa(ruta), faltan.join(QStringLiteral("; ")));
    if (!causa.isEmpty())
        db.close();
    return causa;
}

} // namespace

bool AbrirConexion(const QString& nombre, const QString& password) {
    CerrarConexion();
    QString causa = QStringLiteral("No está registrado el origen de datos %1.").arg(nombre);
    if (QSqlDatabase::contains(nombre)) {
        QSqlDatabase db = QSqlDatabase::database(nombre, false);
        db.setPassword(password);
        causa = Abrir(db, RutaDeOrigen(nombre));
        if (causa.isEmpty())
            gConexion = db;
    }
    if (!causa.isEmpty())
        InformarConexionFallida(causa);
    return causa.isEmpty();
}

void InformarConexionFallida(const QString& causa) {
    Mensajes::MsgBox(
        QStringLiteral("No tiene suficientes permisos en la ubicación actual de la base de datos."),
        Mensajes::Botones::OK, Mensajes::Icono::Informacion, QStringLiteral("Atención"), causa);
    if (manejadorFallo())
        manejadorFallo()();
}

void CerrarConexion() {
    if (gConexion.isValid()) {
        gConexion.close();
        gConexion = QSqlDatabase();
    }
}

bool ConexionAbierta() {
    return gConexion.isValid() && gConexion.isOpen();
}

void AlFallarConexion(std::function<void()> manejador) {
    manejadorFallo() = std::move(manejador);
}

bool EjecutarComando(const QString& nombre, Recordset& rs, const QVariantList& valores) {
    rs = Recordset();
    sqlite3* db = HandleConexion();
    ErrorBD error{SQLITE_MISUSE, QStringLiteral("La conexión con la base de datos está cerrada.")};
    bool ok = false;
    QList<ErrorBD> lista;
    if (db) {
        Comando c;
        if (!BuscarComando(db, nombre, &c, &error)) {
            lista << error;
        } else if (valores.size() != c.tipos.size()) {
            error = {SQLITE_RANGE,
                     QStringLiteral("El comando \"%1\" espera %2 valores y recibió %3.")
                         .arg(nombre)
                         .arg(c.tipos.size())
                         .arg(valores.size())};
        } else {
            QVariantList convertidos;
            bool convertido = true;
            for (int i = 0; i < valores.size() && convertido; ++i) {
                QVariant v;
                convertido = Convertir(valores[i], c.tipos[i], i + 1, &v, &error);
                convertidos << v;
            }
            // Every statement of the command takes effect, or none does.
            if (convertido && EjecutarSimple(db, "SAVEPOINT comando")) {
                ok = Ejecutar(db, c.sentencias, convertidos, rs, true, &error);
                if (ok) {
                    ok = EjecutarSimple(db, "RELEASE comando");
                    if (!ok)
                        error = ErrorDe(db);
                } else {
                    lista << error;
                    EjecutarSimple(db, "ROLLBACK TO comando");
                    EjecutarSimple(db, "RELEASE comando");
                }
            } else if (convertido) {
                error = ErrorDe(db);
                lista << error;
            }
        }
    }
    if (!ok) {
        Reportar(lista);
        Mensajes::MsgBox(QStringLiteral("Error número: ") + error.descripcion);
        ultimos() = lista.isEmpty() ? QList<ErrorBD>{error} : lista;
        rs = Recordset();
    }
    return ok;
}

bool AbrirRecordsetEn(sqlite3* db, const QString& sql, Recordset& rs, const QVariantList& valores) {
    rs = Recordset();
    ErrorBD error;
    if (!db) {
        Reportar(
            {{SQLITE_MISUSE, QStringLiteral("La conexión con la base de datos está cerrada.")}});
        return false;
    }
    if (!Ejecutar(db, sql, valores, rs, false, &error)) {
        rs = Recordset();
        Reportar({error});
        return false;
    }
    return true;
}

bool AbrirRecordset(const QString& sql, Recordset& rs, const QVariantList& valores) {
    return AbrirRecordsetEn(HandleConexion(), sql, rs, valores);
}

void CerrarRecordset(Recordset& rs, bool liberar) {
    rs.Cerrar();
    if (liberar)
        rs = Recordset();
}

QString SqlTexto(const QString& valor) {
    QString r = valor;
    return r.replace(QLatin1Char('\''), QStringLiteral("''"));
}

QList<ErrorBD> UltimosErrores() {
    return ultimos();
}

Transaccion::Transaccion() {
    sqlite3* db = HandleConexion();
    // IMMEDIATE takes the write lock now (waiting for another workstation if need be), so the
    // work inside never fails half-way for want of it.
    activa_ = db && sqlite3_get_autocommit(db) && EjecutarSimple(db, "BEGIN IMMEDIATE");
    if (!activa_ && db)
        Reportar({ErrorDe(db)});
}

Transaccion::~Transaccion() {
    if (activa_)
        EjecutarSimple(HandleConexion(), "ROLLBACK");
}

bool Transaccion::Confirmar() {
    if (!activa_)
        return false;
    sqlite3* db = HandleConexion();
    if (!EjecutarSimple(db, "COMMIT")) {
        Reportar({ErrorDe(db)});
        return false;
    }
    activa_ = false;
    return true;
}
