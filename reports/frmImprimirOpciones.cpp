#include "frmImprimirOpciones.h"

#include "Disenos.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "VistaPrevia.h"

#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

frmImprimirOpciones::frmImprimirOpciones(const QString& estado, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Opciones de impresión"));
    auto tw = [this](int twips) { return Pantalla::Twips(twips, this); };

    optOpciones_0 = new QRadioButton(QStringLiteral("Imprimir la vista actual") +
                                         QStringLiteral(" (") + estado + QLatin1Char(')'),
                                     this);
    optOpciones_0->setObjectName(QStringLiteral("optOpciones_0"));
    optOpciones_1 =
        new QRadioButton(QStringLiteral("Imprimir solo las Ordenes de Compra seleccionadas"), this);
    optOpciones_1->setObjectName(QStringLiteral("optOpciones_1"));
    // A long state name must not be cut off.
    optOpciones_0->setGeometry(tw(360), tw(600),
                               std::max(tw(3615), optOpciones_0->sizeHint().width()), tw(375));
    optOpciones_1->setGeometry(tw(360), tw(1320),
                               std::max(tw(4215), optOpciones_1->sizeHint().width()), tw(375));
    optOpciones_0->setChecked(true);

    cmdAceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar->setGeometry(tw(1440), tw(2400), tw(1455), tw(495));
    cmdAceptar->setDefault(true);
    cmdCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    cmdCancelar->setGeometry(tw(3120), tw(2400), tw(1455), tw(495));

    const int derecha =
        std::max({optOpciones_0->geometry().right(), optOpciones_1->geometry().right(),
                  cmdCancelar->geometry().right()});
    setFixedSize(derecha + tw(360), tw(2400 + 495 + 360));

    connect(cmdAceptar, &QPushButton::clicked, this, [this] {
        aceptado = true;
        accept();
    });
    connect(cmdCancelar, &QPushButton::clicked, this, &frmImprimirOpciones::reject);
    setTabOrder(optOpciones_0, optOpciones_1);
    setTabOrder(optOpciones_1, cmdAceptar);
    setTabOrder(cmdAceptar, cmdCancelar);
}

int frmImprimirOpciones::Opcion() const {
    return optOpciones_1->isChecked() ? 1 : 0;
}

void frmImprimirOpciones::reject() {
    aceptado = false;
    QDialog::reject();
}

void ImprimirListaDeOrdenes(const QString& estado, const Ordenes::Vista& vista,
                            const QStringList& idsMarcados, bool& recargarAlActivar,
                            QWidget* parent) {
    recargarAlActivar = false;
    {
        frmImprimirOpciones opciones(estado, parent);
        opciones.exec();
        if (opciones.aceptado) {
            const Ordenes::Vista impresa =
                opciones.Opcion() == 0 ? vista : Ordenes::Seleccionadas(idsMarcados);
            if (impresa.Vacia() && opciones.Opcion() == 1)
                Mensajes::MsgBox(QStringLiteral("No ha seleccionado ninguna Orden de Compra."),
                                 Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                                 QStringLiteral("Verifique"));
            else if (!impresa.Vacia())
                MostrarInforme(
                    dtrOrdenes(),
                    [&impresa](Recordset& rs) { return Ordenes::AbrirVista(impresa, rs); }, true,
                    parent);
        }
    }
    recargarAlActivar = true;
}
