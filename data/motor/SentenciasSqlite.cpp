#include "SentenciasSqlite.h"

#include <QHash>
#include <QMutex>
#include <sqlite3.h>

namespace SentenciasSqlite {
namespace {

// A list built with values written into its text would otherwise keep every variant.
constexpr int kMaximoPorConexion = 128;

struct Clave {
    QByteArray texto;
    int desde;
    bool operator==(const Clave& o) const { return desde == o.desde && texto == o.texto; }
};

size_t qHash(const Clave& c, size_t semilla = 0) {
    return ::qHash(c.texto, semilla) ^ static_cast<size_t>(c.desde);
}

struct Guardada {
    sqlite3_stmt* st;
    int siguiente;
    std::shared_ptr<Columnas> columnas;
};

using Conexion = QHash<Clave, Guardada>;

QMutex& cerrojo() {
    static QMutex m;
    return m;
}

QHash<sqlite3*, Conexion>& guardadas() {
    static QHash<sqlite3*, Conexion> g;
    return g;
}

bool DeFilas(sqlite3_stmt* st) {
    const QByteArray sql = QByteArray(sqlite3_sql(st)).trimmed().left(8).toUpper();
    for (const char* k : {"SELECT", "INSERT", "UPDATE", "DELETE", "WITH", "REPLACE"})
        if (sql.startsWith(k))
            return true;
    return false;
}

// Room for one more: the statements not being stepped right now are let go.
void HacerLugar(Conexion& c) {
    if (c.size() < kMaximoPorConexion)
        return;
    for (auto it = c.begin(); it != c.end();) {
        if (it->st && sqlite3_stmt_busy(it->st)) {
            ++it;
            continue;
        }
        sqlite3_finalize(it->st);
        it = c.erase(it);
    }
}

} // namespace

bool Tomar(sqlite3* db, const QByteArray& texto, int desde, Sentencia* s) {
    QMutexLocker l(&cerrojo());
    Conexion& c = guardadas()[db];
    const Clave clave{texto, desde};
    if (const auto it = c.constFind(clave); it != c.constEnd() && !sqlite3_stmt_busy(it->st)) {
        *s = {it->st, it->siguiente, true, it->columnas};
        return true;
    }
    const char* inicio = texto.constData() + desde;
    const char* resto = nullptr;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v3(db, inicio, static_cast<int>(texto.size()) - desde,
                           SQLITE_PREPARE_PERSISTENT, &st, &resto) != SQLITE_OK)
        return false;
    *s = {st, desde + static_cast<int>(resto - inicio), false, std::make_shared<Columnas>()};
    if (st && DeFilas(st) && !c.contains(clave)) {
        HacerLugar(c);
        c.insert(clave, {st, s->siguiente, s->columnas});
        s->guardada = true;
    }
    return true;
}

void Devolver(const Sentencia& s) {
    if (!s.guardada) {
        sqlite3_finalize(s.st);
        return;
    }
    // Reset at once, so that the next use starts afresh and its values are let go.
    sqlite3_reset(s.st);
    sqlite3_clear_bindings(s.st);
}

void Soltar(sqlite3* db) {
    QMutexLocker l(&cerrojo());
    const Conexion c = guardadas().take(db);
    for (const Guardada& g : c)
        sqlite3_finalize(g.st);
}

} // namespace SentenciasSqlite
