#pragma once

#include "Controles.h"
#include "DatosEditor.h"
#include "frmVerificarUsuario.h"

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

// Answers the password window the next step opens: the password, or cancel when
// it is null. Counts the windows that came up; the caller checks the count right after the
// step, which fails when the window never opened.
inline void Contrasena(int* veces, const QString& clave) {
    (void)AlAbrirModal([veces, clave](QWidget* w) {
        auto* v = qobject_cast<frmVerificarUsuario*>(w);
        QVERIFY(v);
        ++*veces;
        if (clave.isNull()) {
            v->cmdCancel->click();
            return;
        }
        v->txtPassword->setText(clave);
        v->cmdOK->click();
        if (v->isVisible()) // wrong password: the window stays; give up
            v->cmdCancel->click();
    });
}

// A person choosing a name in the authoriser list with the mouse.
inline void Elegir(frmOrden* f, int usuario) {
    const int i = f->dtcAutorizantes->findData(QString::number(usuario));
    f->dtcAutorizantes->setCurrentIndex(i);
    emit f->dtcAutorizantes->activated(i);
}

inline int Cuenta(Entorno& e, const QString& sql, const QVariantList& v = {}) {
    return e.Valor(sql, v).toInt();
}

} // namespace DatosGuardado
