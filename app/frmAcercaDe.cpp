#include "frmAcercaDe.h"

#include "Mensajes.h"
#include "Pantalla.h"
#include "Programa.h"
#include "VentanaUnica.h"

#include "ui_frmAcercaDe.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

VentanaUnica<frmAcercaDe>& Unica() {
    static VentanaUnica<frmAcercaDe> unica;
    return unica;
}

struct Herramienta {
    const char* programa;
    QStringList argumentos;
};

// Well-known system information tools, best first.
QList<Herramienta> Herramientas() {
#if defined(Q_OS_WIN)
    return {{"msinfo32", {}}};
#elif defined(Q_OS_MACOS)
    return {{"open", {QStringLiteral("-a"), QStringLiteral("System Information")}}};
#else
    return {{"hardinfo2", {}}, {"hardinfo", {}}, {"kinfocenter", {}}, {"lshw-gtk", {}}};
#endif
}

} // namespace

frmAcercaDe* frmAcercaDe::Instancia() {
    return Unica().Mostrar([] { return new frmAcercaDe; });
}

void frmAcercaDe::MostrarModal() {
    Unica().Modal([] { return new frmAcercaDe; }, [](frmAcercaDe* f) { f->exec(); });
}

void frmAcercaDe::StartSysInfo() {
    for (const Herramienta& h : Herramientas()) {
        const QString ruta = QStandardPaths::findExecutable(QString::fromLatin1(h.programa));
        if (ruta.isEmpty())
            continue;
        if (QProcess::startDetached(ruta, h.argumentos))
            return;
        break;
    }
    Mensajes::MsgBox(QStringLiteral("System Information Is Unavailable At This Time"),
                     Mensajes::Botones::OK);
}

frmAcercaDe::frmAcercaDe(QWidget* padre) : QDialog(padre), ui(new Ui::frmAcercaDe) {
    ui->setupUi(this);
    picIcon = ui->picIcon;
    lblTitle = ui->lblTitle;
    lblVersion = ui->lblVersion;
    lblDescription = ui->lblDescription;
    cmdOK = ui->cmdOK;
    cmdSysInfo = ui->cmdSysInfo;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Acerca de ") + Programa::Titulo());

    const int lado = Pantalla::Twips(720, this);
    picIcon->setPixmap(Programa::Icono().pixmap(lado, lado));
    picIcon->setAccessibleName(QStringLiteral("Icono de ") + Programa::Titulo());
    lblTitle->setText(Programa::Titulo());
    QFont f = lblTitle->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    lblTitle->setFont(f);
    lblVersion->setText(QStringLiteral("Versión ") + Programa::Version());

    const int ancho = Pantalla::Twips(1260, this);
    cmdOK->setMinimumWidth(ancho);
    cmdSysInfo->setMinimumWidth(ancho);
    ui->antesDescripcion->changeSize(0, Pantalla::Twips(120, this), QSizePolicy::Minimum,
                                     QSizePolicy::Fixed);
    ui->antesTextos->changeSize(Pantalla::Twips(240, this), 0, QSizePolicy::Fixed,
                                QSizePolicy::Minimum);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [] { StartSysInfo(); });
    resize(Pantalla::Twips(5730, this), Pantalla::Twips(3150, this));
}

frmAcercaDe::~frmAcercaDe() = default;
