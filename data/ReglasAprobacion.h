#pragma once

#include "Recordset.h"

#include <QMap>
#include <QString>

// The approval rules an office may switch on, kept in the database so that every workstation
// applies the same ones. Every rule is off until an administrator switches it on.
struct ReglasAprobacion {
    // The authoriser can be neither who entered the order nor its requester.
    bool autorizanteAjeno = false;
    // Each authoriser may authorise up to their limit per currency.
    bool limitePorMoneda = false;
    // Editing an authorised order's quote, price, currency or quantity drops the authorisation.
    bool reautorizarAlEditar = false;
    // Accepting an expired quote asks first; accepting one that is not the cheapest of its
    // currency asks for the reason.
    bool justificarCotizacion = false;

    // All off when the rules cannot be read: the database error has already been shown.
    static ReglasAprobacion Leer();
    static bool Guardar(const ReglasAprobacion& reglas);
};

// An authoriser's limits: currency as typed -> the highest amount they may authorise. A currency
// without an entry has no limit.
using LimitesAutorizacion = QMap<QString, double>;

LimitesAutorizacion LeerLimites(int usuId);
// Replaces all the user's limits. Part of saving the user: runs inside the caller's transaction.
bool EscribirLimites(int usuId, const LimitesAutorizacion& limites);
// The user's limit in that currency (compared without regard to case), or a negative number
// when there is none.
double LimiteAutorizacion(int usuId, const QString& moneda);
// The currencies the office has used in quotes or limits, for the users window.
QStringList MonedasConocidas();

// Who may be offered as the authoriser of one order under the rules switched on.
struct FiltroAutorizantes {
    QString loginIngreso;  // left out when not empty: who entered the order
    int solicitanteId = 0; // left out when > 0
    QString moneda;        // with importe >= 0: left out whose limit there is below importe
    double importe = -1;
};
// The active users with the right to authorise, by name, as the authoriser list shows them.
bool AbrirAutorizantes(Recordset& rs, const FiltroAutorizantes& filtro);
// The login of a user; empty when there is no such user.
QString LoginDeUsuario(int usuId);

// A decision one of the rules took on an order, for the order's history.
struct NotaRegla {
    QString regla; // the rule, as people name it
    QString texto; // what was refused, accepted or dropped, and why
};
// Writes the notes into the order's history (order 0: a new order that was never saved), with
// the login and the moment, together or not at all.
bool AnotarReglas(const QString& login, int ordId, const QList<NotaRegla>& notas);
