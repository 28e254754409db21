#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

struct sqlite3;

// Each history row carries HisHuella: the SHA-256 (hex) of the previous row's HisHuella (by
// HisId; empty before the first row) and of the row's own fields in a fixed text form, so that
// a row altered, removed or slipped in between breaks the chain at that row. The file engine's
// write path and this check compute it here; the server's trigger computes the very same text
// (EsquemaPg.cpp), so a database copied from one engine to the other still verifies.
namespace CadenaHistorial {

// A field's text as the chain takes it: integers in decimal, HisFecha as "yyyy-MM-dd HH:mm:ss",
// text as stored (UTF-8); no value for NULL.
using Campo = std::optional<QByteArray>;

// The columns in the chain's order, the hash included last. A query that selects them as text
// (CAST … AS TEXT) gives the same on both engines.
extern const char* const kColumnas;
inline constexpr int kCampos = 11; // the fields hashed: all of kColumnas but HisHuella

// Each field as its byte length, ':' and its bytes, or '~' for NULL, each after a '|', behind
// the previous hash: no two different rows give the same text.
QByteArray Huella(const QByteArray& anterior, const QList<Campo>& campos);

// The kind of change of the line an upgrade writes after chaining the rows that were there
// before it: the chain is evidence from that line on.
inline const QString kTipoEncadenado = QStringLiteral("Encadenado");

struct Estado {
    qint64 filas = 0;        // rows checked
    qint64 rota = 0;         // HisId of the first row whose hash does not hold; 0: none
    qint64 encadenado = 0;   // HisId of the upgrade's line, if there is one
    QString fechaEncadenado; // its moment, as stored
    QByteArray ultima;       // HisHuella of the last row
    QString error;           // the check could not run (the engine's text)
    bool Integro() const { return error.isEmpty() && rota == 0; }
    // For people: what holds, from which row, or the first row that does not.
    QString Describir() const;
};

// Walks every row in HisId order. On a connection of the program, or on a file opened directly.
Estado Comprobar(const QSqlDatabase& db);
Estado Comprobar(sqlite3* db);
// The rows of one order only, each against the row before it in the whole history; `ultima`
// is the whole history's last hash.
Estado ComprobarOrden(const QSqlDatabase& db, int ordId);

// Chains the rows of a file that had none, in HisId order, and adds the line kTipoEncadenado
// after them; inside the caller's transaction, before the history refuses updates.
[[nodiscard]] bool EncadenarExistentes(sqlite3* db, QString* error);

} // namespace CadenaHistorial
