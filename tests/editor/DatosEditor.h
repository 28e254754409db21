#pragma once

#include "Entorno.h"
#include "Modal.h"
#include "frmOrden.h"

#include <QApplication>
#include <QDateTime>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

// Shared ground for the editor tests: master data, stored orders and the one editor window.
namespace DatosEditor {

inline const QDateTime kAhora(QDate(2026, 3, 4), QTime(10, 30));

struct Maestros {
    int sectorCompras = 0, sectorVentas = 0, centroAdmin = 0;
    int solicitante = 0, autorizante = 0;
    int tuerca = 0, tornillo = 0;
    int acme = 0, obrien = 0;
};

inline Maestros CargarMaestros(Entorno& e) {
    Maestros m;
    m.sectorCompras = e.Insertar("sector_insertar", {QStringLiteral("Compras")});
    m.sectorVentas = e.Insertar("sector_insertar", {QStringLiteral("Ventas")});
    m.centroAdmin = e.Insertar("centrodecosto_insertar", {QStringLiteral("Administración")});
    m.solicitante =
        e.Usuario(QStringLiteral("lpaz"), QString(), QStringLiteral("Lucía Paz"), 1, 0, 0);
    m.autorizante = e.Usuario(QStringLiteral("jmir"), QStringLiteral("x"),
                              QStringLiteral("Julio Mir"), 0, 1, 0);
    e.Sql(QStringLiteral("INSERT INTO categorias (CatDescripcion) VALUES ('Ferretería')"));
    m.tuerca = e.Producto(QStringLiteral("Tuerca 3/8'' zincada"));
    m.tornillo = e.Producto(QStringLiteral("Tornillo autorroscante"));
    m.acme = e.Proveedor(QStringLiteral("Acme"), QStringLiteral("Acme Industrial S.A."));
    m.obrien =
        e.Proveedor(QStringLiteral("Rodamientos O'Brien"), QStringLiteral("O'Brien Hnos. S.H."));
    return m;
}

inline int Orden(Entorno& e, const Maestros& m, const QString& login, int autorizante = 0,
                 const QString& prioridad = QStringLiteral("Urgente")) {
    return e.Insertar("orden_insertar",
                      {QDateTime(QDate(2026, 2, 1), QTime(9, 15)), 12.5, QStringLiteral("Caja"),
                       m.tuerca, QStringLiteral("Para el taller"), QStringLiteral("Depósito"),
                       prioridad, m.sectorVentas, m.centroAdmin, m.solicitante, autorizante,
                       login});
}

inline int Precio(Entorno& e, int orden, int proveedor, double precio, bool aceptado) {
    return e.Insertar("precio_Insertar", {orden, proveedor, QStringLiteral("Sr. D'Angelo"), precio,
                                          QStringLiteral("Pesos"), QStringLiteral("Contado"),
                                          QDate(2026, 2, 2), QDate(2026, 3, 2), aceptado ? 1 : 0});
}

inline frmOrden* Abrir(bool agregando, int ordid = 0) {
    frmOrden::Abrir(agregando, ordid);
    return frmOrden::Instancia();
}

// Closes the editor and lets it unload, so that the next test starts with a fresh window.
inline void Cerrar() {
    if (frmOrden::Abierta())
        frmOrden::Instancia()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline void ClicEnFila(QTreeWidget* grilla, int fila) {
    const QRect r = grilla->visualItemRect(grilla->topLevelItem(fila));
    QTest::mouseClick(grilla->viewport(), Qt::LeftButton, {}, r.center());
}

} // namespace DatosEditor
