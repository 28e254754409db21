#pragma once

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
namespace Ui {
class DialogoClave;
}

// What the sign-in and the authoriser's confirmation share: a login over a password, with
// "Aceptar" and "Cancelar". Each window checks the password in its own cmdOK_Click.
class DialogoClave : public QDialog {
    Q_OBJECT
public:
    QLabel* lblLabels_0;
    QLabel* lblLabels_1;
    QLineEdit* txtLogin;
    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    virtual void cmdOK_Click() = 0;
    void cmdCancel_Click();

protected:
    DialogoClave(const QString& etiquetaLogin, const QString& etiquetaClave, QWidget* parent);
    ~DialogoClave() override;

private:
    const std::unique_ptr<Ui::DialogoClave> ui;
};
