#include "SentenciasPg.h"

#include <QHash>
#include <QMutex>
#include <atomic>
#include <libpq-fe.h>

namespace SentenciasPg {
namespace {

constexpr int kMaximoPorConexion = 128;

struct Entrada {
    QByteArray nombre; // empty until its second run
};

// A connection is known by its handle and its server process: a handle freed and allocated
// again for a new connection must not inherit names the new server process never heard of.
struct Clave {
    PGconn* db;
    int proceso;
    bool operator==(const Clave& o) const { return db == o.db && proceso == o.proceso; }
};

size_t qHash(const Clave& c, size_t semilla = 0) {
    return ::qHash(reinterpret_cast<quintptr>(c.db), semilla) ^ static_cast<size_t>(c.proceso);
}

struct Conexion {
    QHash<QByteArray, Entrada> vistas;
    int preparadas = 0;
};

QMutex& cerrojo() {
    static QMutex m;
    return m;
}

QHash<Clave, Conexion>& conexiones() {
    static QHash<Clave, Conexion> c;
    return c;
}

// Names are never used twice in a process, so that one the server still holds after a failed
// DEALLOCATE cannot clash with a new one.
QByteArray NombreNuevo() {
    static std::atomic<quint64> n{0};
    return "quimbel_" + QByteArray::number(++n);
}

bool DeFilas(const QByteArray& texto) {
    const QByteArray inicio = texto.trimmed().left(8).toUpper();
    for (const char* k : {"SELECT", "INSERT", "UPDATE", "DELETE", "WITH"})
        if (inicio.startsWith(k))
            return true;
    return false;
}

void DesalojarEnServidor(PGconn* db) {
    if (PQtransactionStatus(db) == PQTRANS_INERROR)
        return; // only ROLLBACK is taken now; the names are never used again anyway
    PQclear(PQexec(db, "DEALLOCATE ALL"));
}

} // namespace

bool Preparada(PGconn* db, const QByteArray& texto, int parametros, QByteArray* nombre,
               PGresult** error) {
    nombre->clear();
    if (!DeFilas(texto))
        return true;
    QMutexLocker l(&cerrojo());
    Conexion& c = conexiones()[{db, PQbackendPID(db)}];
    const auto it = c.vistas.find(texto);
    if (it == c.vistas.end()) {
        // Mostly texts seen only once; what was prepared goes with them and is prepared again.
        if (c.vistas.size() >= kMaximoPorConexion * 4 || c.preparadas >= kMaximoPorConexion) {
            if (c.preparadas > 0)
                DesalojarEnServidor(db);
            c = Conexion();
        }
        c.vistas.insert(texto, {});
        return true;
    }
    if (!it->nombre.isEmpty()) {
        *nombre = it->nombre;
        return true;
    }
    const QByteArray nuevo = NombreNuevo();
    PGresult* r = PQprepare(db, nuevo.constData(), texto.constData(), parametros, nullptr);
    if (PQresultStatus(r) != PGRES_COMMAND_OK) {
        *error = r;
        return false;
    }
    PQclear(r);
    it->nombre = nuevo;
    ++c.preparadas;
    *nombre = nuevo;
    return true;
}

void Olvidar(PGconn* db) {
    QMutexLocker l(&cerrojo());
    const Conexion c = conexiones().take({db, PQbackendPID(db)});
    if (c.preparadas > 0)
        DesalojarEnServidor(db);
}

void Soltar(PGconn* db) {
    QMutexLocker l(&cerrojo());
    conexiones().remove({db, PQbackendPID(db)});
}

bool CambiaTablas(const QByteArray& texto) {
    const QByteArray inicio = texto.trimmed().left(8).toUpper();
    for (const char* k : {"CREATE", "ALTER", "DROP"})
        if (inicio.startsWith(k))
            return true;
    return false;
}

} // namespace SentenciasPg
