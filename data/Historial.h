#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// The record of every change made through the program: when, who, what kind of change, to which
// row, and each field that changed with its old and new value as text. Rows are only ever added,
// always inside the transaction of the change they describe, so that a change and its record
// are kept together or not at all; the program never updates or deletes them.
namespace Historial {

inline const QString kAlta = QStringLiteral("Alta");
inline const QString kModificacion = QStringLiteral("Modificación");
inline const QString kEliminacion = QStringLiteral("Eliminación");
inline const QString kAutorizacion = QStringLiteral("Autorización");
inline const QString kEstado = QStringLiteral("Estado");
inline const QString kRegla = QStringLiteral("Regla");
// A sign-in, let in or turned away: who typed which login, at which workstation.
inline const QString kIngreso = QStringLiteral("Ingreso");
inline const QString kIngresoRechazado = QStringLiteral("Ingreso rechazado");
// An authoriser's password typed in the confirmation window, accepted or not.
inline const QString kConfirmacion = QStringLiteral("Confirmación");
inline const QString kConfirmacionRechazada = QStringLiteral("Confirmación rechazada");

// What the history holds for a changed password: never the password, not even encoded.
inline const QString kClaveCambiada = QStringLiteral("contraseña cambiada");

// One row of a table with its values as the history shows them; empty when there is no row.
// A row read from the database keeps its values as read, and each becomes text only when asked:
// most of a save's fields did not change and are never shown.
struct Registro {
    QStringList columnas;
    QStringList valores;        // given as text; when empty, the text is made from `leidos`
    QVector<QVariant> leidos{}; // as read from the database; may be left out
    bool Vacio() const { return columnas.isEmpty(); }
    int Indice(const QString& columna) const;    // without regard to case; -1 when absent
    QString Valor(const QString& columna) const; // without regard to case; empty when absent
    QString ValorEn(int i) const;                // the i-th column's; empty when i < 0
    // Whether column i of this row and column j of `otro` hold the very same value as read:
    // then their texts are the same too.
    bool MismoLeido(int i, const Registro& otro, int j) const;
};

// An order and its quotes, read together before and after a change.
struct Orden {
    Registro orden;
    QList<Registro> precios; // rows of v_precios_proveedores, with the supplier's name
    // On the server, what the server makes of the stored order and quotes (with the rows or
    // alone): a save compares it there, in the same call that writes.
    QString version{};
};

// Read on the shared connection, inside the caller's transaction. False after the person was
// told of a database error.
[[nodiscard]] bool Leer(const QString& tabla, const QString& columnaClave, const QVariant& clave,
                        Registro* r);
[[nodiscard]] bool LeerOrden(int ordId, Orden* o);

// Writes one change of one row: a line for every field in which `antes` and `despues` differ
// (`antes` empty: the row was created; `despues` empty: it was deleted). Nothing is written when
// nothing differs. False (the person already told) means the change must not be kept.
// `tipo` empty: Alta, Modificación or Eliminación as the readings say; `ordId`: the order the
// change belongs to, if any.
[[nodiscard]] bool RegistrarRegistro(const QString& login, const QString& tabla,
                                     const QString& columnaClave, const Registro& antes,
                                     const Registro& despues, const QString& tipo = {},
                                     int ordId = 0);
// The same for a row just saved, read as it now is (`antes` as in RegistrarRegistro). Where the
// server records the row's change by itself (a person of a protected server, the maintenance
// windows' tables), nothing is read or written.
[[nodiscard]] bool RegistrarFila(const QString& login, const QString& tabla,
                                 const QString& columnaClave, const QVariant& clave,
                                 const Registro& antes);
// The same for an order: its fields and its quotes (added, removed, changed, which one is
// accepted) as one change, and a new or removed authoriser as a change of its own, with the
// moment the authoriser's password was confirmed.
[[nodiscard]] bool RegistrarOrden(const QString& login, int ordId, const Orden& antes,
                                  const Orden& despues,
                                  const QDateTime& autorizacionConfirmada = {});

// A decision that changed no field by itself: a rule that refused a save, the reason given for
// a choice. `campo` names what it is about (the rule), `texto` says what was decided and why.
struct Nota {
    QString campo;
    QString texto;
};
// Writes the notes as one change of kind `tipo` of that row (`ordId` as in RegistrarRegistro).
[[nodiscard]] bool Anotar(const QString& login, const QString& tabla, int clave, int ordId,
                          const QList<Nota>& notas, const QString& tipo = kRegla);

// One line of the history.
struct Entrada {
    int cambio = 0; // lines of one change share it; a later change has a higher number
    QDateTime fecha;
    QString login;
    QString tipo;
    QString tabla;
    int clave = 0;
    int ordId = 0;
    QString campo;
    QString anterior;
    QString nuevo;
};

// The lines of one order (ordId > 0) or of every change (0): newest change first, the lines of
// one change in the order they were written.
[[nodiscard]] bool LeerHistorial(int ordId, QList<Entrada>* entradas);

// Whether one order's lines still hold in the history's chain, checked on the database as it
// is now, and the whole chain's last hash, which a printed record keeps as its seal.
struct Cadena {
    bool integra = false;
    QString ultimaHuella;
    QString descripcion; // for people: what holds, or the first line that does not, or why the
                         // check could not run
};
Cadena ComprobarCadena(int ordId);

// How a field is named to people ("OrdCantidad" is "Cantidad").
QString NombreCampo(const QString& campo);
// A line as people read it: "Cantidad: 4 → 6", "Precio agregado: …".
QString Descripcion(const Entrada& e);

} // namespace Historial
