#include "frmAcercaDe.h"

#include "Mensajes.h"
#include "Pantalla.h"
#include "Programa.h"
#include "VentanaUnica.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

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

frmAcercaDe::frmAcercaDe(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmAcercaDe"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Acerca de ") + Programa::Titulo());

    picIcon = new QLabel;
    picIcon->setObjectName(QStringLiteral("picIcon"));
    const int lado = Pantalla::Twips(720, this);
    picIcon->setPixmap(Programa::Icono().pixmap(lado, lado));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    picIcon->setAccessibleName(QStringLiteral("Icono de ") + Programa::Titulo());
    lblTitle = new QLabel(Programa::Titulo());
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont f = lblTitle->font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    lblTitle->setFont(f);
    lblVersion = new QLabel(QStringLiteral("Versión ") + Programa::Version());
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription = new QLabel;
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);

    auto* linea = new QFrame;
    linea->setFrameShape(QFrame::HLine);
    linea->setFrameShadow(QFrame::Sunken);

    cmdOK = new QPushButton(QStringLiteral("OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."));
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);
    const int ancho = Pantalla::Twips(1260, this);
    cmdOK->setMinimumWidth(ancho);
    cmdSysInfo->setMinimumWidth(ancho);

    auto* textos = new QVBoxLayout;
    textos->addWidget(lblTitle);
    textos->addWidget(lblVersion);
    textos->addSpacing(Pantalla::Twips(120, this));
    textos->addWidget(lblDescription, 1);

    auto* arriba = new QHBoxLayout;
    arriba->addWidget(picIcon);
    arriba->addSpacing(Pantalla::Twips(240, this));
    arriba->addLayout(textos, 1);

    auto* botones = new QVBoxLayout;
    botones->addWidget(cmdOK);
    botones->addWidget(cmdSysInfo);

    auto* abajo = new QHBoxLayout;
    abajo->addStretch();
    abajo->addLayout(botones);

    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba, 1);
    todo->addWidget(linea);
    todo->addLayout(abajo);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [] { StartSysInfo(); });
    resize(Pantalla::Twips(5730, this), Pantalla::Twips(3150, this));
}
