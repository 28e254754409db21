#include "DialogoClave.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

DialogoClave::DialogoClave(const QString& etiquetaLogin, const QString& etiquetaClave,
                           QWidget* parent)
    : QDialog(parent) {
    lblLabels_0 = new QLabel(etiquetaLogin, this);
    lblLabels_1 = new QLabel(etiquetaClave, this);
    txtLogin = new QLineEdit(this);
    txtPassword = new QLineEdit(this);
    txtPassword->setEchoMode(QLineEdit::Password);
    // "*" for each character typed, whatever mask the platform's style draws.
    txtPassword->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    cmdOK = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancelar"), this);
    lblLabels_0->setObjectName(QStringLiteral("lblLabels_0"));
    lblLabels_1->setObjectName(QStringLiteral("lblLabels_1"));
    txtLogin->setObjectName(QStringLiteral("txtLogin"));
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    lblLabels_0->setBuddy(txtLogin);
    lblLabels_1->setBuddy(txtPassword);
    cmdOK->setDefault(true);

    auto* grilla = new QGridLayout(this);
    grilla->addWidget(lblLabels_0, 0, 0);
    grilla->addWidget(txtLogin, 0, 1);
    grilla->addWidget(lblLabels_1, 1, 0);
    grilla->addWidget(txtPassword, 1, 1);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdOK);
    botones->addWidget(cmdCancel);
    grilla->addLayout(botones, 2, 0, 1, 2);
    grilla->setColumnMinimumWidth(1, 200);

    setTabOrder(txtLogin, txtPassword);
    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    connect(cmdOK, &QPushButton::clicked, this, &DialogoClave::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &DialogoClave::cmdCancel_Click);
}

void DialogoClave::cmdCancel_Click() {
    reject();
}
