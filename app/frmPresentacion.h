#pragma once

#include <QWidget>

class QLabel;

// The picture with the program's name and version shown while start-up finishes.
class frmPresentacion : public QWidget {
    Q_OBJECT
public:
    // Shows a new splash without waiting on it and lets it paint; the caller deletes it.
    static frmPresentacion* Mostrar();

    explicit frmPresentacion(QWidget* padre = nullptr);

    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblCompany;

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};
