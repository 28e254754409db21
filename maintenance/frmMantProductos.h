#pragma once

#include "ui_frmMantProductos.h"

#include <QWidget>
#include <array>

class ModeloProductos;
class RecordsetEditable;
class dteQuimbel;

// The product catalogue: a list of every product, the entry controls of the current one, its
// profit margin, and a first-letters search in the list. The controls show the current record
// of the data environment's product record set; "Guardar" copies them into it and writes it.
class frmMantProductos : public QWidget, private Ui::frmMantProductos {
    Q_OBJECT
public:
    // The one products window, created on first use, shown and brought forward.
    static frmMantProductos* Instancia();
    static bool Abierta();

    // Brings the window forward entering a new product. An entry already under way with typed
    // changes is never written half-filled nor silently lost: the person is asked whether to
    // drop it; "No" leaves it as it is.
    void IngresarNuevo();

    void Actualizar(const QString& sql);
    void ActualizarCombos();
    void cmdMenu_Click(int index);

    bool EnEntrada() const { return entrada_; }
    ~frmMantProductos() override;

    static constexpr const char* kSqlTodos = "SELECT * FROM PRODUCTOS ORDER BY PRODESCRIPCION ASC";

protected:
    void changeEvent(QEvent* ev) override;
    void closeEvent(QCloseEvent* ev) override;
    bool eventFilter(QObject* obj, QEvent* ev) override;

private:
    explicit frmMantProductos(QWidget* parent = nullptr);
    // The data environment and its product record set, which the controls show.
    static dteQuimbel& Dte();
    static RecordsetEditable& Rs();

    void ConstruirControles();
    void SetEntrada(bool entrada);
    void VaciarCampos(bool sinVencimiento);
    void MostrarRegistro();
    void MostrarMargen();
    void SincronizarLista();
    // The list, the current product, its margins and the lookup lists, after the rows changed.
    void MostrarProductos();
    void FilaCambiada(int fila);
    void TeclaEnLista(const QString& texto, bool retroceso);
    QString Instantanea() const;
    bool Guardar();
    // A save the database refused: the list goes back to what is stored, the entry stays.
    void AvisarNoGuardado();
    void AbrirCategorias();
    void ImprimirProductos();

    // The controls of the .ui file by index, as the commands and fields are numbered.
    std::array<QLineEdit*, 5> txtFields{};
    ModeloProductos* modelo_ = nullptr;
    std::array<QPushButton*, 8> cmdMenu{};

    bool entrada_ = false;
    bool sincronizando_ = false;
    QString busqueda_;
    QString instantanea_;
};
