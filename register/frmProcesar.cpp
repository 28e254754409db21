#include "frmProcesar.h"

#include "EstadosOrden.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "ProcesoOrdenes.h"
#include "Usuario.h"

#include "ui_frmProcesar.h"

#include <QKeyEvent>

using Mensajes::Botones;
using Mensajes::Icono;

namespace {
const QString kAtencion = QStringLiteral("Atención");
} // namespace

frmProcesar::frmProcesar(QWidget* padre) : QDialog(padre), ui(new Ui::frmProcesar) {
    ui->setupUi(this);
    Label1 = ui->Label1;
    cboEstado = ui->cboEstado;
    cmdAceptar = ui->cmdAceptar;
    cmdCancelar = ui->cmdCancelar;
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    cboEstado->addItems(EstadosOrden::Todos());
    cboEstado->setCurrentIndex(-1);
    cboEstado->installEventFilter(this);
    resize(Pantalla::Twips(5200, this), Pantalla::Twips(1900, this));

    connect(cmdAceptar, &QPushButton::clicked, this, &frmProcesar::Aceptar);
    connect(cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

frmProcesar::~frmProcesar() = default;

bool frmProcesar::Procesar(QWidget* padre, const QStringList& ids, const QString& estadoMostrado) {
    frmProcesar dlg(padre);
    dlg.ids = ids;
    dlg.estadoMostrado = estadoMostrado;
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

namespace {

// What the person is told when they may not move orders to that state; empty when they may.
QString Negativa(ProcesoOrdenes::Permiso permiso) {
    using ProcesoOrdenes::Permiso;
    switch (permiso) {
    case Permiso::UsuarioInexistente:
        return QStringLiteral("Su usuario ya no existe en la base de datos; no es posible procesar "
                              "las Ordenes de Compra.");
    case Permiso::NoPuedeCumplir:
        return QStringLiteral("Usted no está autorizado a pasar Ordenes de Compra al estado "
                              "Cumplida.");
    case Permiso::NoPuedeSolicitar:
        return QStringLiteral("Usted no está autorizado a pasar Ordenes de Compra al estado En "
                              "trámite.");
    case Permiso::Permitido:
    case Permiso::Fallo:
        break;
    }
    return {};
}

} // namespace

void frmProcesar::Aceptar() {
    if (cboEstado->currentIndex() < 0) {
        Mensajes::MsgBox(
            QStringLiteral("Seleccione el estado al que desea pasar las Ordenes de Compra."),
            Botones::OK, Icono::Informacion, kAtencion);
        cboEstado->setFocus();
        return;
    }
    const QString estado = cboEstado->currentText();

    const ProcesoOrdenes::Procesador quien = ProcesoOrdenes::PuedePasar(gLogin, estado);
    if (quien.permiso != ProcesoOrdenes::Permiso::Permitido) {
        const QString negativa = Negativa(quien.permiso);
        if (!negativa.isEmpty())
            Mensajes::MsgBox(negativa, Botones::OK, Icono::Informacion, kAtencion);
        return;
    }
    if (Mensajes::MsgBox(QStringLiteral("¿ Está seguro que desea pasar a ") + estado +
                             QStringLiteral(" las Ordenes de Compra seleccionadas ?"),
                         Botones::SiNo, Icono::Ninguno,
                         QStringLiteral("Confirme")) != Mensajes::Respuesta::Si)
        return;
    PasarOrdenes(estado, quien.usuId);
    procesado = true;
    accept();
}

void frmProcesar::PasarOrdenes(const QString& estado, int usuId) {
    CursorOcupado ocupado;
    QList<int> numeros;
    for (const QString& texto : ids) {
        bool ok = false;
        const int id = texto.trimmed().toInt(&ok);
        if (ok)
            numeros << id;
    }
    // Each order on its own: one refused or failing order does not undo the others.
    const QList<ProcesoOrdenes::Pasada> pasadas =
        ProcesoOrdenes::PasarOrdenes(numeros, estadoMostrado, estado, usuId, gLogin);
    QStringList movidas;
    for (qsizetype i = 0; i < pasadas.size(); ++i) {
        const ProcesoOrdenes::Pasada& p = pasadas[i];
        const int id = numeros[i];
        if (p.paso == ProcesoOrdenes::Paso::NoAutorizada)
            Mensajes::MsgBox(QStringLiteral("No es posible pasar a ") + estado +
                                 QStringLiteral(" la Orden Numero: ") + QString::number(id) +
                                 QStringLiteral(" porque no está autorizada."),
                             Botones::OK, Icono::Ninguno, kAtencion);
        else if (p.paso == ProcesoOrdenes::Paso::Movida)
            movidas << QStringLiteral("Orden Numero: %1 (%2)")
                           .arg(id)
                           .arg(p.estadoActual.isEmpty() ? QStringLiteral("eliminada")
                                                         : p.estadoActual);
    }
    if (!movidas.isEmpty())
        Mensajes::MsgBox(QStringLiteral("Otro puesto cambió estas Ordenes de Compra desde que se "
                                        "mostró la lista; no se modificaron:\n") +
                             movidas.join(QLatin1Char('\n')),
                         Botones::OK, Icono::Informacion, kAtencion);
}
