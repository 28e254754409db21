#include "frmReglas.h"

#include "Mensajes.h"
#include "ReglasAprobacion.h"
#include "Usuario.h"

#include "ui_frmReglas.h"

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

frmReglas::frmReglas(QWidget* padre) : QDialog(padre), ui(new Ui::frmReglas) {
    const ReglasAprobacion r = ReglasAprobacion::Leer();
    ui->setupUi(this);
    chkAutorizanteAjeno = ui->chkAutorizanteAjeno;
    chkLimitePorMoneda = ui->chkLimitePorMoneda;
    chkReautorizar = ui->chkReautorizar;
    chkJustificarCotizacion = ui->chkJustificarCotizacion;
    cmdOK = ui->cmdOK;
    cmdCancel = ui->cmdCancel;
    chkAutorizanteAjeno->setChecked(r.autorizanteAjeno);
    chkLimitePorMoneda->setChecked(r.limitePorMoneda);
    chkReautorizar->setChecked(r.reautorizarAlEditar);
    chkJustificarCotizacion->setChecked(r.justificarCotizacion);
    connect(cmdOK, &QPushButton::clicked, this, &frmReglas::Aceptar);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmReglas::~frmReglas() = default;

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
