#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <memory>

class QLabel;
class QProgressBar;
namespace Ui {
class frmPresentacion;
}

// The picture with the program's name and version shown while start-up finishes.
class frmPresentacion : public QWidget {
    Q_OBJECT
public:
    // Shows a new splash without waiting on it and lets it paint; the caller deletes it.
    static frmPresentacion* Mostrar();

    explicit frmPresentacion(QWidget* padre = nullptr);
    ~frmPresentacion() override;

    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblCompany;
    QLabel* lblCopia;
    QProgressBar* prgCopia;

    // How far the start-up backup got, in pages. A copy that lasts shows "Copiando la base de
    // datos…" and a bar; the splash is painted again on each call, so that it never looks hung.
    void Avance(int hechas, int total);

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    const std::unique_ptr<Ui::frmPresentacion> ui;
    QElapsedTimer copiando_;
};
