#pragma once

#include "Controles.h"
#include "DatosEditor.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

// Filling an order in the editor as a person would, for the saving and authorisation tests.
namespace DatosGuardado {

using namespace DatosEditor;

inline void Cabecera(frmOrden* f, const Maestros& m,
                     const QString& cantidad = QStringLiteral("4")) {
    SetTag(f->txtDescripcion, QString::number(m.tuerca));
    f->txtDescripcion->setText(QStringLiteral("Tuerca 3/8'' zincada"));
    f->txtCantidad->setText(cantidad);
    f->dtcUnidades->SetValor(QStringLiteral("Caja"));
    f->dtcLugarDeEntrega->SetValor(QStringLiteral("Depósito"));
    f->dtcSolicitantes->SetValor(QString::number(m.solicitante));
}

inline void AgregarPrecio(frmOrden* f, int proveedor, const QString& contacto,
                          const QString& precio, bool aceptado) {
    SetTag(f->txtProveedor, QString::number(proveedor));
    f->txtProveedor->setText(QStringLiteral("Acme"));
    f->txtContacto->setText(contacto);
    f->txtPrecio->setText(precio);
    f->dtcMoneda->SetValor(QStringLiteral("Pesos"));
    f->dtcFormaDePago->SetValor(QStringLiteral("Contado"));
    f->chkAceptado->setChecked(aceptado);
    f->cmdAceptar->click();
}

inline int Cuenta(Entorno& e, const QString& sql, const QVariantList& v = {}) {
    return e.Valor(sql, v).toInt();
}

} // namespace DatosGuardado
