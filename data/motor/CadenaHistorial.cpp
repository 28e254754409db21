#include "CadenaHistorial.h"

#include "Fechas.h"
#include "Motor.h"
#include "Reloj.h"

#include <QCryptographicHash>
#include <sqlite3.h>

namespace CadenaHistorial {

const char* const kColumnas =
    "CAST(HisId AS TEXT), CAST(HisCambio AS TEXT), CAST(HisFecha AS TEXT), "
    "CAST(HisLogin AS TEXT), CAST(HisTipo AS TEXT), CAST(HisTabla AS TEXT), "
    "CAST(HisClave AS TEXT), CAST(HisOrdId AS TEXT), CAST(HisCampo AS TEXT), "
    "CAST(HisAnterior AS TEXT), CAST(HisNuevo AS TEXT), HisHuella";

QByteArray Huella(const QByteArray& anterior, const QList<Campo>& campos) {
    QByteArray texto = anterior;
    for (const Campo& c : campos) {
        texto += '|';
        if (!c)
            texto += '~';
        else
            texto += QByteArray::number(c->size()) + ':' + *c;
    }
    return QCryptographicHash::hash(texto, QCryptographicHash::Sha256).toHex();
}

namespace {

// Follows the rows one by one, each against the hash of the one before it.
class Recorrido {
public:
    explicit Recorrido(Estado* e) : e_(e) {}
    void Fila(const QList<Campo>& campos, const QByteArray& guardada,
              const std::optional<QByteArray>& anterior = std::nullopt) {
        const QByteArray previa = anterior ? *anterior : e_->ultima;
        ++e_->filas;
        if (e_->rota == 0 && Huella(previa, campos) != guardada)
            e_->rota = campos.value(0).value_or(QByteArray()).toLongLong();
        if (campos.value(4).value_or(QByteArray()) == kTipoEncadenado.toUtf8()) {
            e_->encadenado = campos.value(0).value_or(QByteArray()).toLongLong();
            e_->fechaEncadenado = QString::fromUtf8(campos.value(2).value_or(QByteArray()));
        }
        e_->ultima = guardada;
    }

private:
    Estado* e_;
};

Campo DeVariante(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return std::nullopt;
    return v.toString().toUtf8();
}

QList<Campo> Campos(const QVector<QVariant>& fila) {
    QList<Campo> c;
    for (int i = 0; i < kCampos; ++i)
        c << DeVariante(fila.value(i));
    return c;
}

Campo DeColumna(sqlite3_stmt* st, int i) {
    if (sqlite3_column_type(st, i) == SQLITE_NULL)
        return std::nullopt;
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    return QByteArray(t ? t : "", sqlite3_column_bytes(st, i));
}

QString SqlFilas() {
    // The key named with its table: the server would sort by the output column of that name,
    // its text.
    return QStringLiteral("SELECT %1 FROM historial ORDER BY historial.HisId")
        .arg(QLatin1String(kColumnas));
}

// The rows of the file in HisId order, each given to `fila`; the engine's text when it fails.
bool LeerFilas(sqlite3* db, const std::function<void(const QList<Campo>&, const Campo&)>& fila,
               QString* error) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, SqlFilas().toUtf8().constData(), -1, &st, nullptr);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        if ((rc = sqlite3_step(st)) != SQLITE_ROW)
            break;
        QList<Campo> campos;
        for (int i = 0; i < kCampos; ++i)
            campos << DeColumna(st, i);
        fila(campos, DeColumna(st, kCampos));
    }
    sqlite3_finalize(st);
    if (rc == SQLITE_DONE)
        return true;
    *error = QString::fromUtf8(sqlite3_errmsg(db));
    return false;
}

} // namespace

QString Estado::Describir() const {
    if (!error.isEmpty())
        return QStringLiteral("No se pudo comprobar la cadena del historial: %1").arg(error);
    if (rota != 0)
        return QStringLiteral("La cadena del historial no se sostiene en la fila %1: esa fila "
                              "fue alterada, o falta o sobra una fila antes de ella.")
            .arg(rota);
    if (filas == 0)
        return QStringLiteral("Historial vacío.");
    if (encadenado != 0)
        return QStringLiteral("Historial íntegro: %1 filas. La cadena da fe desde la fila %2; las "
                              "anteriores se encadenaron al actualizar la base de datos (%3).")
            .arg(filas)
            .arg(encadenado)
            .arg(fechaEncadenado);
    return QStringLiteral("Historial íntegro: %1 filas, encadenadas desde la primera.").arg(filas);
}

Estado Comprobar(const QSqlDatabase& db) {
    Estado e;
    Recorrido r(&e);
    FilasLeidas filas;
    ErrorBD error;
    if (!Motor::Ejecutar(db, SqlFilas(), {}, &filas, false, &error)) {
        e.error = error.descripcion;
        return e;
    }
    for (qsizetype i = 0; i < filas.filas.size(); ++i) {
        const QVector<QVariant> f = filas.filas.Fila(i);
        r.Fila(Campos(f), DeVariante(f.value(kCampos)).value_or(QByteArray()));
    }
    return e;
}

