#include "DatosGuardado.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "Reloj.h"
#include "frmVerificarUsuario.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>

using namespace DatosGuardado;

namespace {

// An assistive tool ticking or unticking the box: its toggle action, no click.
void Alternar(QCheckBox* caja) {
    QAccessibleActionInterface* acciones =
        QAccessible::queryAccessibleInterface(caja)->actionInterface();
    QVERIFY(acciones->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    acciones->doAction(QAccessibleActionInterface::toggleAction());
}

} // namespace

class PruebaAutorizacion : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        Cerrar();
        Reloj::Fijar(QDateTime());
    }

    void nuevaAutorizadaConTresPreciosSeGuardaEntera() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        Reloj::Fijar(kAhora);
        frmOrden* f = Abrir(true);
        Cabecera(f, m);
        AgregarPrecio(f, m.acme, QStringLiteral("uno"), QStringLiteral("10"), false);
        AgregarPrecio(f, m.obrien, QStringLiteral("dos"), QStringLiteral("20,5"), true);
        AgregarPrecio(f, m.acme, QStringLiteral("tres"), QStringLiteral("30"), false);
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);
        int veces = 0;
        Contrasena(&veces, QStringLiteral("x"));
        Elegir(f, m.autorizante);
        QCOMPARE(veces, 1);
        QCOMPARE(f->dtcAutorizantes->Valor(), QString::number(m.autorizante));

        f->cmdMenu[2]->click();
        QVERIFY(Mensajes::Mostrados().isEmpty());
        const int numero = f->lblNumeroDeOrden->text().toInt();
        QVERIFY(numero > 0);
        QCOMPARE(f->ordid, numero);
        QVERIFY(!f->agregando);
        QVERIFY(!f->txtCantidad->isEnabled());
        QVERIFY(!f->chkAutorizo->isEnabled());
        QVERIFY(f->cmdMenu[0]->isEnabled() && f->cmdMenu[1]->isEnabled() &&
                f->cmdMenu[5]->isEnabled());
        QVERIFY(!f->cmdMenu[2]->isEnabled() && !f->cmdMenu[3]->isEnabled());
        Recordset o = e.Sql(QStringLiteral("select * from ordenes"));
        QCOMPARE(o.RecordCount(), 1);
        QCOMPARE(o.Campo(QStringLiteral("OrdId")).toInt(), numero);
        QCOMPARE(o.Campo(QStringLiteral("AutorizanteId")).toInt(), m.autorizante);
        QCOMPARE(o.Campo(QStringLiteral("SolicitanteId")).toInt(), m.solicitante);
        QCOMPARE(o.Campo(QStringLiteral("ProId")).toInt(), m.tuerca);
        QCOMPARE(o.Campo(QStringLiteral("OrdCantidad")).toDouble(), 4.0);
        QCOMPARE(o.Campo(QStringLiteral("SecId")).toInt(), 1);
        QCOMPARE(o.Texto(QStringLiteral("UsuLogin")), QStringLiteral("korva"));
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from precios where OrdId=?"), {numero}),
                 3);
        QCOMPARE(e.Valor(QStringLiteral("select PreContacto from precios where PreAceptado=1"))
                     .toString(),
                 QStringLiteral("dos"));
        QCOMPARE(
            e.Valor(QStringLiteral("select PrePrecio from precios where PreAceptado=1")).toDouble(),
            20.5);

        // Reopened, it is locked by its authorisation.
        Cerrar();
        f = Abrir(false, numero);
        QVERIFY(f->chkAutorizo->isChecked());
        QCOMPARE(f->dtcAutorizantes->Valor(), QString::number(m.autorizante));
        f->cmdMenu[1]->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("La orden ya fué autorizada, no se pueden realizar cambios."));
        QVERIFY(!f->txtCantidad->isEnabled());
    }

    void autorizanteSinPrecioAceptadoSeRechaza() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        frmOrden* f = Abrir(true);
        Cabecera(f, m, QString());
        AgregarPrecio(f, m.acme, QStringLiteral("uno"), QStringLiteral("10"), false);
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);
        int veces = 0;
        Contrasena(&veces, QStringLiteral("x"));
        Elegir(f, m.autorizante);
        QCOMPARE(veces, 1);
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("La Cantidad es requerida.\r\n"
                                "No es posible autorizar esta Orden porque no tiene un precio "
                                "Aceptado.\r\n"));
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from ordenes")), 0);
    }

    void contrasenaFallidaOCanceladaDejaSinAutorizar() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        frmOrden* f = Abrir(true);
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);
        int veces = 0;
        Contrasena(&veces, QString());
        Elegir(f, m.autorizante);
        QCOMPARE(veces, 1);
        QVERIFY(!f->chkAutorizo->isChecked());
        QVERIFY(f->dtcAutorizantes->Valor().isEmpty());
        QVERIFY(!f->dtcAutorizantes->isEnabled());

        // Chosen with the keyboard and a wrong password: asked all the same,
        // dropped all the same.
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);
        f->dtcAutorizantes->setFocus();
        Contrasena(&veces, QStringLiteral("equivocada"));
        QTest::keyClick(f->dtcAutorizantes, Qt::Key_Down);
        QCOMPARE(veces, 2);
        QCOMPARE(Mensajes::Mostrados().first().texto,
                 QStringLiteral("La contraseña no es válida. Vuelva a intentarlo"));
        QVERIFY(!f->chkAutorizo->isChecked());
        QVERIFY(f->dtcAutorizantes->Valor().isEmpty());
        QVERIFY(!f->dtcAutorizantes->isEnabled());
    }

    void reconfirmarYQuitarLaAutorizacionGuardada() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int orden = Orden(e, m, QStringLiteral("korva"), m.autorizante);
        Precio(e, orden, m.acme, 12, true);
        frmOrden* f = Abrir(false, orden);
        f->cmdMenu[1]->click();
        QVERIFY(f->dtcAutorizantes->isEnabled());

        // A failed re-confirmation keeps the authorisation already given.
        int veces = 0;
        Contrasena(&veces, QString());
        Elegir(f, m.autorizante);
        QCOMPARE(veces, 1);
        QCOMPARE(f->dtcAutorizantes->Valor(), QString::number(m.autorizante));
        QVERIFY(f->chkAutorizo->isChecked());

        // Unticking asks again; cancelled, nothing changes and the box shows it.
        Contrasena(&veces, QString());
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);
        QCOMPARE(veces, 2);
        QVERIFY(f->chkAutorizo->isChecked());
        QCOMPARE(f->dtcAutorizantes->Valor(), QString::number(m.autorizante));
        QVERIFY(!f->txtCantidad->isEnabled());

        // Confirmed, the order is unlocked and stored without its authoriser.
        Contrasena(&veces, QStringLiteral("x"));
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);
        QCOMPARE(veces, 3);
        QVERIFY(!f->chkAutorizo->isChecked());
        QVERIFY(f->dtcAutorizantes->Valor().isEmpty());
        QVERIFY(!f->dtcAutorizantes->isEnabled());
        QVERIFY(f->txtCantidad->isEnabled());
        f->cmdMenu[2]->click();
        QCOMPARE(e.Valor(QStringLiteral("select AutorizanteId from ordenes where OrdId=?"), {orden})
                     .toInt(),
                 0);
    }

    void lasHerramientasDeAccesibilidadAutorizanYDesautorizan() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        frmOrden* f = Abrir(true);
        Alternar(f->chkAutorizo);
        QVERIFY(f->chkAutorizo->isChecked());
        QVERIFY(f->dtcAutorizantes->isEnabled());
        int veces = 0;
        Contrasena(&veces, QStringLiteral("x"));
        Elegir(f, m.autorizante);
        QCOMPARE(veces, 1);

        // Unticking asks the authoriser; cancelled, the authorisation stays.
        Contrasena(&veces, QString());
        Alternar(f->chkAutorizo);
        QCOMPARE(veces, 2);
        QVERIFY(f->chkAutorizo->isChecked());
        QCOMPARE(f->dtcAutorizantes->Valor(), QString::number(m.autorizante));
        Contrasena(&veces, QStringLiteral("x"));
        Alternar(f->chkAutorizo);
        QCOMPARE(veces, 3);
        QVERIFY(!f->chkAutorizo->isChecked());
        QVERIFY(f->dtcAutorizantes->Valor().isEmpty());
        QVERIFY(!f->dtcAutorizantes->isEnabled());
    }
};

QUIMBEL_PRUEBA(PruebaAutorizacion)
#include "PruebaAutorizacion.moc"
