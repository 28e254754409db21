#pragma once

#include "Historial.h"
#include "Recordset.h"

#include <QMap>
#include <QString>
#include <optional>

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
    // Stores the rules and, in the same transaction, which ones `login` switched on or off.
    [[nodiscard]] static bool Guardar(const ReglasAprobacion& reglas, const QString& login);
};

// The rules and the decisions they take, as the history names them.
namespace Regla {
inline const QString kAutorizanteAjeno = QStringLiteral("Autorizante ajeno");
inline const QString kLimite = QStringLiteral("Límite de autorización");
inline const QString kReautorizar = QStringLiteral("Reautorización al editar");
inline const QString kJustificar = QStringLiteral("Justificar cotización");
inline const QString kVencida = QStringLiteral("Cotización vencida");
inline const QString kMayorPrecio = QStringLiteral("Cotización de mayor precio");
} // namespace Regla

// An authoriser's limits: currency as typed -> the highest amount they may authorise, or
// kSinLimite when an administrator chose that they have none there. Under the limit rule a
// currency without an entry is one they may not authorise at all: forgetting a row must not
// read as "no limit".
using LimitesAutorizacion = QMap<QString, double>;
inline constexpr double kSinLimite = -1;

LimitesAutorizacion LeerLimites(int usuId);
// Replaces all the user's limits and records in the history what `login` changed. Part of
// saving the user: runs inside the caller's transaction.
[[nodiscard]] bool EscribirLimites(const QString& login, int usuId,
                                   const LimitesAutorizacion& limites);
// The user's limit in that currency (compared without regard to case): kSinLimite when they
// have none there, nothing when that currency is not among theirs.
std::optional<double> LimiteAutorizacion(int usuId, const QString& moneda);
// The currencies the office has used in quotes or limits, for the users window.
QStringList MonedasConocidas();

// Who may be offered as the authoriser of one order under the rules switched on.
struct FiltroAutorizantes {
    QString loginIngreso;  // left out when not empty: who entered the order
    int solicitanteId = 0; // left out when > 0
    QString moneda; // with importe >= 0: left out who has no limit there, or one below importe
    double importe = -1;
};
// The active users with the right to authorise, by name, as the authoriser list shows them.
[[nodiscard]] bool AbrirAutorizantes(Recordset& rs, const FiltroAutorizantes& filtro);
// The login of a user; empty when there is no such user.
QString LoginDeUsuario(int usuId);

// The history's latest note giving the reason for accepting a quote that is not the cheapest,
// while it still speaks for the order's quotes: empty once a later save changed them.
QString MotivoPrecioAceptado(int ordId);

// Keeps in the order's history the rules that refused to save it, on their own since nothing
// else is saved (order 0: a new order, never saved, recorded without an order).
[[nodiscard]] bool AnotarRechazos(const QString& login, int ordId,
                                  const QList<Historial::Nota>& rechazos);