Estado Comprobar(sqlite3* db) {
    Estado e;
    Recorrido r(&e);
    LeerFilas(
        db,
        [&r](const QList<Campo>& campos, const Campo& huella) {
            r.Fila(campos, huella.value_or(QByteArray()));
        },
        &e.error);
    return e;
}

Estado ComprobarOrden(const QSqlDatabase& db, int ordId) {
    Estado e;
    Recorrido r(&e);
    FilasLeidas filas;
    FilasLeidas ultima;
    ErrorBD error;
    const QString sql = QStringLiteral("SELECT %1, (SELECT p.HisHuella FROM historial p WHERE "
                                       "p.HisId < historial.HisId ORDER BY p.HisId DESC LIMIT 1) "
                                       "FROM historial WHERE HisOrdId = ? ORDER BY historial.HisId")
                            .arg(QLatin1String(kColumnas));
    if (!Motor::Ejecutar(db, sql, {ordId}, &filas, false, &error) ||
        !Motor::Ejecutar(db,
                         QStringLiteral("SELECT HisHuella FROM historial ORDER BY HisId DESC "
                                        "LIMIT 1"),
                         {}, &ultima, false, &error)) {
        e.error = error.descripcion;
        return e;
    }
    for (qsizetype i = 0; i < filas.filas.size(); ++i) {
        const QVector<QVariant> f = filas.filas.Fila(i);
        r.Fila(Campos(f), DeVariante(f.value(kCampos)).value_or(QByteArray()),
               DeVariante(f.value(kCampos + 1)).value_or(QByteArray()));
    }
    e.ultima = ultima.filas.Valor(0, 0).toString().toUtf8();
    return e;
}

namespace {

bool Paso(sqlite3* db, sqlite3_stmt* st, QString* error) {
    const int rc = sqlite3_step(st);
    sqlite3_reset(st);
    if (rc == SQLITE_DONE)
        return true;
    *error = QString::fromUtf8(sqlite3_errmsg(db));
    return false;
}

} // namespace

bool EncadenarExistentes(sqlite3* db, QString* error) {
    struct Fila {
        QList<Campo> campos;
    };
    QList<Fila> filas;
    if (!LeerFilas(
            db, [&filas](const QList<Campo>& c, const Campo&) { filas.append({c}); }, error))
        return false;
    if (filas.isEmpty())
        return true;
    sqlite3_stmt* actualizar = nullptr;
    sqlite3_stmt* insertar = nullptr;
    bool ok = sqlite3_prepare_v2(db, "UPDATE historial SET HisHuella = ? WHERE HisId = ?", -1,
                                 &actualizar, nullptr) == SQLITE_OK &&
              sqlite3_prepare_v2(db,
                                 "INSERT INTO historial (HisId, HisFecha, HisTipo, HisTabla, "
                                 "HisCampo, HisNuevo, HisHuella) VALUES (?, ?, ?, ?, ?, ?, ?)",
                                 -1, &insertar, nullptr) == SQLITE_OK;
    if (!ok)
        *error = QString::fromUtf8(sqlite3_errmsg(db));
    QByteArray huella;
    qint64 id = 0;
    for (const Fila& f : filas) {
        if (!ok)
            break;
        huella = Huella(huella, f.campos);
        id = f.campos[0].value_or(QByteArray()).toLongLong();
        sqlite3_bind_text(actualizar, 1, huella.constData(), int(huella.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(actualizar, 2, id);
        ok = Paso(db, actualizar, error);
    }
    // The line that says so comes after them, chained as every later line will be.
    const QByteArray fecha = Fechas::Texto(Reloj::Ahora()).toUtf8();
    const QByteArray tipo = kTipoEncadenado.toUtf8();
    const QByteArray tabla = "historial";
    const QByteArray campo = "HisHuella";
    const QByteArray nuevo = QStringLiteral("%1 filas anteriores encadenadas al actualizar la base "
                                            "de datos")
                                 .arg(filas.size())
                                 .toUtf8();
    const QByteArray linea = QByteArray::number(id + 1);
    huella = Huella(huella, {linea, std::nullopt, fecha, std::nullopt, tipo, tabla, std::nullopt,
                             std::nullopt, campo, std::nullopt, nuevo});
    if (ok) {
        sqlite3_bind_int64(insertar, 1, id + 1);
        int i = 2;
        const QByteArray* const textos[] = {&fecha, &tipo, &tabla, &campo, &nuevo, &huella};
        for (const QByteArray* t : textos)
            sqlite3_bind_text(insertar, i++, t->constData(), int(t->size()), SQLITE_TRANSIENT);
        ok = Paso(db, insertar, error);
    }
    sqlite3_finalize(actualizar);
    sqlite3_finalize(insertar);
    return ok;
}

} // namespace CadenaHistorial
