#pragma once

#include "cQueryReg.h"

#include "ui_frmOpciones.h"

#include <QDialog>

// Edits the five machine-wide settings; they take effect at the next start.
// The controls (txtUbicacion, chkRespaldoAutomatico, cmdOK...) are laid out in frmOpciones.ui.
class frmOpciones : public QDialog, public Ui::frmOpciones {
    Q_OBJECT
public:
    // The one window, shown without blocking its caller (the main window's menu).
    static frmOpciones* Instancia();
    // Shown modally; returns when it has closed (start-up after a failed connection).
    static void MostrarModal();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    explicit frmOpciones(QWidget* padre = nullptr);
    void Cargar();
    void Aceptar();
    void ElegirArchivo(QLineEdit* campo, const QString& titulo, const QString& filtro);

    cQueryReg reg_;
};

// Whether a database location names the file without depending on the current folder.
bool UbicacionBaseValida(const QString& ruta);
