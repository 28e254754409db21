#include "frmMantProductos.h"

#include "ProductosCalculos.h"
#include "dteQuimbel.h"

#include "ui_frmMantProductos.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>

// Puts the list's highlighted row where the record set stands (none while a new product is
// being entered or after a search that found nothing).
void frmMantProductos::SincronizarLista() {
    sincronizando_ = true;
    const int fila = Rs().AbsolutePosition() - 1;
    if (fila >= 0 && fila < Modelo()->rowCount()) {
        const QModelIndex i = Modelo()->index(fila, 0);
        dtgLista()->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
        dtgLista()->scrollTo(i);
    } else {
        dtgLista()->selectionModel()->clearSelection();
        dtgLista()->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    sincronizando_ = false;
}

void frmMantProductos::FilaActualCambiada(int fila) {
    if (sincronizando_ || fila < 0)
        return;
    Rs().SetAbsolutePosition(fila + 1);
    MostrarRegistro();
    MostrarMargen();
}

void frmMantProductos::Actualizar(const SeleccionLista& seleccion) {
    if (seleccion.tipo == SeleccionLista::Tipo::Busqueda)
        Dte().BuscarProductos(seleccion.texto);
    else
        Dte().TodosLosProductos();
    // A list that cannot be read was told to the person and stays empty.
    static_cast<void>(Dte().Abrir(QString::fromLatin1(dteQuimbel::kCProductos)));
    MostrarProductos();
}

void frmMantProductos::MostrarProductos() {
    Modelo()->Asignar(Rs());
    SincronizarLista();
    MostrarRegistro();
    MostrarMargen();
    ActualizarCombos();
}

void frmMantProductos::ActualizarCombos() {
    // Rebuilding the lists never changes what the controls show: an entry keeps its choices.
    const RecordsetEditable& rs = Rs();
    const bool delRegistro = !EnEntrada() && rs.AbsolutePosition() > 0;
    const QVariant categoria =
        delRegistro ? rs.Campo(QStringLiteral("CatId")) : ui->dtcCategorias->currentData();
    const QString moneda =
        delRegistro ? rs.Texto(QStringLiteral("ProMoneda")) : ui->dtcMonedas->currentText();
    const QString unidad =
        delRegistro ? rs.Texto(QStringLiteral("ProUnidadMedida")) : ui->dtcUnidades->currentText();

    ui->dtcCategorias->clear();
    Dte().IncluirCategoriasUsadas();
    if (Dte().Abrir(QString::fromLatin1(dteQuimbel::kCCategoriasActivas))) {
        Recordset& cats = Dte().rsCCategoriasActivas();
        for (cats.MoveFirst(); !cats.Eof(); cats.MoveNext())
            ui->dtcCategorias->addItem(cats.Texto(QStringLiteral("CatDescripcion")),
                                       cats.Campo(QStringLiteral("CatId")).toInt());
    }
    ui->dtcCategorias->setCurrentIndex(
        categoria.isValid() ? ui->dtcCategorias->findData(categoria.toInt()) : -1);

    auto llenar = [](QComboBox* combo, const char* comando, Recordset& lista,
                     const QString& valor) {
        combo->clear();
        if (Dte().Abrir(QString::fromLatin1(comando)))
            for (lista.MoveFirst(); !lista.Eof(); lista.MoveNext())
                if (!lista.Texto(lista.NombreCampo(0)).isEmpty())
                    combo->addItem(lista.Texto(lista.NombreCampo(0)));
        combo->setCurrentIndex(-1);
        combo->setCurrentText(valor);
    };
    llenar(ui->dtcUnidades, dteQuimbel::kUnidadesDeMedida, Dte().rsUnidadesDeMedida(), unidad);
    llenar(ui->dtcMonedas, dteQuimbel::kMonedas, Dte().rsMonedas(), moneda);
}

void frmMantProductos::TeclaEnLista(const QString& texto, bool retroceso) {
    RecordsetEditable& rs = Rs();
    if (rs.AbsolutePosition() <= 0)
        return;
    if (retroceso) {
        busqueda_.clear();
        rs.MoveFirst();
    } else {
        busqueda_ += texto;
        const int fila = ProductosCalculos::BuscarDesde(Modelo()->Textos(0),
                                                        rs.AbsolutePosition() - 1, busqueda_);
        if (fila >= 0) {
            rs.SetAbsolutePosition(fila + 1);
        } else {
            rs.MoveLast();
            rs.MoveNext();
        }
    }
    lblLista()->setText(ProductosCalculos::TituloBusqueda(busqueda_));
    SincronizarLista();
    MostrarRegistro();
    MostrarMargen();
}

bool frmMantProductos::eventFilter(QObject* obj, QEvent* ev) {
    if (obj == dtgLista() && ev->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(ev);
        if (k->key() == Qt::Key_Backspace) {
            TeclaEnLista(QString(), true);
            return true;
        }
        const QString t = k->text();
        if (!t.isEmpty() && t.at(0).isPrint() &&
            !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            TeclaEnLista(t, false);
            return true;
        }
    }
    return frmMantenimiento::eventFilter(obj, ev);
}
