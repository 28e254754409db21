#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Sign-in at start-up. The caller shows it modally and reads LoginSucceeded; on success gLogin
// holds the login exactly as typed.
class frmLogin : public QDialog {
    Q_OBJECT
public:
    explicit frmLogin(QWidget* parent = nullptr);

    bool LoginSucceeded = false;

    QLabel* lblLabels_0;
    QLabel* lblLabels_1;
    QLineEdit* txtLogin;
    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void reject() override;
};
