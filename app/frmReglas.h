#pragma once

#include <QDialog>
#include <memory>

class QCheckBox;
class QPushButton;
namespace Ui {
class frmReglas;
}

// The office's approval rules, shared by every workstation through the database. Only an
// administrator may change them.
class frmReglas : public QDialog {
    Q_OBJECT
public:
    // Shown modally; returns when it has closed.
    static void Mostrar(QWidget* padre = nullptr);
    ~frmReglas() override;

    QCheckBox* chkAutorizanteAjeno;
    QCheckBox* chkLimitePorMoneda;
    QCheckBox* chkReautorizar;
    QCheckBox* chkJustificarCotizacion;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

private:
    explicit frmReglas(QWidget* padre);
    void Aceptar();

    const std::unique_ptr<Ui::frmReglas> ui;
};
