#include "frmMantenimiento.h"

#include "Conexiones.h"
#include "Historial.h"
#include "Maestros.h"
#include "Mensajes.h"
#include "Usuario.h"
#include "Versiones.h"

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
        if (!Versiones::LeerParaModificar(config_.tabla, columnaClave, clave.toInt(), &antes))
            return false;
        // What is compared is the record shown, when it is the one being saved.
        const int i = mostrado_.Indice(columnaClave);
        cambiadoPorOtro_ = i >= 0 && mostrado_.leidos.value(i).toInt() == clave.toInt() &&
                           !Versiones::Iguales(mostrado_, antes);
        if (cambiadoPorOtro_ ||
            !Maestros::Actualizar(config_.comandoActualizar, ValoresActualizar()))
            return false;
    } else {
        QVariant id;
        if (!Maestros::Insertar(config_.comandoInsertar, ValoresInsertar(), &id) || !id.isValid())
            return false;
        clave = TextoDe(id);
    }
    if (!GuardarDependientes(clave.toInt()) ||
        !Historial::RegistrarFila(gLogin, config_.tabla, columnaClave, clave.toInt(), antes) ||
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
    cambiadoPorOtro_ = false;
    if (!GuardarRegistro()) {
        // Told once the save's transaction is over, so that the record is not held meanwhile.
        if (cambiadoPorOtro_)
            AvisarCambiadoPorOtro(txtFields_[0]->text().toInt());
        return;
    }
    RecargarLista({});
    PonerEstado(false);
    if (rs_.AbsolutePosition() > 0 && dtgLista_->currentIndex().isValid())
        MostrarRegistro();
}

void frmMantenimiento::AvisarCambiadoPorOtro(int clave) {
    Versiones::Cambio cambio;
    static_cast<void>(Versiones::UltimoCambio(config_.tabla, clave, &cambio));
    if (Mensajes::MsgBox(Versiones::Autor(cambio) +
                             QStringLiteral(" modificó este registro desde que se mostró; no se "
                                            "guardó nada.\r\n¿Desea volver a cargarlo? Se "
                                            "perderán los cambios que escribió."),
                         Mensajes::Botones::SiNo, Mensajes::Icono::Exclamacion,
                         QStringLiteral("Atención")) != Mensajes::Respuesta::Si)
        return;
    RecargarLista(seleccion_);
    SeleccionarClave(QString::number(clave));
    PonerEstado(false);
    MostrarRegistro();
}
