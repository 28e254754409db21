#pragma once

#include "cQueryReg.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QLineEdit;
class QPushButton;
namespace Ui {
class frmOpciones;
}

// Edits the five machine-wide settings; they take effect at the next start.
// The controls are laid out in frmOpciones.ui.
class frmOpciones : public QDialog {
    Q_OBJECT
public:
    // The one window, shown without blocking its caller (the main window's menu).
    static frmOpciones* Instancia();
    // Shown modally; returns when it has closed (start-up after a failed connection).
    static void MostrarModal();
    ~frmOpciones() override;

    QLineEdit *txtUbicacion, *txtUbicacionRespaldo, *txtUbicacionLogo, *txtNombreEmpresa,
        *txtAvisoDias;
    QCheckBox* chkRespaldoAutomatico;
    QPushButton *cmdExaminar, *cmdExaminarRespaldo, *cmdExaminarLogo, *cmdOK, *cmdCancel;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    explicit frmOpciones(QWidget* padre = nullptr);
    void Cargar();
    void Aceptar();
    void ElegirArchivo(QLineEdit* campo, const QString& titulo, const QString& filtro);

    cQueryReg reg_;
    const std::unique_ptr<Ui::frmOpciones> ui;
};

// Whether a database location names the file without depending on the current folder.
bool UbicacionBaseValida(const QString& ruta);
