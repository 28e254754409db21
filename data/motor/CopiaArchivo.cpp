#include "CopiaArchivo.h"

#include "Esquema.h"

#include <QElapsedTimer>
#include <sqlite3.h>

namespace Motor {
namespace {

// About 4 MB at the usual page size: a step takes a small part of a second, so the caller can
// show how far the copy got without the copy taking longer for it.
constexpr int kPaginasPorPaso = 1024;

bool Ocupado(int rc) {
    return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

// The source is read-locked from before the first step until the last: no other workstation can
// commit in between, so the copy, made in steps, is one state of the file, as one step would
// give; otherwise a write between two steps would make the engine start the copy over, and
// steady writing elsewhere would keep it from ever ending. A workstation half-way through a
// write is not waited for; one committing is, up to the connection's wait.
int BloquearLectura(sqlite3* fuente) {
    return sqlite3_exec(fuente, "BEGIN; SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                        nullptr);
}

CopiaArchivo Pasos(sqlite3* fuente, sqlite3* copia, int esperaMs, const ProgresoCopia& progreso) {
    if (const int rc = BloquearLectura(fuente); rc != SQLITE_OK)
        return Ocupado(rc) ? CopiaArchivo::EnUso : CopiaArchivo::Fallo;
    sqlite3_backup* b = sqlite3_backup_init(copia, "main", fuente, "main");
    if (!b)
        return CopiaArchivo::Fallo;
    QElapsedTimer espera;
    espera.start();
    int rc;
    while ((rc = sqlite3_backup_step(b, kPaginasPorPaso)) == SQLITE_OK || rc == SQLITE_DONE ||
           Ocupado(rc)) {
        if (Ocupado(rc)) {
            if (espera.elapsed() >= esperaMs)
                break;
            sqlite3_sleep(50);
            continue;
        }
        const int total = sqlite3_backup_pagecount(b);
        if (progreso)
            progreso(total - sqlite3_backup_remaining(b), total);
        if (rc == SQLITE_DONE)
            break;
        espera.restart();
    }
    const int fin = sqlite3_backup_finish(b);
    if (rc == SQLITE_DONE && fin == SQLITE_OK)
        return CopiaArchivo::Hecha;
    return Ocupado(rc) ? CopiaArchivo::EnUso : CopiaArchivo::Fallo;
}

} // namespace

CopiaArchivo CopiarArchivo(const QString& origen, const QString& destino, int esperaMs,
                           const ProgresoCopia& progreso) {
    sqlite3* fuente = Esquema::AbrirArchivo(origen, false, nullptr);
    if (!fuente)
        return CopiaArchivo::Fallo;
    sqlite3_busy_timeout(fuente, esperaMs);
    sqlite3* copia = nullptr;
    CopiaArchivo r = CopiaArchivo::Fallo;
    if (sqlite3_open_v2(destino.toUtf8().constData(), &copia,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK)
        r = Pasos(fuente, copia, esperaMs, progreso);
    if (sqlite3_close(copia) != SQLITE_OK)
        r = CopiaArchivo::Fallo;
    sqlite3_close(fuente); // the read lock goes with it
    return r;
}

bool ArchivoSano(const QString& ruta) {
    sqlite3* db = Esquema::AbrirArchivo(ruta, false, nullptr);
    const bool sana = db && Esquema::RevisionRapida(db).isEmpty();
    sqlite3_close(db);
    return sana;
}

} // namespace Motor
