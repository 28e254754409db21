#include "frmImprimirOpciones.h"

#include "Disenos.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "VistaPrevia.h"

#include "ui_frmImprimirOpciones.h"

#include <algorithm>

frmImprimirOpciones::frmImprimirOpciones(const QString& estado, QWidget* parent)
    : QDialog(parent), ui(new Ui::frmImprimirOpciones) {
    ui->setupUi(this);
    optOpciones_0 = ui->optOpciones_0;
    optOpciones_1 = ui->optOpciones_1;
    cmdAceptar = ui->cmdAceptar;
    cmdCancelar = ui->cmdCancelar;
    optOpciones_0->setText(QStringLiteral("Imprimir la vista actual") + QStringLiteral(" (") +
                           estado + QLatin1Char(')'));

    // The form's own places, in twips. A long state name must not be cut off.
    auto tw = [this](int twips) { return Pantalla::Twips(twips, this); };
    optOpciones_0->setGeometry(tw(360), tw(600),
                               std::max(tw(3615), optOpciones_0->sizeHint().width()), tw(375));
    optOpciones_1->setGeometry(tw(360), tw(1320),
                               std::max(tw(4215), optOpciones_1->sizeHint().width()), tw(375));
    cmdAceptar->setGeometry(tw(1440), tw(2400), tw(1455), tw(495));
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
}

frmImprimirOpciones::~frmImprimirOpciones() = default;

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
