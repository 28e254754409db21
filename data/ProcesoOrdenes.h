#pragma once

#include <QList>
#include <QString>

// Moving orders from one state to another: who may, and which orders may go.
namespace ProcesoOrdenes {

enum class Permiso {
    Permitido,
    Fallo,              // the database refused the lookup; already reported
    UsuarioInexistente, // the signed-in user was deleted meanwhile
    NoPuedeCumplir,
    NoPuedeSolicitar,
};

struct Procesador {
    Permiso permiso = Permiso::Fallo;
    int usuId = 0; // recorded as the one who processed, when permitted
};

// Whether the user signed in as `login` may move orders to `estado`.
Procesador PuedePasar(const QString& login, const QString& estado);

enum class Paso {
    Hecho,
    NoAutorizada, // the state needs an authorised order and this one is not
    Movida,       // another workstation moved or deleted it since the list was shown
    Fallo,        // already reported
};

struct Pasada {
    Paso paso = Paso::Fallo;
    QString estadoActual; // Movida: the state the order holds now; empty when it was deleted
};

// Moves one order from `mostrado`, the state the person's list showed it in, to `estado`,
// recording `usuId` as the one who processed it, and the change in the order's history under
// `login`, in one transaction. The order's state and authorisation are read inside it, the row
// held against other workstations until it ends.
Pasada PasarOrden(int ordid, const QString& mostrado, const QString& estado, int usuId,
                  const QString& login = {});
// The same for several orders, each on its own: one refused or failing order does not undo the
// others. On the server all of them go in one call. One Pasada per number, in their order.
QList<Pasada> PasarOrdenes(const QList<int>& ordids, const QString& mostrado, const QString& estado,
                           int usuId, const QString& login = {});

} // namespace ProcesoOrdenes
