#pragma once

#include "cQueryReg.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Edits the five machine-wide settings; they take effect at the next start.
class frmOpciones : public QDialog {
    Q_OBJECT
public:
    // The one window, shown without blocking its caller (the main window's menu).
    static frmOpciones* Instancia();
    // Shown modally; returns when it has closed (start-up after a failed connection).
    static void MostrarModal();

    QLabel* lblUbicacion;
    QLineEdit* txtUbicacion;
    QPushButton* cmdExaminar;
    QCheckBox* chkRespaldoAutomatico;
    QLineEdit* txtUbicacionRespaldo;
    QPushButton* cmdExaminarRespaldo;
    QLabel* Label4;
    QLineEdit* txtUbicacionLogo;
    QPushButton* cmdExaminarLogo;
    QLabel* Label5;
    QLineEdit* txtNombreEmpresa;
    QLabel* Label1;
    QLineEdit* txtAvisoDias;
    QLabel* Label2;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    explicit frmOpciones(QWidget* padre = nullptr);
    static frmOpciones* Crear();
    void Cargar();
    void Aceptar();
    void ElegirArchivo(QLineEdit* campo, const QString& titulo, const QString& filtro);

    cQueryReg reg_;
};

// Whether a database location names the file without depending on the current folder.
bool UbicacionBaseValida(const QString& ruta);
