#include "frmMantenimiento.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

BotonMant BotonMant::De(const QString& caption, AccionMant accion, const QString& tooltip) {
    BotonMant b{caption, accion, tooltip};
    const bool entrada = accion == AccionMant::Guardar || accion == AccionMant::Cancelar;
    b.enNavegacion = !entrada;
    b.enEdicion = entrada || accion == AccionMant::Atras;
    return b;
}

QList<BotonMant> BotonMant::Comunes(const QString& tipNuevo, const QString& tipEditar,
                                    const QString& tipImprimir) {
    return {
        De(QStringLiteral("Nuevo"), AccionMant::Nuevo, tipNuevo),
        De(QStringLiteral("Editar"), AccionMant::Editar, tipEditar),
        De(QStringLiteral("Guardar"), AccionMant::Guardar, QStringLiteral("Guardar los cambios")),
        De(QStringLiteral("Imprimir"), AccionMant::Imprimir, tipImprimir),
        De(QStringLiteral("Buscar"), AccionMant::Buscar,
           QStringLiteral("Buscar por la descripción")),
        De(QStringLiteral("Actualizar"), AccionMant::Actualizar,
           QStringLiteral("Muestra todos los datos")),
        De(QStringLiteral("Cancelar"), AccionMant::Cancelar,
           QStringLiteral("Cancela la operación")),
        De(QStringLiteral("Atras"), AccionMant::Atras, QStringLiteral("Volver al menú principal"))};
}

void frmMantenimiento::PonerEstado(bool edicion, bool alCrear) {
    enEdicion_ = edicion;
    for (int i = 0; i < cmdMenu_.size(); ++i)
        cmdMenu_[i]->setEnabled(edicion ? config_.botones[i].enEdicion
                                        : config_.botones[i].enNavegacion);
    for (int i = 0; i < txtFields_.size(); ++i) {
        const bool clave = i == 0 && config_.campo0EsClave;
        txtFields_[i]->setReadOnly(clave || !edicion);
        txtFields_[i]->style()->unpolish(txtFields_[i]);
        txtFields_[i]->style()->polish(txtFields_[i]);
    }
    for (QCheckBox* c : casillas_)
        c->setEnabled(edicion);
    chkDesactivado_->setEnabled(edicion && (!alCrear || config_.desactivadoEditableAlCrear));
}

void frmMantenimiento::cmdMenu_Click(int Index) {
    if (Index < 0 || Index >= config_.botones.size())
        return;
    switch (config_.botones[Index].accion) {
    case AccionMant::Nuevo:
        Nuevo();
        break;
    case AccionMant::Editar:
        Editar();
        break;
    case AccionMant::Guardar:
        Guardar();
        break;
    case AccionMant::Imprimir:
        Imprimir();
        break;
    case AccionMant::Buscar:
        Buscar();
        break;
    case AccionMant::Actualizar:
        MostrarTodos();
        break;
    case AccionMant::Cancelar:
        Cancelar();
        break;
    case AccionMant::Atras:
        Atras();
        break;
    case AccionMant::Eliminar:
        Eliminar();
        break;
    }
}

void frmMantenimiento::Nuevo() {
    for (int i = 0; i < txtFields_.size(); ++i)
        if ((i == 0 && config_.campo0EsClave) || config_.nuevoVaciaCampos)
            txtFields_[i]->clear();
    PonerEstado(true, true);
    EnfocarPrimerCampo();
}

void frmMantenimiento::EnfocarPrimerCampo() {
    // Selected, so that typing replaces the text of the record shown before.
    const int primero = config_.campo0EsClave ? 1 : 0;
    if (primero < txtFields_.size()) {
        txtFields_[primero]->setFocus();
        txtFields_[primero]->selectAll();
    }
}

void frmMantenimiento::Editar() {
    PonerEstado(true, false);
    EnfocarPrimerCampo();
}

void frmMantenimiento::Cancelar() {
    if (config_.cancelarVaciaCampos)
        for (QLineEdit* t : txtFields_)
            t->clear();
    if (config_.cancelarRecarga)
        RecargarLista(seleccion_);
    PonerEstado(false);
}

void frmMantenimiento::Atras() {
    close();
}
