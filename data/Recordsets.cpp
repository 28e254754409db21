// The operations on the shared connection that give record sets, on top of the runner.
#include "Conexiones.h"
#include "Ejecutor.h"
#include "Mensajes.h"
#include "Motor.h"
#include "Valores.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace {

struct Comando {
    QStringList tipos;
    QString sentencias;
};

bool BuscarComando(const QString& nombre, Comando* c, ErrorBD* error) {
    const QString sql =
        QStringLiteral("SELECT parametros, sentencias FROM comandos WHERE nombre = ?");
    FilasLeidas filas;
    if (!Motor::Ejecutar(Conexion(), sql, {nombre}, &filas, false, error))
        return false;
    const Recordset rs = Instantanea(sql, std::move(filas));
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

// On a server protected with a role per person the command runs inside the server's own
// function, which checks the caller's right to it; the key a RETURNING gives keeps its name.
QString Sentencias(const QString& nombre, const Comando& c, const QSqlDatabase& db) {
    if (!Motor::Protegida(db))
        return c.sentencias;
    static const QRegularExpression devuelve(QStringLiteral("\\bRETURNING\\s+(\\w+)"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = devuelve.match(c.sentencias);
    QStringList marcas(c.tipos.size(), QStringLiteral("?"));
    return QStringLiteral(
               "SELECT clave AS %1 FROM quimbel_comando('%2', VARIADIC ARRAY[%3]::text[])")
        .arg(m.hasMatch() ? m.captured(1) : QStringLiteral("clave"),
             QString(nombre).replace(QLatin1Char('\''), QStringLiteral("''")),
             marcas.join(QLatin1Char(',')));
}

// Every statement of the command takes effect, or none does: inside the caller's transaction
// through a savepoint, otherwise in a transaction of its own (the server has no savepoint
// outside a transaction).
bool EjecutarEntero(const QString& nombre, const Comando& c, const QVariantList& valores,
                    Recordset& rs, ErrorBD* error, QList<ErrorBD>* lista) {
    const QSqlDatabase& db = Conexion();
    // On a protected server the command is one call of the server's function, whole or not at
    // all by itself: a transaction or savepoint around it would be two more round trips.
    if (Motor::Protegida(db)) {
        FilasLeidas filas;
        if (!Motor::Ejecutar(db, Sentencias(nombre, c, db), valores, &filas, false, error)) {
            *lista << *error;
            return false;
        }
        rs = Instantanea(c.sentencias, std::move(filas));
        return true;
    }
    const bool propia = !Motor::EnTransaccion(db);
    if (!Motor::Simple(db, propia ? "BEGIN" : "SAVEPOINT comando", error)) {
        *lista << *error;
        return false;
    }
    FilasLeidas filas;
    if (!Motor::Ejecutar(db, Sentencias(nombre, c, db), valores, &filas, true, error)) {
        *lista << *error;
        if (propia) {
            Motor::Revertir(db, "ROLLBACK");
        } else {
            Motor::Revertir(db, "ROLLBACK TO comando");
            Motor::Revertir(db, "RELEASE comando");
        }
        return false;
    }
    rs = Instantanea(c.sentencias, std::move(filas));
    if (Motor::Simple(db, propia ? "COMMIT" : "RELEASE comando", error))
        return true;
    if (propia)
        Motor::Revertir(db, "ROLLBACK");
    return false;
}

} // namespace

bool EjecutarComando(const QString& nombre, Recordset& rs, const QVariantList& valores) {
    rs = Recordset();
    ErrorBD error{SQLITE_MISUSE, QStringLiteral("La conexión con la base de datos está cerrada.")};
    bool ok = false;
    QList<ErrorBD> lista;
    // A lost server connection is tried again (Conexion()), and told as lost if it stays so.
    if (const QSqlDatabase& db = Conexion(); db.isOpen() || Motor::Perdida(db)) {
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
            ok = EjecutarEntero(nombre, c, convertidos, rs, &error, &lista);
        }
    }
    if (!ok) {
        ReportarErrores(lista);
        // A lost connection is told once, and by what it means, not as a statement's error.
        if (!error.conexionPerdida)
            Mensajes::MsgBox(QStringLiteral("Error número: ") + error.descripcion);
        else if (lista.isEmpty()) // the COMMIT or RELEASE that ends the command
            ReportarErrores({error});
        rs = Recordset();
    }
    return ok;
}

bool AbrirRecordsets(const QList<Consulta>& consultas, QList<Recordset>* rs) {
    rs->clear();
    ErrorBD error;
    QList<FilasLeidas> filas;
    if (!Motor::EjecutarLote(Conexion(), consultas, &filas, &error)) {
        ReportarErrores({error});
        return false;
    }
    for (qsizetype i = 0; i < filas.size(); ++i)
        rs->append(Instantanea(consultas[i].sql, std::move(filas[i])));
    return true;
}

bool AbrirRecordset(const QString& sql, Recordset& rs, const QVariantList& valores) {
    return AbrirRecordsetEn(Conexion(), sql, rs, valores);
}

void CerrarRecordset(Recordset& rs, bool liberar) {
    rs.Cerrar();
    if (liberar)
        rs = Recordset();
}
