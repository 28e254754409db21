#include "frmMantenimiento.h"

#include "Conexiones.h"
#include "Disenos.h"
#include "Formato.h"
#include "Maestros.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "VistaPrevia.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTableView>

void frmMantenimiento::Form_Load() {
    RecargarLista({SeleccionLista::Tipo::AlAbrir, {}});
    if (modelo_->rowCount() > 0)
        dtgLista_->setCurrentIndex(modelo_->index(0, 0));
    dtgLista_->setFocus();
}

void frmMantenimiento::RecargarLista(const SeleccionLista& seleccion) {
    CursorOcupado ocupado;
    silencio_ = true;
    modelo_->Asignar(nullptr);
    if (rs_.Abierto())
        CerrarRecordset(rs_, false);
    seleccion_ = seleccion;
    if (Maestros::AbrirLista(config_.tabla, seleccion, rs_)) {
        modelo_->Asignar(&rs_);
        dtgLista_->resizeColumnsToContents();
    }
    silencio_ = false;
    if (config_.campo0EsClave && !txtFields_.isEmpty())
        SeleccionarClave(txtFields_[0]->text());
}

void frmMantenimiento::SeleccionarClave(const QString& clave) {
    if (clave.isEmpty() || !rs_.Abierto() || config_.campos.isEmpty())
        return;
    const int col = rs_.IndiceCampo(config_.campos[0].campo);
    if (col < 0)
        return;
    for (int fila = 0; fila < rs_.RecordCount(); ++fila) {
        if (TextoDe(rs_.Valor(fila, col)) == clave) {
            silencio_ = true;
            rs_.SetAbsolutePosition(fila + 1);
            dtgLista_->setCurrentIndex(modelo_->index(fila, 0));
            dtgLista_->scrollTo(modelo_->index(fila, 0));
            silencio_ = false;
            return;
        }
    }
}

void frmMantenimiento::FilaActualCambiada(int fila) {
    if (silencio_ || fila < 0)
        return;
    rs_.SetAbsolutePosition(fila + 1);
    MostrarRegistro();
}

QString frmMantenimiento::TextoDe(const QVariant& valor) {
    if (!valor.isValid() || valor.isNull())
        return {};
    if (valor.typeId() == QMetaType::QString)
        return valor.toString();
    return Formato::Valor(valor);
}

void frmMantenimiento::MostrarRegistro() {
    if (rs_.AbsolutePosition() <= 0)
        return;
    mostrado_ = Historial::Registro{rs_.NombresCampos(), {}, rs_.Fila(rs_.AbsolutePosition() - 1)};
    for (int i = 0; i < txtFields_.size(); ++i)
        if (!config_.campos[i].campo.isEmpty())
            txtFields_[i]->setText(TextoDe(rs_.Campo(config_.campos[i].campo)));
    auto marcada = [this](const QString& campo) {
        const QVariant v = rs_.Campo(campo);
        return v.isValid() && !v.isNull() && v.toInt() != 0;
    };
    for (int i = 0; i < casillas_.size(); ++i)
        casillas_[i]->setChecked(marcada(config_.casillas[i].campo));
    if (!config_.campoDesactivado.isEmpty())
        chkDesactivado_->setChecked(marcada(config_.campoDesactivado));
}

void frmMantenimiento::Imprimir() {
    if (!config_.informe)
        return;
    ImprimirLista();
    if (config_.informeModal)
        RecargarLista(seleccion_);
}

void frmMantenimiento::ImprimirLista() {
    MostrarInforme(config_.informe(), rs_, config_.informeModal, this);
}

void frmMantenimiento::Buscar() {
    const QString texto =
        Mensajes::InputBox(QStringLiteral("Ingrese el texto a buscar:"), config_.tituloBuscar)
            .trimmed();
    if (texto.isEmpty())
        return;
    RecargarLista({SeleccionLista::Tipo::Busqueda, texto});
}

void frmMantenimiento::MostrarTodos() {
    RecargarLista({});
}
