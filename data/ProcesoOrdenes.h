#pragma once

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
    Fallo,        // already reported
};

// Moves one order to `estado`, recording `usuId` as the one who processed it, and the change in
// the order's history under `login`, in one transaction.
Paso PasarOrden(int ordid, const QString& estado, int usuId, const QString& login = {});

} // namespace ProcesoOrdenes
