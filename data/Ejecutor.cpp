#include "Conexiones.h"
#include "Mensajes.h"
#include "Motor.h"
#include "Valores.h"

#include <sqlite3.h>

namespace {

QList<ErrorBD>& ultimos() {
    static QList<ErrorBD> e;
    return e;
}

struct Comando {
    QStringList tipos;
    QString sentencias;
};

bool BuscarComando(const QString& nombre, Comando* c, ErrorBD* error) {
    Recordset rs;
    if (!Motor::Ejecutar(gConexion,
                         QStringLiteral("SELECT parametros, sentencias FROM comandos WHERE "
                                        "nombre = ?"),
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

bool ConvertirTodos(const QVariantList& valores, const QStringList& tipos,
                    QVariantList* convertidos, ErrorBD* error) {
    for (int i = 0; i < valores.size(); ++i) {
        QVariant v;
        if (!Valores::ConvertirParametro(valores[i], tipos[i], i + 1, &v, error))
            return false;
        *convertidos << v;
    }
    return true;
}

// Every statement of the command takes effect, or none does: inside the caller's transaction
// through a savepoint, otherwise in a transaction of its own (the server has no savepoint
// outside a transaction).
bool EjecutarEntero(const Comando& c, const QVariantList& valores, Recordset& rs, ErrorBD* error,
                    QList<ErrorBD>* lista) {
    const bool propia = !Motor::EnTransaccion(gConexion);
    if (!Motor::Simple(gConexion, propia ? "BEGIN" : "SAVEPOINT comando", error)) {
        *lista << *error;
        return false;
    }
    if (!Motor::Ejecutar(gConexion, c.sentencias, valores, rs, true, error)) {
        *lista << *error;
        if (propia) {
            Motor::Simple(gConexion, "ROLLBACK", nullptr);
        } else {
            Motor::Simple(gConexion, "ROLLBACK TO comando", nullptr);
            Motor::Simple(gConexion, "RELEASE comando", nullptr);
        }
        return false;
    }
    if (Motor::Simple(gConexion, propia ? "COMMIT" : "RELEASE comando", error))
        return true;
    if (propia)
        Motor::Simple(gConexion, "ROLLBACK", nullptr);
    return false;
}

} // namespace

void ReportarErrores(const QList<ErrorBD>& errores) {
    ultimos() = errores;
    for (const ErrorBD& e : errores)
        Mensajes::MsgBox(QStringLiteral("Error número: ") + QString::number(e.numero) +
                         QLatin1Char('\r') + e.descripcion);
}

bool EjecutarComando(const QString& nombre, Recordset& rs, const QVariantList& valores) {
    rs = Recordset();
    ErrorBD error{SQLITE_MISUSE, QStringLiteral("La conexión con la base de datos está cerrada.")};
    bool ok = false;
    QList<ErrorBD> lista;
    if (ConexionAbierta()) {
        Comando c;
        QVariantList convertidos;
        if (!BuscarComando(nombre, &c, &error)) {
            lista << error;
        } else if (valores.size() != c.tipos.size()) {
            error = {SQLITE_RANGE,
                     QStringLiteral("El comando \"%1\" espera %2 valores y recibió %3.")
                         .arg(nombre)
                         .arg(c.tipos.size())
                         .arg(valores.size())};
        } else if (ConvertirTodos(valores, c.tipos, &convertidos, &error)) {
            ok = EjecutarEntero(c, convertidos, rs, &error, &lista);
        }
    }
    if (!ok) {
        ReportarErrores(lista);
        Mensajes::MsgBox(QStringLiteral("Error número: ") + error.descripcion);
        ultimos() = lista.isEmpty() ? QList<ErrorBD>{error} : lista;
        rs = Recordset();
    }
    return ok;
}

bool AbrirRecordsetEn(const QSqlDatabase& db, const QString& sql, Recordset& rs,
                      const QVariantList& valores) {
    rs = Recordset();
    ErrorBD error;
    if (!Motor::Ejecutar(db, sql, valores, rs, false, &error)) {
        rs = Recordset();
        ReportarErrores({error});
        return false;
    }
    return true;
}

bool AbrirRecordsets(const QList<Consulta>& consultas, QList<Recordset>* rs) {
    ErrorBD error;
    if (!Motor::EjecutarLote(gConexion, consultas, rs, &error)) {
        rs->clear();
        ReportarErrores({error});
        return false;
    }
    return true;
}

bool InsertarEn(const QSqlDatabase& db, const QString& sql, const QString& columnaClave,
                const QVariantList& valores, QVariant* clave) {
    // The server hands the key back with the insert itself: asking for it afterwards would cost
    // another round trip. The file engine keeps it at hand.
    const bool servidor = Motor::EsServidor(db);
    Recordset rs;
    if (!AbrirRecordsetEn(db, servidor ? sql + QStringLiteral(" RETURNING ") + columnaClave : sql,
                          rs, valores))
        return false;
    *clave = servidor ? (rs.RecordCount() > 0 ? rs.Fila(0).value(0) : QVariant())
                      : QVariant(Motor::UltimaClave(db));
    return true;
}

bool AbrirRecordset(const QString& sql, Recordset& rs, const QVariantList& valores) {
    return AbrirRecordsetEn(gConexion, sql, rs, valores);
}

void CerrarRecordset(Recordset& rs, bool liberar) {
    rs.Cerrar();
    if (liberar)
        rs = Recordset();
}

QList<ErrorBD> UltimosErrores() {
    return ultimos();
}
