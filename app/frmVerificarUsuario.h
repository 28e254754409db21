#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

// The chosen authoriser confirms with their own password. Loaded anew for each use; the caller
// reads `autorizado` after exec().
class frmVerificarUsuario : public QDialog {
    Q_OBJECT
public:
    explicit frmVerificarUsuario(QWidget* parent = nullptr);

    // Gives the chosen authoriser's UsuId as text; set by the window that owns the choice.
    static std::function<QString()> LeerAutorizante;

    bool autorizado = false;

    QLabel* lblLabels_0;
    QLabel* lblLabels_1;
    QLineEdit* txtLogin;
    QLineEdit* txtPassword;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void cmdOK_Click();
    void cmdCancel_Click();

private:
    enum class Lectura { Hallado, NoExiste, Fallo };
    Lectura LeerUsuario(const QString& columna, QString* valor);

    QString usuId_;
};
