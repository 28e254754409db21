#pragma once

#include "frmMantenimiento.h"

#include <memory>

class RecordsetEditable;
class dteQuimbel;
namespace Ui {
class frmMantProductos;
}

// The product catalogue: a list of every product, the entry controls of the current one, its
// profit margin, and a first-letters search in the list. The controls show the current record
// of the data environment's product record set; "Guardar" copies them into it and writes it.
// Laid out by its own form, with lookup lists for the category, currency and unit.
class frmMantProductos : public frmMantenimiento {
    Q_OBJECT
public:
    frmMantProductos();
    ~frmMantProductos() override;

    // The one products window, created on first use, shown and brought forward.
    static frmMantProductos* Instancia();
    static bool Abierta();

    // Brings the window forward entering a new product. An entry already under way with typed
    // changes is never written half-filled nor silently lost: the person is asked whether to
    // drop it; "No" leaves it as it is.
    void IngresarNuevo();

    // Reloads the list: every product, or those a search finds.
    void Actualizar(const SeleccionLista& seleccion);
    void ActualizarCombos();

    bool EnEntrada() const { return EnEdicion(); }

    void Form_Load() override;
    void MostrarRegistro() override;

protected:
    void Nuevo() override;
    void Editar() override;
    void Guardar() override;
    void Imprimir() override;
    void Buscar() override;
    void MostrarTodos() override;
    void Cancelar() override;
    // Checks the entry and writes it to the record set with its history line.
    bool GuardarRegistro() override;
    void PonerEstado(bool edicion, bool alCrear = false) override;
    void FilaActualCambiada(int fila) override;

    void changeEvent(QEvent* ev) override;
    void closeEvent(QCloseEvent* ev) override;
    bool eventFilter(QObject* obj, QEvent* ev) override;

private:
    // The data environment and its product record set, which the controls show.
    static dteQuimbel& Dte();
    static RecordsetEditable& Rs();

    void VaciarCampos(bool sinVencimiento);
    void MostrarMargen();
    void SincronizarLista();
    // The list, the current product, its margins and the lookup lists, after the rows changed.
    void MostrarProductos();
    void TeclaEnLista(const QString& texto, bool retroceso);
    QString Instantanea() const;
    // A save the database refused: the list goes back to what is stored, the entry stays.
    void AvisarNoGuardado();
    // Another workstation changed the product since the list read it: says who, and shows the
    // list afresh if the person wants; what they typed stays otherwise.
    void AvisarCambiadoPorOtro(int clave);
    bool cambiadoPorOtro_ = false; // set by the last GuardarRegistro
    void AbrirCategorias();

    const std::unique_ptr<Ui::frmMantProductos> ui;
    bool sincronizando_ = false;
    QString busqueda_;
    QString instantanea_;
};
