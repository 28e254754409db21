#include "frmReglas.h"

#include "Mensajes.h"
#include "ReglasAprobacion.h"
#include "Usuario.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QCheckBox* Casilla(const char* nombre, const QString& texto, bool marcada, QWidget* padre) {
    auto* c = new QCheckBox(texto, padre);
    c->setObjectName(QLatin1String(nombre));
    c->setChecked(marcada);
    return c;
}

} // namespace

void frmReglas::Mostrar(QWidget* padre) {
    // The menu entry is only offered to administrators; this keeps it so from anywhere else.
    if (!EsAdministrador(gLogin)) {
        Mensajes::MsgBox(QStringLiteral("Sólo un administrador puede cambiar las reglas de "
                                        "aprobación."),
                         Mensajes::Botones::OK, Mensajes::Icono::Informacion,
                         QStringLiteral("Atención"));
        return;
    }
    frmReglas f(padre);
    f.exec();
}

frmReglas::frmReglas(QWidget* padre) : QDialog(padre) {
    setObjectName(QStringLiteral("frmReglas"));
    setWindowTitle(QStringLiteral("Reglas de aprobación"));
    const ReglasAprobacion r = ReglasAprobacion::Leer();
    auto* raiz = new QVBoxLayout(this);
    auto* aviso = new QLabel(QStringLiteral("Valen para todas las estaciones de trabajo que usan "
                                            "esta base de datos."),
                             this);
    aviso->setWordWrap(true);
    raiz->addWidget(aviso);
    chkAutorizanteAjeno =
        Casilla("chkAutorizanteAjeno",
                QStringLiteral("El autorizante no puede ser quien ingresó la orden ni el "
                               "solicitante"),
                r.autorizanteAjeno, this);
    chkLimitePorMoneda =
        Casilla("chkLimitePorMoneda",
                QStringLiteral("Cada autorizante puede autorizar hasta su límite en cada moneda"),
                r.limitePorMoneda, this);
    chkReautorizar =
        Casilla("chkReautorizar",
                QStringLiteral("Una orden autorizada que se edita vuelve a requerir autorización"),
                r.reautorizarAlEditar, this);
    chkJustificarCotizacion =
        Casilla("chkJustificarCotizacion",
                QStringLiteral("Al aceptar una cotización vencida pedir confirmación, y al "
                               "aceptar una que no es la de menor precio pedir el motivo"),
                r.justificarCotizacion, this);
    raiz->addWidget(chkAutorizanteAjeno);
    raiz->addWidget(chkLimitePorMoneda);
    raiz->addWidget(chkReautorizar);
    raiz->addWidget(chkJustificarCotizacion);

    cmdOK = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(cmdOK);
    botones->addWidget(cmdCancel);
    raiz->addLayout(botones);
    connect(cmdOK, &QPushButton::clicked, this, &frmReglas::Aceptar);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmReglas::Aceptar() {
    ReglasAprobacion r;
    r.autorizanteAjeno = chkAutorizanteAjeno->isChecked();
    r.limitePorMoneda = chkLimitePorMoneda->isChecked();
    r.reautorizarAlEditar = chkReautorizar->isChecked();
    r.justificarCotizacion = chkJustificarCotizacion->isChecked();
    // A failed write has been reported; the window stays so that nothing looks saved.
    if (ReglasAprobacion::Guardar(r, gLogin))
        accept();
}
