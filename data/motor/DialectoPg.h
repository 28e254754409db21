#pragma once

#include <QString>
#include <QStringList>

// The program's SQL texts are written in the file engine's dialect. On the server each text is
// split into its statements and rewritten before it is prepared, only where the server lacks a
// construct; string literals and quoted names are never touched:
//   ?N and ?           -> $N (a bare ? counts from 1 in each statement, as on the file engine)
//   INSTR(a, b) alone as a condition  -> (INSTR(a, b) > 0)
//   a bare 1 or 0 as a condition ("WHERE … AND 1")  -> TRUE or FALSE
// The rest (INSTR itself, last_insert_rowid(), integer flags against TRUE/FALSE, case-blind
// text) is supplied by functions and operators of the server's schema.
namespace DialectoPg {
struct Sentencia {
    QString texto;
    int parametros = 0; // the highest $N it uses
};
QList<Sentencia> Traducir(const QString& sql);
} // namespace DialectoPg
