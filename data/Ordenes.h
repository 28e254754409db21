#pragma once

#include "Historial.h"
#include "Recordset.h"
#include "Versiones.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <optional>
#include <utility>

// Purchase orders and their quotes as stored. Functions that read return false when the database
// refused the query; the data-access module has shown why. None of them shows anything else.
namespace Ordenes {

// The values of one order as the editor writes them.
struct OrdenAGuardar {
    QDateTime fecha;
    double cantidad = 0;
    QString unidad;
    QString productoId; // decimal text, as the product box keeps it
    QString comentario;
    QString lugarEntrega;
    QString prioridad;
    int sectorId = 0;
    int centroCostoId = 0;
    int solicitanteId = 0;
    int autorizanteId = 0; // 0: not authorised
    QString login;         // the signed-in user: written for a new order, and in the history
    // When the authoriser's password was last confirmed on screen, for the history.
    QDateTime autorizacionConfirmada;
    // What the approval rules decided while it was edited (a reason for a choice, a dropped
    // authorisation), kept in its history with the save.
    QList<Historial::Nota> notas;
    // The stored order and its quotes as the editor loaded them (LeerVersion). When given, a
    // stored order that no longer holds exactly that is not saved: another workstation changed
    // it meanwhile, and its change must not be overwritten unseen.
    std::optional<Historial::Orden> cargada;
};

struct PrecioAGuardar {
    int empId = 0;
    QString contacto;
    double precio = 0;
    QString moneda;
    QString formaPago;
    QDateTime fecha;
    QDateTime vigencia;
    bool aceptado = false;
};

// A stored quote, with its number and the supplier's name.
struct PrecioLeido : PrecioAGuardar {
    int id = 0;
    QString proveedor;
};

// A stored order as the editor shows it. Ids the editor keeps as text stay text, so that an empty
// column stays empty instead of becoming 0.
struct OrdenLeida {
    QDateTime fecha;
    QString login;
    QVariant cantidad;
    QString unidad;
    int productoId = 0;
    QString producto;
    QString comentario;
    QString lugarEntrega;
    QString prioridad;
    QString solicitanteId;
    int autorizanteId = 0;
    QString sectorId;
    QString centroCostoId;
};

enum class Guardado {
    Hecho,
    FalloDatos,      // the database refused a statement; already reported
    SinNumero,       // the insert did not give the new order's number
    YaNoExiste,      // the order was deleted meanwhile (by another workstation)
    CambiadaPorOtro, // another workstation changed it since it was loaded; nothing was kept
};

struct ResultadoGuardado {
    Guardado motivo = Guardado::FalloDatos;
    // Hecho: the order and its quotes as now stored, to compare the next save with.
    Historial::Orden guardada;
    // CambiadaPorOtro: who made the newest change the history holds for it, and when; empty
    // when the history cannot tell.
    Versiones::Cambio autor;
    explicit operator bool() const { return motivo == Guardado::Hecho; }
};

// Writes the order and replaces all its quotes in one transaction, all or nothing. `ordid` 0
// inserts a new order and on success receives its number; otherwise that order is updated. On
// failure the database is as it was and `ordid` is unchanged. What changed is recorded in the
// order's history in the same transaction.
ResultadoGuardado EscribirOrden(int& ordid, const OrdenAGuardar& orden,
                                const QList<PrecioAGuardar>& precios);

// False also when no order has that number.
[[nodiscard]] bool LeerOrden(int ordid, OrdenLeida* orden);
// The order and its quotes as stored, for OrdenAGuardar::cargada. Read before the values shown,
// so that a change made in between is taken for another workstation's, never missed.
[[nodiscard]] bool LeerVersion(int ordid, Historial::Orden* version);
QList<PrecioLeido> LeerPrecios(int ordid);

// A list of orders as the main window and its report open it: the text and the values bound to
// it, enough to open it again. Made by the functions below; a plain text (no values) converts.
struct Vista {
    QString sql;
    QVariantList valores;
    Vista(QString texto = {}, QVariantList v = {}) : sql(std::move(texto)), valores(std::move(v)) {}
    bool Vacia() const { return sql.isEmpty(); }
};

// The main list: the orders in `estado`; with `busqueda`, only those whose description contains
// it as typed (a % or _ in it is a character, not a wildcard).
Vista Lista(const QString& estado, const QString& busqueda = {});
// The orders with those numbers (decimal text), for the printout of the ticked ones; empty when
// none of them is a number.
Vista Seleccionadas(const QStringList& ids);
[[nodiscard]] bool AbrirVista(const Vista& vista, Recordset& rs);
// As AbrirVista, and a list longer than `cuantas` rows shows them to `primeras` before the rest
// is read, on both engines. The record set given to `primeras` is gone when it returns.
[[nodiscard]] bool AbrirVista(const Vista& vista, Recordset& rs, int cuantas,
                              const std::function<void(const Recordset&)>& primeras);
// The rows an order's printout shows.
[[nodiscard]] bool AbrirParaImprimir(int ordid, Recordset& rs);
// The order's quotes with their suppliers' names, for its printouts.
[[nodiscard]] bool AbrirPrecios(int ordid, Recordset& rs);

enum class Eliminacion {
    Hecha,
    Fallo,           // the database refused a statement; already reported
    YaNoExiste,      // another workstation deleted it meanwhile
    CambiadaPorOtro, // another workstation changed it since it was shown; it was kept
};

struct ResultadoEliminacion {
    Eliminacion motivo = Eliminacion::Fallo;
    // CambiadaPorOtro: who made the newest change the history holds for it, and when.
    Versiones::Cambio autor;
};

// Deletes the order; its history keeps what it held, in the same transaction, under `login`.
// `mostrada` is the order as the person's list showed it (a row of the list's view): an order
// that no longer holds those values is kept, since the person never saw what they would delete.
ResultadoEliminacion Eliminar(int ordid, const QString& login,
                              const Historial::Registro& mostrada = {});

struct SumaMoneda {
    QVariant suma;
    QString moneda;
};
// The accepted prices of those orders added up per currency; `ids` are decimal numbers.
[[nodiscard]] bool SumarPorMoneda(const QStringList& ids, QList<SumaMoneda>* sumas);

} // namespace Ordenes
