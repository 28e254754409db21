#include "frmHistorial.h"

#include "Expediente.h"
#include "Historial.h"
#include "Mensajes.h"
#include "Pantalla.h"

#include "ui_frmHistorial.h"

#include <QDir>

QPointer<frmHistorial> frmHistorial::instancia_;

frmHistorial* frmHistorial::Mostrar(int ordId) {
    if (!instancia_)
        instancia_ = new frmHistorial;
    instancia_->ordid = ordId;
    instancia_->Cargar();
    Pantalla::TraerAlFrente(instancia_);
    return instancia_;
}

frmHistorial* frmHistorial::Abierta() {
    return instancia_;
}

frmHistorial::frmHistorial() : ui(new Ui::frmHistorial) {
    ui->setupUi(this);
    grdHistorial = ui->grdHistorial;
    cmdImprimir = ui->cmdImprimir;
    cmdExpediente = ui->cmdExpediente;
    cmdCerrar = ui->cmdCerrar;
    setAttribute(Qt::WA_DeleteOnClose);
    resize(Pantalla::Twips(14400, this), Pantalla::Twips(7200, this));

    connect(cmdImprimir, &QPushButton::clicked, this, [this] { ImprimirHistorial(ordid, this); });
    connect(cmdExpediente, &QPushButton::clicked, this, &frmHistorial::Expediente);
    connect(cmdCerrar, &QPushButton::clicked, this, &QWidget::close);
}

frmHistorial::~frmHistorial() = default;

void frmHistorial::Cargar() {
    setWindowTitle(QStringLiteral("Historial de la Orden de Compra Nº %1").arg(ordid));
    grdHistorial->clear();
    QList<Historial::Entrada> entradas;
    if (!Historial::LeerHistorial(ordid, &entradas))
        return;
    QTreeWidgetItem* cambio = nullptr;
    QStringList campos;
    auto cerrar = [&] {
        // A change of one line shows it on its own line; a longer one names its fields there.
        if (!cambio)
            return;
        if (cambio->childCount() == 1) {
            QTreeWidgetItem* unica = cambio->takeChild(0);
            cambio->setText(3, unica->text(3));
            cambio->setToolTip(3, unica->text(3));
            delete unica;
        } else
            cambio->setText(3, campos.join(QStringLiteral(", ")));
    };
    for (const Historial::Entrada& e : entradas) {
        if (!cambio || cambio->data(0, Qt::UserRole).toInt() != e.cambio) {
            cerrar();
            cambio = new QTreeWidgetItem(
                grdHistorial,
                {e.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")), e.login, e.tipo});
            cambio->setData(0, Qt::UserRole, e.cambio);
            campos.clear();
        }
        const QString campo = Historial::NombreCampo(e.campo);
        if (!campos.contains(campo))
            campos << campo;
        const QString linea = Historial::Descripcion(e);
        // A long line (a quote, a reason) is cut at the window's edge; its tooltip has it whole.
        (new QTreeWidgetItem(cambio, {QString(), QString(), QString(), linea}))
            ->setToolTip(3, linea);
    }
    cerrar();
    grdHistorial->expandAll();
    for (int c = 0; c < 3; ++c)
        grdHistorial->resizeColumnToContents(c);
    if (grdHistorial->topLevelItemCount() > 0)
        grdHistorial->setCurrentItem(grdHistorial->topLevelItem(0));
    else
        new QTreeWidgetItem(grdHistorial, {QString(), QString(), QString(),
                                           QStringLiteral("No hay cambios registrados.")});
}

void frmHistorial::Expediente() {
    const QString archivo = Mensajes::GuardarArchivo(
        this, QStringLiteral("Expediente de la Orden de Compra"), QStringLiteral("PDF (*.pdf)"),
        QDir::home().filePath(QStringLiteral("Orden de Compra %1.pdf").arg(ordid)));
    if (archivo.isEmpty())
        return;
    QString error;
    bool escrito = false;
    {
        CursorOcupado ocupado;
        escrito = ExportarExpediente(ordid, archivo, &error);
    }
    if (!escrito && !error.isEmpty())
        Mensajes::MsgBox(QStringLiteral("No se pudo escribir el archivo ") +
                             QDir::toNativeSeparators(archivo) + QStringLiteral("\n\n") + error,
                         Mensajes::Botones::OK, Mensajes::Icono::Exclamacion,
                         QStringLiteral("Atención"));
}
