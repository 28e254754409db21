#include "Controles.h"
#include "DatosEditor.h"
#include "GrillaBusqueda.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "Reloj.h"
#include "Usuario.h"
#include "frmGrillaProductos.h"
#include "frmMantProductos.h"
#include "frmMantProveedores.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace DatosEditor;
using Mensajes::Icono;
using Mensajes::Respuesta;

namespace {

QList<bool> Botones(frmOrden* f) {
    QList<bool> r;
    for (QPushButton* b : f->cmdMenu)
        r << b->isEnabled();
    return r;
}

// What an assistive tool is told a widget is: its role and its name.
QPair<QAccessible::Role, QString> Anuncio(QObject* o) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
    return {i->role(), i->text(QAccessible::Name)};
}

} // namespace

class PruebaOrden : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        Cerrar();
        Reloj::Fijar(QDateTime());
        gLogin = QStringLiteral("korva");
    }

    void nuevaOrdenEmpiezaConLosValoresPorOmision() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        Reloj::Fijar(kAhora);
        frmOrden* f = Abrir(true);
        QCOMPARE(f->windowTitle(), QStringLiteral("Detalle de la Orden de Compra"));
        QVERIFY(f->agregando);
        QCOMPARE(f->dtpFecha->Momento(), kAhora);
        QCOMPARE(f->txtLogin->text(), QStringLiteral("korva"));
        QCOMPARE(f->cboPrioridades->currentText(), QStringLiteral("Normal"));
        QCOMPARE(f->dtcSectores->Valor(), QString::number(m.sectorCompras));
        QCOMPARE(f->dtcCentrosDeCosto->Valor(), QStringLiteral("1"));
        QCOMPARE(f->lblNumeroDeOrden->text(), QString());
        QCOMPARE(Tag(f->txtDescripcion), QStringLiteral("0"));
        QCOMPARE(f->txtPrecio->text(), QStringLiteral("0.0"));
        QCOMPARE(f->grdPrecios->topLevelItemCount(), 0);
        QVERIFY(!f->dtcAutorizantes->isEnabled());
        QVERIFY(f->chkAutorizo->isEnabled() && f->txtCantidad->isEnabled());
        QVERIFY(f->grdPrecios->isEnabled() && f->cmdAceptar->isEnabled());
        QCOMPARE(Botones(f), (QList<bool>{false, false, true, true, true, false, true}));
        // Only requesters and authorisers who are active are offered.
        QCOMPARE(f->dtcSolicitantes->Filas(), 2);
        QCOMPARE(f->dtcAutorizantes->Filas(), 2);
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    void listasLibresTomanLoTecleadoYSoloSugieren() {
        Entorno e;
        e.Insertar("sector_insertar", {QStringLiteral("Viejo")});
        e.Sql(QStringLiteral("UPDATE sectores SET SecDesactivado=1"));
        frmOrden* f = Abrir(true);
        QCOMPARE(f->dtcSectores->Valor(), QString());
        QCOMPARE(f->dtcCentrosDeCosto->Valor(), QString());
        QCOMPARE(f->dtcSectores->currentText(), QString());
        // Free-text lists with nothing to suggest still take typed text.
        QCOMPARE(f->dtcUnidades->count(), 0);
        QTest::keyClicks(f->dtcUnidades->lineEdit(), QStringLiteral("Bolsa"));
        QCOMPARE(f->dtcUnidades->Valor(), QStringLiteral("Bolsa"));

        // With suggestions, what is typed stays as typed, letter case included, whether the
        // person leaves with Tab or Enter; only a suggestion picked in the popup replaces it.
        const Maestros m = CargarMaestros(e);
        const int orden = Orden(e, m, QStringLiteral("korva"));
        e.Sql(QStringLiteral("UPDATE ordenes SET OrdUnidadMedida='Caja x 100', "
                             "OrdLugarEntrega='Planta 1'"));
        Precio(e, orden, m.acme, 10, true);
        f->CargarListas();
        QVERIFY(QTest::qWaitForWindowActive(f));
        auto teclear = [f](QWidget* lista, const QString& texto, QList<Qt::Key> teclas) {
            lista->setFocus();
            for (QChar c : texto)
                QTest::sendKeyEvent(QTest::Click, f->windowHandle(), Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            for (Qt::Key t : teclas)
                QTest::keyClick(f->windowHandle(), t);
        };
        teclear(f->dtcUnidades, QStringLiteral("Caja"), {});
        QCOMPARE(QApplication::activePopupWidget() != nullptr, true);
        QTest::keyClick(f->windowHandle(), Qt::Key_Tab);
        QCOMPARE(f->dtcUnidades->Valor(), QStringLiteral("Caja"));
        teclear(f->dtcLugarDeEntrega, QStringLiteral("planta 1"), {Qt::Key_Return});
        QCOMPARE(f->dtcLugarDeEntrega->Valor(), QStringLiteral("planta 1"));
        QCOMPARE(QApplication::focusWidget(), f->dtcSolicitantes);
        teclear(f->dtcMoneda, QStringLiteral("pes"), {Qt::Key_Down, Qt::Key_Return});
        QCOMPARE(f->dtcMoneda->Valor(), QStringLiteral("Pesos"));
        teclear(f->dtcFormaDePago, QStringLiteral("Conta"), {Qt::Key_Escape, Qt::Key_Tab});
        QCOMPARE(f->dtcFormaDePago->Valor(), QStringLiteral("Conta"));
        QVERIFY(!QApplication::activePopupWidget());
    }

    void cargaUnaOrdenConSusPreciosEnElOrdenDeLaVista() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int orden = Orden(e, m, QStringLiteral("korva"));
        const int p1 = Precio(e, orden, m.obrien, 1234.5, false);
        const int p2 = Precio(e, orden, m.acme, 99.25, true);
        Orden(e, m, QStringLiteral("korva")); // another order's quotes stay out
        Precio(e, orden + 1, m.acme, 1, false);

        frmOrden* f = Abrir(false, orden);
        QVERIFY(!f->agregando);
        QCOMPARE(f->lblNumeroDeOrden->text(), QString::number(orden));
        QCOMPARE(f->dtpFecha->Momento(), QDateTime(QDate(2026, 2, 1), QTime(9, 15)));
        QCOMPARE(f->txtCantidad->text(), QStringLiteral("12,5"));
        QCOMPARE(f->dtcUnidades->Valor(), QStringLiteral("Caja"));
        QCOMPARE(f->txtDescripcion->text(), QStringLiteral("Tuerca 3/8'' zincada"));
        QCOMPARE(Tag(f->txtDescripcion), QString::number(m.tuerca));
        QCOMPARE(f->dtcLugarDeEntrega->Valor(), QStringLiteral("Depósito"));
        QCOMPARE(f->cboPrioridades->currentText(), QStringLiteral("Urgente"));
        QCOMPARE(f->dtcSolicitantes->currentText(), QStringLiteral("Lucía Paz"));
        QCOMPARE(f->dtcSectores->Valor(), QString::number(m.sectorVentas));
        QVERIFY(!f->chkAutorizo->isChecked());
        QCOMPARE(f->dtcAutorizantes->Valor(), QString());

        QCOMPARE(f->grdPrecios->topLevelItemCount(), 2);
        QTreeWidgetItem* primera = f->grdPrecios->topLevelItem(0);
        QCOMPARE(primera->text(0), QString::number(p1));
        QCOMPARE(primera->text(2), QStringLiteral("Rodamientos O'Brien"));
        QCOMPARE(primera->text(4), QStringLiteral("1234,5"));
        QCOMPARE(primera->text(9), QStringLiteral("No"));
        QCOMPARE(f->grdPrecios->topLevelItem(1)->text(9), QStringLiteral("Si"));
        const QList<FilaPrecio> filas = f->FilasPrecios();
        QCOMPARE(filas[0].clave, QStringLiteral("P%1").arg(p1));
        QCOMPARE(filas[1].clave, QStringLiteral("P%1").arg(p2));
        QCOMPARE(filas[0].precio, 1234.5);
        QCOMPARE(filas[0].fecha.date(), QDate(2026, 2, 2));
        QCOMPARE(filas[0].vigencia.date(), QDate(2026, 3, 2));
        QCOMPARE(filas[1].empId, m.acme);

        // View mode: everything locked except the product search; the commands of a loaded order.
        QVERIFY(!f->txtCantidad->isEnabled() && !f->grdPrecios->isEnabled());
        QVERIFY(!f->chkAutorizo->isEnabled() && !f->dtcAutorizantes->isEnabled());
        QVERIFY(f->cmdBuscarProducto->isEnabled() && f->cmdNuevoProducto->isEnabled());
        QCOMPARE(Botones(f), (QList<bool>{true, true, false, false, false, true, true}));
    }

    void valoresGuardadosFueraDeLasListasSeConservan() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int orden =
            Orden(e, m, QStringLiteral("korva"), m.autorizante, QStringLiteral("Alta"));
        e.Sql(QStringLiteral("UPDATE usuarios SET UsuDesactivado=1 WHERE UsuId IN (?, ?)"),
              {m.solicitante, m.autorizante});
        e.Sql(QStringLiteral("UPDATE ordenes SET CenCosId=77 WHERE OrdId=?"), {orden});
        frmOrden* f = Abrir(false, orden);
        // An unknown priority leaves the list as built.
        QCOMPARE(f->cboPrioridades->currentIndex(), -1);
        // Retired users are still shown by name and keep their id.
        QCOMPARE(f->dtcSolicitantes->currentText(), QStringLiteral("Lucía Paz"));
        QCOMPARE(f->dtcSolicitantes->Valor(), QString::number(m.solicitante));
        QVERIFY(f->chkAutorizo->isChecked());
        QCOMPARE(f->dtcAutorizantes->Valor(), QString::number(m.autorizante));
        QCOMPARE(f->dtcAutorizantes->currentText(), QStringLiteral("Julio Mir"));
        // A cost centre that does not exist at all shows nothing.
        QCOMPARE(f->dtcCentrosDeCosto->Valor(), QString());
        // A new order afterwards offers only the active users again.
        f->cmdMenu[0]->click();
        QCOMPARE(f->dtcSolicitantes->count(), 1);
    }

    void ordenInexistenteDejaLaVentanaVaciaYBloqueada() {
        Entorno e;
        CargarMaestros(e);
        frmOrden* f = Abrir(false, 999);
        QCOMPARE(f->lblNumeroDeOrden->text(), QString());
        QCOMPARE(f->txtLogin->text(), QString());
        QCOMPARE(f->dtcSectores->Valor(), QStringLiteral("1"));
        QVERIFY(!f->txtCantidad->isEnabled());
        QCOMPARE(Botones(f), (QList<bool>{true, true, false, false, false, true, true}));
    }

    void editarSoloLoPuedeQuienIngresoLaOrden() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int ajena = Orden(e, m, QStringLiteral("mlopez"));
        const int propia = Orden(e, m, QStringLiteral("KORVA"));

        frmOrden* f = Abrir(false, ajena);
        f->cmdMenu[1]->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("Usted no tiene permiso para modificar este Documento."));
        QCOMPARE(Mensajes::Mostrados().last().icono, Icono::Informacion);
        QVERIFY(!f->txtCantidad->isEnabled());
        QCOMPARE(Botones(f), (QList<bool>{true, true, false, false, false, true, true}));
        Cerrar();

        Mensajes::Limpiar();
        f = Abrir(false, propia);
        f->cmdMenu[1]->click();
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QVERIFY(!f->agregando);
        QVERIFY(f->txtCantidad->isEnabled() && f->grdPrecios->isEnabled());
        QVERIFY(f->chkAutorizo->isEnabled() && !f->dtcAutorizantes->isEnabled());
        QCOMPARE(Botones(f), (QList<bool>{false, false, true, true, true, true, true}));

        // Cancelling an edit only locks the fields; what was typed stays on screen.
        f->txtCantidad->setText(QStringLiteral("7"));
        f->cmdMenu[4]->click();
        QVERIFY(!f->txtCantidad->isEnabled());
        QCOMPARE(f->txtCantidad->text(), QStringLiteral("7"));
        QVERIFY(f->cmdMenu[2]->isEnabled());
    }

    void ordenAutorizadaSoloDejaCambiarLaAutorizacion() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int orden = Orden(e, m, QStringLiteral("korva"), m.autorizante);
        Precio(e, orden, m.acme, 10, true);
        frmOrden* f = Abrir(false, orden);
        QVERIFY(f->chkAutorizo->isChecked());
        // "Nueva" drops the authorisation silently and opens every field but the authoriser.
        f->cmdMenu[0]->click();
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QVERIFY(!f->chkAutorizo->isChecked());
        QCOMPARE(f->dtcAutorizantes->Valor(), QString());
        QVERIFY(!f->dtcAutorizantes->isEnabled());
        QVERIFY(f->txtCantidad->isEnabled() && f->grdPrecios->isEnabled());
        QCOMPARE(f->grdPrecios->topLevelItemCount(), 0);
        Cerrar();

        f = Abrir(false, orden);
        f->cmdMenu[1]->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("La orden ya fué autorizada, no se pueden realizar cambios."));
        QCOMPARE(Mensajes::Mostrados().last().titulo, QStringLiteral("Atención"));
        QVERIFY(f->chkAutorizo->isEnabled() && f->dtcAutorizantes->isEnabled());
        for (QWidget* w : QList<QWidget*>{f->txtCantidad, f->dtpFecha, f->txtDescripcion,
                                          f->dtcSectores, f->grdPrecios, f->cmdAceptar})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    }

    void abrirConElEditorAbiertoSoloLoTraeAlFrente() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int a = Orden(e, m, QStringLiteral("korva"));
        const int b = Orden(e, m, QStringLiteral("korva"));
        frmOrden* f = Abrir(false, a);
        frmOrden::Abrir(true, 0);
        frmOrden::Abrir(false, b);
        QCOMPARE(frmOrden::Instancia(), f);
        QCOMPARE(f->ordid, a);
        QVERIFY(!f->agregando);
        QCOMPARE(f->lblNumeroDeOrden->text(), QString::number(a));
        // Once closed, the next opening loads what it is asked for.
        Cerrar();
        QVERIFY(!frmOrden::Abierta());
        f = Abrir(false, b);
        QCOMPARE(f->lblNumeroDeOrden->text(), QString::number(b));
    }

    void atrasPreguntaSoloConCamposAbiertos() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int orden = Orden(e, m, QStringLiteral("korva"));
        frmOrden* f = Abrir(false, orden);
        f->cmdMenu[6]->click();
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QVERIFY(!frmOrden::Abierta());
        Cerrar();

        f = Abrir(true);
        Mensajes::Responder(Respuesta::No);
        f->cmdMenu[6]->click();
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Mensajes::Mostrados().first().texto,
                 QStringLiteral("¿Desea guardar los cambios?"));
        QCOMPARE(Mensajes::Mostrados().first().titulo, QStringLiteral("Guardar"));
        QVERIFY(!frmOrden::Abierta());
    }

    void enterEnElProductoAbreElSelectorYPasaAlSiguienteCampo() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        frmOrden* f = Abrir(true);
        QVERIFY(QTest::qWaitForWindowActive(f));
        f->txtDescripcion->setFocus();
        QTest::keyClicks(f->txtDescripcion, QStringLiteral("rosca"));
        bool abierto = false;
        auto hecho = AlAbrirModal([&abierto](QWidget* w) {
            auto* picker = qobject_cast<frmGrillaProductos*>(w);
            abierto = picker && picker->dtgProductos->model()->rowCount() == 1;
            if (picker)
                QTest::keyClick(picker->dtgProductos, Qt::Key_Return);
        });
        QTest::keyClick(f->txtDescripcion, Qt::Key_Return);
        QTRY_VERIFY(*hecho);
        QVERIFY(abierto);
        QCOMPARE(f->txtDescripcion->text(), QStringLiteral("Tornillo autorroscante"));
        QCOMPARE(Tag(f->txtDescripcion), QString::number(m.tornillo));
        // Back in the editor (the window system gives it back its activation), past the box's
        // own buttons, on the field that comes next: a key typed now goes there, not onto the
        // end of the product's name.
        f->activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), f->txtCantidad);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("4"));
        QCOMPARE(f->txtCantidad->text(), QStringLiteral("4"));
        QCOMPARE(f->txtDescripcion->text(), QStringLiteral("Tornillo autorroscante"));

        // The supplier box the same way, reached by its button.
        f->txtProveedor->setText(QStringLiteral("acme"));
        hecho = AlAbrirModal(
            [](QWidget* w) { static_cast<GrillaBusqueda*>(w)->cmdSeleccionar->click(); });
        QTest::mouseClick(f->cmdBuscarProveedor, Qt::LeftButton);
        QTRY_VERIFY(*hecho);
        QCOMPARE(Tag(f->txtProveedor), QString::number(m.acme));
        f->activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), f->txtContacto);
    }

    void ventanasYMensajesSeAnuncianComoLoQueSon() {
        Entorno e;
        CargarMaestros(e);
        frmOrden* f = Abrir(true);
        QCOMPARE(Anuncio(f),
                 qMakePair(QAccessible::Window, QStringLiteral("Detalle de la Orden de Compra")));
        QCOMPARE(Anuncio(f->txtCantidad).first, QAccessible::EditableText);
        f->cmdNuevoProducto->click();
        f->cmdNuevoProveedor->click();
        std::unique_ptr<QWidget> productos(frmMantProductos::Instancia());
        std::unique_ptr<QWidget> proveedores(frmMantProveedores::Instancia());
        QCOMPARE(Anuncio(productos.get()),
                 qMakePair(QAccessible::Window, QStringLiteral("Mantenimiento de Productos")));
        QCOMPARE(Anuncio(proveedores.get()).first, QAccessible::Window);
        QCOMPARE(Anuncio(proveedores.get()).second, proveedores->windowTitle());

        // A real box, as a person gets it: each kind says what it is.
        Mensajes::ModoPrueba(false);
        const auto volver = qScopeGuard([] { Mensajes::ModoPrueba(true); });
        const QList<QPair<Icono, QString>> tipos{
            {Icono::Exclamacion, QStringLiteral("Advertencia")},
            {Icono::Critico, QStringLiteral("Error")},
            {Icono::Pregunta, QStringLiteral("Pregunta")},
            {Icono::Informacion, QStringLiteral("Información")}};
        for (const auto& [icono, nombre] : tipos) {
            QString descripcion, imagen;
            const auto hecho = AlAbrirModal([&descripcion, &imagen](QWidget* w) {
                descripcion =
                    QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
                for (QLabel* l : w->findChildren<QLabel*>())
                    if (!l->pixmap().isNull())
                        imagen = QAccessible::queryAccessibleInterface(l)->text(QAccessible::Name);
                static_cast<QDialog*>(w)->reject();
            });
            Mensajes::MsgBox(QStringLiteral("Texto"), Mensajes::Botones::OK, icono);
            QVERIFY(*hecho);
            QCOMPARE(descripcion, nombre);
            QCOMPARE(imagen, nombre);
        }
    }
};

QUIMBEL_PRUEBA(PruebaOrden)
#include "PruebaOrden.moc"
