#include "Controles.h"
#include "DatosEditor.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "frmGrillaProductos.h"
#include "frmGrillaProveedores.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace DatosEditor;

namespace {

// Runs a picker for `texto` and gives back what its grid listed (first column).
template <class Picker> QStringList Coincidencias(const QString& texto) {
    Picker p;
    if constexpr (std::is_same_v<Picker, frmGrillaProductos>)
        p.descripcion = texto;
    else
        p.nombrefantasia = texto;
    QStringList r;
    const auto hecho = AlAbrirModal([&r](QWidget* w) {
        auto* picker = static_cast<GrillaBusqueda*>(w);
        QAbstractItemModel* modelo = picker->Grilla()->model();
        for (int i = 0; i < modelo->rowCount(); ++i)
            r << modelo->index(i, 0).data().toString();
        picker->cmdCancelar->click();
    });
    p.exec();
    if (!QTest::qWaitFor([&hecho] { return *hecho; }))
        QTest::qFail("no se abrió la ventana de coincidencias", __FILE__, __LINE__);
    return r;
}

} // namespace

class PruebaGrillas : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Cerrar(); }

    void buscaProductosPorCualquierParteDelNombre() {
        Entorno e;
        CargarMaestros(e);
        const QString tuerca = QStringLiteral("Tuerca 3/8'' zincada");
        QCOMPARE(Coincidencias<frmGrillaProductos>(QStringLiteral("tuerca")), QStringList{tuerca});
        QCOMPARE(Coincidencias<frmGrillaProductos>(QStringLiteral("3/8''")), QStringList{tuerca});
        QCOMPARE(Coincidencias<frmGrillaProductos>(QStringLiteral("ZINCADA")), QStringList{tuerca});
        QCOMPARE(Coincidencias<frmGrillaProductos>(QString()).size(), 2);
        // Wildcards typed by a person are plain characters.
        QCOMPARE(Coincidencias<frmGrillaProductos>(QStringLiteral("%")), QStringList{});
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    void buscaProveedoresTambienPorRazonSocial() {
        Entorno e;
        CargarMaestros(e);
        QCOMPARE(Coincidencias<frmGrillaProveedores>(QStringLiteral("Industrial")),
                 QStringList{QStringLiteral("Acme")});
        QCOMPARE(Coincidencias<frmGrillaProveedores>(QStringLiteral("o'brien")),
                 QStringList{QStringLiteral("Rodamientos O'Brien")});
        QCOMPARE(Coincidencias<frmGrillaProveedores>(QStringLiteral("Hnos.")),
                 QStringList{QStringLiteral("Rodamientos O'Brien")});
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    void grillaDeProductosMuestraLaCategoria() {
        Entorno e;
        CargarMaestros(e);
        frmGrillaProductos p;
        p.descripcion = QStringLiteral("Tornillo");
        QString categoria;
        const auto hecho = AlAbrirModal([&categoria](QWidget* w) {
            auto* picker = static_cast<frmGrillaProductos*>(w);
            categoria = picker->dtgProductos->model()->index(0, 2).data().toString();
            picker->close();
        });
        p.exec();
        QTRY_VERIFY(*hecho);
        QCOMPARE(categoria, QStringLiteral("Ferretería"));
        // The close box counts as "Cancelar".
        QVERIFY(p.cancelado);
    }

    void elegirConElTecladoYCancelarDespues() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        e.Producto(QStringLiteral("Tornillo de anclaje"));
        const int tercero = e.Producto(QStringLiteral("Tornillo Parker"));
        frmOrden* f = Abrir(true);
        f->txtDescripcion->setText(QStringLiteral("Tornillo"));
        auto hecho = AlAbrirModal([](QWidget* w) {
            auto* picker = static_cast<frmGrillaProductos*>(w);
            QTest::keyClick(picker->dtgProductos, Qt::Key_Down);
            QTest::keyClick(picker->dtgProductos, Qt::Key_Down);
            picker->cmdSeleccionar->click();
        });
        f->cmdBuscarProducto->click();
        QTRY_VERIFY(*hecho);
        QCOMPARE(f->txtDescripcion->text(), QStringLiteral("Tornillo Parker"));
        QCOMPARE(Tag(f->txtDescripcion), QString::number(tercero));

        hecho =
            AlAbrirModal([](QWidget* w) { static_cast<GrillaBusqueda*>(w)->cmdCancelar->click(); });
        f->cmdBuscarProducto->click();
        QTRY_VERIFY(*hecho);
        QCOMPARE(f->txtDescripcion->text(), QString());
        QCOMPARE(Tag(f->txtDescripcion), QStringLiteral("0"));

        // No match: the typed text stays and no id is taken from the earlier choice.
        f->txtDescripcion->setText(QStringLiteral("Clavo"));
        hecho = AlAbrirModal(
            [](QWidget* w) { static_cast<GrillaBusqueda*>(w)->cmdSeleccionar->click(); });
        f->cmdBuscarProducto->click();
        QTRY_VERIFY(*hecho);
        QCOMPARE(f->txtDescripcion->text(), QStringLiteral("Clavo"));
        QCOMPARE(Tag(f->txtDescripcion), QStringLiteral("0"));

        // The supplier picker fills the quote entry the same way, first match chosen at once.
        f->txtProveedor->setText(QStringLiteral("Acme Ind"));
        hecho = AlAbrirModal(
            [](QWidget* w) { static_cast<GrillaBusqueda*>(w)->cmdSeleccionar->click(); });
        f->cmdBuscarProveedor->click();
        QTRY_VERIFY(*hecho);
        QCOMPARE(f->txtProveedor->text(), QStringLiteral("Acme"));
        QCOMPARE(Tag(f->txtProveedor), QString::number(m.acme));
    }

    void filaElegidaPorAccesibilidadEsLaQueSeToma() {
        Entorno e;
        CargarMaestros(e);
        e.Producto(QStringLiteral("Tornillo de anclaje"));
        const int tercero = e.Producto(QStringLiteral("Tornillo Parker"));
        frmOrden* f = Abrir(true);
        f->txtDescripcion->setText(QStringLiteral("Tornillo"));
        int actual = -1;
        const auto hecho = AlAbrirModal([&actual](QWidget* w) {
            auto* picker = static_cast<frmGrillaProductos*>(w);
            QAccessible::queryAccessibleInterface(picker->dtgProductos)
                ->tableInterface()
                ->selectRow(2);
            actual = picker->dtgProductos->currentIndex().row();
            picker->cmdSeleccionar->click();
        });
        f->cmdBuscarProducto->click();
        QVERIFY(*hecho);
        QCOMPARE(actual, 2);
        QCOMPARE(f->txtDescripcion->text(), QStringLiteral("Tornillo Parker"));
        QCOMPARE(Tag(f->txtDescripcion), QString::number(tercero));

        // Made current without being selected, the row is highlighted as the one taken.
        f->txtDescripcion->setText(QStringLiteral("Tornillo"));
        QList<int> seleccionadas;
        const auto elegida = AlAbrirModal([&seleccionadas](QWidget* w) {
            QTableView* g = static_cast<frmGrillaProductos*>(w)->dtgProductos;
            g->selectionModel()->setCurrentIndex(g->model()->index(1, 0),
                                                 QItemSelectionModel::NoUpdate);
            for (const QModelIndex& i : g->selectionModel()->selectedRows())
                seleccionadas << i.row();
            static_cast<GrillaBusqueda*>(w)->cmdSeleccionar->click();
        });
        f->cmdBuscarProducto->click();
        QVERIFY(*elegida);
        QCOMPARE(seleccionadas, QList<int>{1});
        QCOMPARE(f->txtDescripcion->text(), QStringLiteral("Tornillo de anclaje"));
    }

    void enModoVistaLaBusquedaDeProductoSigueDisponible() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int orden = Orden(e, m, QStringLiteral("korva"));
        frmOrden* f = Abrir(false, orden);
        QVERIFY(!f->txtDescripcion->isEnabled());
        f->txtDescripcion->setText(QStringLiteral("autorroscante"));
        auto hecho = AlAbrirModal(
            [](QWidget* w) { static_cast<GrillaBusqueda*>(w)->cmdSeleccionar->click(); });
        f->cmdBuscarProducto->click();
        QTRY_VERIFY(*hecho);
        QCOMPARE(Tag(f->txtDescripcion), QString::number(m.tornillo));
        QVERIFY(!f->txtDescripcion->isEnabled());
    }
};

QUIMBEL_PRUEBA(PruebaGrillas)
#include "PruebaGrillas.moc"
