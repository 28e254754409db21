#include "frmProcesar.h"

#include "Conexiones.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "Usuario.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using Mensajes::Botones;
using Mensajes::Icono;

namespace {
const QString kPendiente = QStringLiteral("Pendiente");
const QString kEnTramite = QStringLiteral("En trámite");
const QString kCumplida = QStringLiteral("Cumplida");
const QString kAnulada = QStringLiteral("Anulada");
const QString kAtencion = QStringLiteral("Atención");
} // namespace

frmProcesar::frmProcesar(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmProcesar"));
    setWindowTitle(QStringLiteral("Procesar"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Label1 = new QLabel(QStringLiteral("Pasar todas las Ordenes seleccionadas al estado:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    cboEstado = new QComboBox(this);
    cboEstado->setObjectName(QStringLiteral("cboEstado"));
    cboEstado->addItems({kPendiente, kEnTramite, kCumplida, kAnulada});
    cboEstado->setCurrentIndex(-1);
    cboEstado->installEventFilter(this);
    Label1->setBuddy(cboEstado);

    cmdAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar->setDefault(true);
    cmdCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdAceptar);
    botones->addWidget(cmdCancelar);
    auto* capa = new QVBoxLayout(this);
    capa->addWidget(Label1);
    capa->addWidget(cboEstado);
    capa->addStretch();
    capa->addLayout(botones);
    resize(Pantalla::Twips(5200, this), Pantalla::Twips(1900, this));

    connect(cmdAceptar, &QPushButton::clicked, this, &frmProcesar::Aceptar);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

bool frmProcesar::Procesar(QWidget* padre, const QStringList& ids) {
    frmProcesar dlg(padre);
    dlg.ids = ids;
    dlg.exec();
    return dlg.procesado;
}

bool frmProcesar::eventFilter(QObject* obj, QEvent* ev) {
    // Typing a letter must not pick a state by its initial: any typed text falls back to the
    // harmless first state, so the person notices before confirming.
    if (obj == cboEstado && ev->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(ev);
        const QString texto = k->text();
        // Alt+letter is a mnemonic and Ctrl+letter a shortcut, not typing (Ctrl+Alt together is
        // how Windows reports AltGr, which types characters). One that reaches the list matched
        // nothing; it must not pick a state by its letter either.
        const auto mods =
            k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        const bool atajo =
            mods != Qt::NoModifier && mods != (Qt::ControlModifier | Qt::AltModifier);
        if (!texto.isEmpty() && texto.at(0).isPrint()) {
            if (!atajo)
                cboEstado->setCurrentIndex(0);
            return true;
        }
    }
    return QDialog::eventFilter(obj, ev);
}

void frmProcesar::Aceptar() {
    if (cboEstado->currentIndex() < 0) {
        Mensajes::MsgBox(
            QStringLiteral("Seleccione el estado al que desea pasar las Ordenes de Compra."),
            Botones::OK, Icono::Informacion, kAtencion);
        cboEstado->setFocus();
        return;
    }
    const QString estado = cboEstado->currentText();

    // The same row sign-in found: gLogin keeps the blanks typed around the login.
    Recordset rs;
    if (!AbrirRecordset(QStringLiteral("select UsuId,UsuPuedeSolicitar,UsuPuedeCumplir from "
                                       "usuarios where UsuLogin=? order by UsuId"),
                        rs, {gLogin.trimmed()}))
        return;
    if (rs.AbsolutePosition() <= 0) {
        CerrarRecordset(rs, true);
        Mensajes::MsgBox(QStringLiteral("Su usuario ya no existe en la base de datos; no es "
                                        "posible procesar las Ordenes de Compra."),
                         Botones::OK, Icono::Informacion, kAtencion);
        return;
    }
    const int usuId = rs.Campo(0).toInt();
    const bool puedeSolicitar = rs.Campo(1).toInt() != 0;
    const bool puedeCumplir = rs.Campo(2).toInt() != 0;
    CerrarRecordset(rs, true);

    if (estado == kCumplida && !puedeCumplir) {
        Mensajes::MsgBox(QStringLiteral("Usted no está autorizado a pasar Ordenes de Compra al "
                                        "estado Cumplida."),
                         Botones::OK, Icono::Informacion, kAtencion);
        return;
    }
    if (estado == kEnTramite && !puedeSolicitar) {
        Mensajes::MsgBox(QStringLiteral("Usted no está autorizado a pasar Ordenes de Compra al "
                                        "estado En trámite."),
                         Botones::OK, Icono::Informacion, kAtencion);
        return;
    }
    if (Mensajes::MsgBox(QStringLiteral("¿ Está seguro que desea pasar a ") + estado +
                             QStringLiteral(" las Ordenes de Compra seleccionadas ?"),
                         Botones::SiNo, Icono::Ninguno,
                         QStringLiteral("Confirme")) != Mensajes::Respuesta::Si)
        return;

    const bool exigeAutorizacion = estado == kEnTramite || estado == kCumplida;
    {
        CursorOcupado ocupado;
        for (const QString& texto : ids) {
            bool ok = false;
            const int id = texto.trimmed().toInt(&ok);
            if (!ok)
                continue;
            if (exigeAutorizacion) {
                Recordset aut;
                if (!AbrirRecordset(
                        QStringLiteral("select AutorizanteId from ordenes where OrdId=?"), aut,
                        {id}))
                    continue;
                const int autorizante = aut.AbsolutePosition() > 0 ? aut.Campo(0).toInt() : 0;
                CerrarRecordset(aut, true);
                if (autorizante <= 0) {
                    Mensajes::MsgBox(QStringLiteral("No es posible pasar a ") + estado +
                                         QStringLiteral(" la Orden Numero: ") +
                                         QString::number(id) +
                                         QStringLiteral(" porque no está autorizada."),
                                     Botones::OK, Icono::Ninguno, kAtencion);
                    continue;
                }
            }
            // Each order on its own: one refused or failing order does not undo the others.
            Recordset upd;
            AbrirRecordset(
                QStringLiteral("update ordenes set OrdEstado=?,ProcesadoId=? where OrdId=?"), upd,
                {estado, usuId, id});
        }
    }
    procesado = true;
    accept();
}
