#include "DialogoClave.h"

#include "ui_DialogoClave.h"

DialogoClave::DialogoClave(const QString& etiquetaLogin, const QString& etiquetaClave,
                           QWidget* parent)
    : QDialog(parent), ui(new Ui::DialogoClave) {
    // The .ui gives txtPassword a "*" for each character typed, whatever mask the platform's
    // style draws.
    ui->setupUi(this);
    lblLabels_0 = ui->lblLabels_0;
    lblLabels_1 = ui->lblLabels_1;
    txtLogin = ui->txtLogin;
    txtPassword = ui->txtPassword;
    cmdOK = ui->cmdOK;
    cmdCancel = ui->cmdCancel;
    lblLabels_0->setText(etiquetaLogin);
    lblLabels_1->setText(etiquetaClave);
    connect(cmdOK, &QPushButton::clicked, this, &DialogoClave::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &DialogoClave::cmdCancel_Click);
}

DialogoClave::~DialogoClave() = default;

void DialogoClave::cmdCancel_Click() {
    reject();
}
