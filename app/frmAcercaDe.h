#pragma once

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;
namespace Ui {
class frmAcercaDe;
}

// The program's name, version and icon, with a way to the system's information tool.
class frmAcercaDe : public QDialog {
    Q_OBJECT
public:
    // The one window, shown without blocking its caller.
    static frmAcercaDe* Instancia();
    // Shown modally; returns when it has closed.
    static void MostrarModal();
    ~frmAcercaDe() override;

    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    QPushButton* cmdOK;
    QPushButton* cmdSysInfo;

    // Starts the first system information tool the platform has, or says there is none.
    static void StartSysInfo();

private:
    explicit frmAcercaDe(QWidget* padre = nullptr);

    const std::unique_ptr<Ui::frmAcercaDe> ui;
};
