#pragma once

#include "ImportarAccess.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
namespace Ui {
class frmImportarAccess;
}

// Brings an Access file into a new database while a bar shows how far it got, then shows the
// reconciliation. A failure is told through the message seam and closes the window.
class frmImportarAccess : public QDialog {
    Q_OBJECT

public:
    frmImportarAccess(const QString& origen, const QString& destino, QWidget* padre = nullptr);
    ~frmImportarAccess() override;
    const ResultadoImportacion& Resultado() const { return resultado_; }

    QLabel* lblEstado;
    QProgressBar* prgImportacion;
    QPlainTextEdit* txtInforme;
    QPushButton* cmdAceptar;

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    void Importar();

    const std::unique_ptr<Ui::frmImportarAccess> ui;
    const QString origen_;
    const QString destino_;
    ResultadoImportacion resultado_;
    bool enCurso_ = false;
};

// At start-up, when "db_path" names an Access file: offers to bring it into a new database of
// the program beside it, under a name the person chooses. True when that was done and
// "db_path" (and gDbPath) now name the new database; the Access file is never written.
bool OfrecerImportacionAccess();
