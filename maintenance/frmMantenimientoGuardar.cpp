#include "frmMantenimiento.h"

#include "Conexiones.h"
#include "Historial.h"
#include "Maestros.h"
#include "Mensajes.h"
#include "Usuario.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTableView>

int frmMantenimiento::Marca(const QCheckBox* casilla) {
    return casilla->isChecked() ? 1 : 0;
}

QVariantList frmMantenimiento::ValoresInsertar() const {
    QVariantList v;
    for (int i = config_.campo0EsClave ? 1 : 0; i < txtFields_.size(); ++i)
        v << txtFields_[i]->text();
    return v;
}

QVariantList frmMantenimiento::ValoresActualizar() const {
    QVariantList v;
    for (int i = 0; i < txtFields_.size(); ++i)
        v << txtFields_[i]->text();
    for (const QCheckBox* c : casillas_)
        v << Marca(c);
    v << Marca(chkDesactivado_);
    return v;
}

bool frmMantenimiento::GuardarRegistro() {
    // The record and its history line are written together or not at all.
    Transaccion t;
    if (!t.Activa())
        return false;
    QString clave = config_.campo0EsClave ? txtFields_[0]->text() : QString();
    const QString columnaClave = config_.campos.value(0).campo;
    Historial::Registro antes;
    if (!clave.isEmpty()) {
        if (!Historial::Leer(config_.tabla, columnaClave, clave.toInt(), &antes) ||
            !Maestros::Actualizar(config_.comandoActualizar, ValoresActualizar()))
            return false;
    } else {
        QVariant id;
        if (!Maestros::Insertar(config_.comandoInsertar, ValoresInsertar(), &id) || !id.isValid())
            return false;
        clave = TextoDe(id);
    }
    Historial::Registro despues;
    if (!GuardarDependientes(clave.toInt()) ||
        !Historial::Leer(config_.tabla, columnaClave, clave.toInt(), &despues) ||
        !Historial::RegistrarRegistro(gLogin, config_.tabla, columnaClave, antes, despues) ||
        !t.Confirmar())
        return false;
    // The new record's key, so that a later "Editar" changes it instead of adding another.
    if (config_.campo0EsClave)
        txtFields_[0]->setText(clave);
    return true;
}

void frmMantenimiento::Guardar() {
    QLineEdit* obligatorio = txtFields_.value(config_.campoObligatorio);
    if (obligatorio && obligatorio->text().trimmed().isEmpty()) {
        Mensajes::MsgBox(config_.mensajeObligatorio);
        obligatorio->setFocus();
        return;
    }
    // A refused save leaves the window entering, with everything as typed.
    if (!GuardarRegistro())
        return;
    RecargarLista({});
    PonerEstado(false);
    if (rs_.AbsolutePosition() > 0 && dtgLista_->currentIndex().isValid())
        MostrarRegistro();
}
