#include "DatosGuardado.h"
#include "Expediente.h"
#include "Historial.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "Reloj.h"
#include "TablaLimites.h"
#include "Usuario.h"
#include "frmMantUsuarios.h"
#include "frmReglas.h"

#include <QTableView>
#include <QTableWidget>
#include <QTest>

using namespace DatosGuardado;
using Mensajes::Respuesta;

namespace {

// An administrator switching rules on in their window, as a person does.
void Activar(std::initializer_list<QCheckBox * frmReglas::*> casillas) {
    auto hecho = AlAbrirModal([casillas](QWidget* w) {
        auto* r = qobject_cast<frmReglas*>(w);
        QVERIFY(r);
        for (QCheckBox* frmReglas::*c : casillas)
            (r->*c)->setChecked(true);
        r->cmdOK->click();
    });
    frmReglas::Mostrar();
    QTRY_VERIFY(*hecho);
}

int Cotizacion(Entorno& e, int orden, int proveedor, double precio, const QString& moneda,
               QDate vigencia, bool aceptada = false) {
    return e.Insertar("precio_Insertar",
                      {orden, proveedor, QString(), precio, moneda, QStringLiteral("Contado"),
                       QDate(2026, 2, 2), vigencia, aceptada ? 1 : 0});
}

bool Negrita(QTreeWidgetItem* fila) {
    return fila->font(4).bold();
}

bool Roja(QTreeWidgetItem* fila) {
    return fila->data(4, Qt::ForegroundRole).value<QColor>() == QColor(Qt::red);
}

QStringList Nombres(const QComboBox* lista) {
    QStringList r;
    for (int i = 0; i < lista->count(); ++i)
        r << lista->itemText(i);
    return r;
}

// The history's lines about one table, newest change first, as people read them.
QStringList Historia(const QString& tabla) {
    QList<Historial::Entrada> entradas;
    if (!Historial::LeerHistorial(0, &entradas))
        return {QStringLiteral("(no se pudo leer el historial)")};
    QStringList r;
    for (const Historial::Entrada& x : entradas)
        if (x.tabla == tabla)
            r << x.login + QStringLiteral(": ") + Historial::Descripcion(x);
    return r;
}

// Picks a user in the users window's list by name, as a click on its row does.
void ElegirUsuario(frmMantUsuarios* u, const QString& nombre) {
    QTableView* v = u->dtgLista();
    for (int i = 0; i < v->model()->rowCount(); ++i)
        if (v->model()->index(i, 1).data().toString() == nombre) {
            const QRect r = v->visualRect(v->model()->index(i, 0));
            QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
            return;
        }
    QFAIL("no está el usuario");
}

} // namespace

class PruebaReglas : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        Cerrar();
        Reloj::Fijar(QDateTime());
        gLogin = QStringLiteral("korva");
    }

    void laListaMarcaVencidasYMenoresYLaReglaPideConfirmarYJustificar() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        Reloj::Fijar(kAhora);
        const int orden = Orden(e, m, QStringLiteral("korva"));
        Cotizacion(e, orden, m.acme, 12, QStringLiteral("Pesos"), QDate(2026, 3, 10));
        Cotizacion(e, orden, m.obrien, 8, QStringLiteral("pesos "), QDate(2026, 3, 3));
        Cotizacion(e, orden, m.acme, 30, QStringLiteral("Dólares"), QDate(2026, 3, 4));
        Cotizacion(e, orden, m.obrien, 10, QStringLiteral("Pesos"), QDate(2026, 3, 20));
        frmOrden* f = Abrir(false, orden);
        QTreeWidget* g = f->grdPrecios;
        // One currency however it was typed; a quote alone in its currency is not "the lowest";
        // valid through today is not expired.
        QVERIFY(Roja(g->topLevelItem(1)) && Negrita(g->topLevelItem(1)));
        QCOMPARE(g->topLevelItem(1)->toolTip(0),
                 QStringLiteral("Cotización vencida\nMenor precio en pesos"));
        QVERIFY(!Roja(g->topLevelItem(0)) && !Negrita(g->topLevelItem(0)));
        QVERIFY(!Roja(g->topLevelItem(2)) && !Negrita(g->topLevelItem(2)));
        QCOMPARE(g->topLevelItem(2)->toolTip(4), QString());

        // Rule off: accepting the dearer quote asks nothing, as always.
        f->cmdMenu[1]->click();
        ClicEnFila(g, 0);
        f->chkAceptado->setChecked(true);
        f->cmdAceptar->click();
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QVERIFY(f->FilasPrecios()[0].aceptado);

        Activar({&frmReglas::chkJustificarCotizacion});
        // The expired one: "No" keeps the entry as typed; "Si" accepts it, asked only once.
        ClicEnFila(g, 1);
        f->chkAceptado->setChecked(true);
        Mensajes::Responder(Respuesta::No);
        f->cmdAceptar->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("La cotización está vencida. ¿Desea aceptarla de todos modos?"));
        QVERIFY(!f->FilasPrecios()[1].aceptado);
        QCOMPARE(Tag(f->txtPrecio), QStringLiteral("2"));
        Mensajes::Limpiar();
        Mensajes::Responder(Respuesta::Si);
        f->cmdAceptar->click();
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QVERIFY(f->FilasPrecios()[1].aceptado && !f->FilasPrecios()[0].aceptado);

        // The dearer one (than the cheapest quote still valid): no reason, no acceptance, and the
        // person is told; with a reason it is accepted and noted.
        ClicEnFila(g, 0);
        f->chkAceptado->setChecked(true);
        Mensajes::ResponderTexto(QString());
        f->cmdAceptar->click();
        QVERIFY(!f->FilasPrecios()[0].aceptado);
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("Sin un motivo la cotización no se acepta."));
        Mensajes::ResponderTexto(QStringLiteral("  Entrega inmediata "));
        f->cmdAceptar->click();
        QVERIFY(f->FilasPrecios()[0].aceptado);

        // Removing the cheapest moves the mark with the list.
        g->setCurrentItem(g->topLevelItem(1));
        Mensajes::Responder(Respuesta::Si);
        f->cmdQuitar->click();
        QCOMPARE(g->topLevelItemCount(), 3);
        QVERIFY(!Negrita(g->topLevelItem(0)));

        // The reason is kept with the save that stores its quote as the accepted one, in the
        // same transaction: a save the database refuses keeps neither. The expired quote is no
        // longer the accepted one, so its acceptance is not kept at all.
        e.Rechazar("sin_precios", "BEFORE INSERT", "precios", "", "disco lleno");
        f->cmdMenu[2]->click();
        QVERIFY(f->txtCantidad->isEnabled());
        QCOMPARE(
            Cuenta(e, QStringLiteral("select count(*) from historial where HisOrdId=?"), {orden}),
            0);
        e.QuitarDisparador("sin_precios", "precios");
        Mensajes::Limpiar();
        f->cmdMenu[2]->click();
        QVERIFY(Mensajes::Mostrados().isEmpty() && !f->txtCantidad->isEnabled());
        const Recordset h =
            e.Sql(QStringLiteral("select * from historial where HisTipo='Regla' and HisOrdId=?"),
                  {orden});
        QCOMPARE(h.RecordCount(), 1);
        QCOMPARE(h.Texto(QStringLiteral("HisCampo")), QStringLiteral("Cotización de mayor precio"));
        QCOMPARE(h.Texto(QStringLiteral("HisNuevo")),
                 QStringLiteral("Motivo: Entrega inmediata (aceptó la cotización de Acme, que "
                                "no es la de menor precio en Pesos)"));
        QCOMPARE(h.Texto(QStringLiteral("HisLogin")), QStringLiteral("korva"));
        // The server stamps the history with its own clock.
        const QDateTime cuando = h.Campo(QStringLiteral("HisFecha")).toDateTime();
        QVERIFY(Entorno::EnServidor() ? qAbs(cuando.secsTo(QDateTime::currentDateTime())) < 600
                                      : cuando == kAhora);

        // The reason is kept with the order: shown on its accepted row when it is opened again,
        // and saving it unchanged asks nothing.
        Cerrar();
        f = Abrir(false, orden);
        const QString motivo = QStringLiteral("Motivo de la elección: Entrega inmediata");
        QVERIFY(f->grdPrecios->topLevelItem(0)->toolTip(0).endsWith(motivo));
        f->cmdMenu[1]->click();
        Mensajes::Limpiar();
        f->cmdMenu[2]->click();
        QVERIFY(Mensajes::Mostrados().isEmpty() && !f->txtCantidad->isEnabled());

        // A cheaper quote added later: the save asks again, and backing out saves nothing.
        f->cmdMenu[1]->click();
        AgregarPrecio(f, m.obrien, QStringLiteral("dos"), QStringLiteral("9"), false);
        QVERIFY(!f->grdPrecios->topLevelItem(0)->toolTip(0).contains(motivo));
        Mensajes::ResponderTexto(QString());
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("No se guardó la Orden de Compra: la cotización aceptada no es "
                                "la de menor precio en Pesos y falta el motivo de la elección."));
        QVERIFY(f->txtCantidad->isEnabled());
        const QString precios = QStringLiteral("select count(*) from precios where OrdId=?");
        QCOMPARE(Cuenta(e, precios, {orden}), 3);
        Mensajes::ResponderTexto(QStringLiteral("Plazo de entrega"));
        f->cmdMenu[2]->click();
        QVERIFY(!f->txtCantidad->isEnabled());
        QCOMPARE(Cuenta(e, precios, {orden}), 4);
        QVERIFY(f->grdPrecios->topLevelItem(0)->toolTip(0).endsWith(
            QStringLiteral("Motivo de la elección: Plazo de entrega")));
        QList<InformeMaquetado> expediente;
        QVERIFY(MaquetarExpediente(orden, QSize(11906, 16838), &expediente));
        QVERIFY(expediente.first().Textos(0).join(' ').contains(
            QStringLiteral("Motivo: Plazo de entrega (aceptó la cotización de Acme")));
    }

    void autorizanteAjenoNoEsQuienIngresoNiElSolicitante() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int rcas = e.Usuario(QStringLiteral("rcas"), QStringLiteral("r"),
                                   QStringLiteral("Rita Cas"), 1, 1, 0);
        // Stored before the rule: korva entered it, asked for it and authorised it.
        const int vieja =
            e.Insertar("orden_insertar",
                       {QDateTime(QDate(2026, 2, 1), QTime(9, 0)), 2.0, QStringLiteral("Caja"),
                        m.tuerca, QString(), QStringLiteral("Depósito"), QStringLiteral("Normal"),
                        1, 1, 1, 1, QStringLiteral("korva")});
        Precio(e, vieja, m.acme, 12, true);

        // Only an administrator changes the rules.
        gLogin = QStringLiteral("lpaz");
        frmReglas::Mostrar();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("Sólo un administrador puede cambiar las reglas de aprobación."));
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from reglas")), 0);
        Mensajes::Limpiar();
        gLogin = QStringLiteral("korva");
        Activar({&frmReglas::chkAutorizanteAjeno});
        Activar({&frmReglas::chkAutorizanteAjeno});
        QCOMPARE(Historia(QStringLiteral("reglas")),
                 QStringList{QStringLiteral("korva: Autorizante ajeno: No → Si")});

        // The list follows the requester as it changes.
        Reloj::Fijar(kAhora);
        frmOrden* f = Abrir(true);
        Cabecera(f, m);
        AgregarPrecio(f, m.acme, QStringLiteral("uno"), QStringLiteral("10"), true);
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);
        const QStringList ambos{QStringLiteral("Julio Mir"), QStringLiteral("Rita Cas")};
        QCOMPARE(Nombres(f->dtcAutorizantes), ambos);
        f->dtcSolicitantes->SetValor(QString::number(rcas));
        QCOMPARE(Nombres(f->dtcAutorizantes), QStringList{QStringLiteral("Julio Mir")});
        f->dtcSolicitantes->SetValor(QString::number(m.solicitante));
        QCOMPARE(Nombres(f->dtcAutorizantes), ambos);

        // Chosen, then made the requester: the save refuses. The refusal, kept at once without
        // a number, is kept again with the order once it is saved.
        int veces = 0;
        Contrasena(&veces, QStringLiteral("r"));
        Elegir(f, rcas);
        QCOMPARE(veces, 1);
        f->dtcSolicitantes->SetValor(QString::number(rcas));
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("El autorizante no puede ser el solicitante de la orden.\r\n"));
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from historial where HisOrdId is null "
                                          "and HisTabla='ordenes'")),
                 1);
        f->dtcSolicitantes->SetValor(QString::number(m.solicitante));
        Mensajes::Limpiar();
        f->cmdMenu[2]->click();
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QCOMPARE(Cuenta(e, QStringLiteral("select AutorizanteId from ordenes where OrdId=?"),
                        {f->ordid}),
                 rcas);
        QCOMPARE(e.Valor(QStringLiteral("select HisNuevo from historial where HisOrdId=? and "
                                        "HisCampo='Autorizante ajeno'"),
                         {f->ordid})
                     .toString(),
                 QStringLiteral("Rechazó guardar: El autorizante no puede ser el solicitante de "
                                "la orden. (04/03/2026 10:30, antes de tener número)"));

        // The stored order breaks the rule twice: saving it says both and writes nothing.
        Cerrar();
        f = Abrir(false, vieja);
        f->cmdMenu[1]->click();
        Mensajes::Limpiar();
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("El autorizante no puede ser quien ingresó la orden.\r\n"
                                "El autorizante no puede ser el solicitante de la orden.\r\n"));
        QVERIFY(f->cmdMenu[2]->isEnabled());
        QCOMPARE(Cuenta(e,
                        QStringLiteral("select count(*) from historial where HisOrdId=? and "
                                       "HisCampo='Autorizante ajeno' and HisNuevo like "
                                       "'Rechazó guardar: %'"),
                        {vieja}),
                 2);
    }

    void limitePorMonedaDesdeLaVentanaDeUsuarios() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int vieja = Orden(e, m, QStringLiteral("korva"), m.autorizante);
        Precio(e, vieja, m.acme, 150, true);

        // The users window: a known currency and a new one typed in the last row.
        {
            std::unique_ptr<frmMantUsuarios> u(frmMantUsuarios::Instancia());
            ElegirUsuario(u.get(), QStringLiteral("Julio Mir"));
            u->cmdMenu(1)->click();
            TablaLimites* t = u->tblLimites();
            QCOMPARE(t->rowCount(), 2);
            QCOMPARE(t->item(0, 0)->text(), QStringLiteral("Pesos"));
            t->item(0, 1)->setText(QStringLiteral("100"));
            t->item(1, 0)->setText(QStringLiteral("Euros"));
            QCOMPARE(t->rowCount(), 3);
            t->item(1, 1)->setText(QStringLiteral("mucho"));
            u->cmdMenu(2)->click();
            QCOMPARE(Mensajes::UltimoTexto(),
                     QStringLiteral("El Límite de autorización en Euros debe ser un número "
                                    "mayor o igual que cero."));
            QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from limitesautorizacion")), 0);
            t->item(1, 1)->setText(QStringLiteral("50,5"));
            // The limits are saved with the user, and with their history, or nothing is.
            u->txtFields(3)->setText(QStringLiteral("Julio A. Mir"));
            e.Rechazar("sin_limites", "BEFORE INSERT", "limitesautorizacion", "", "disco lleno");
            u->cmdMenu(2)->click();
            QVERIFY(u->EnEdicion());
            QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from usuarios where "
                                              "UsuNombre='Julio A. Mir'")),
                     0);
            QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from historial")), 0);
            e.QuitarDisparador("sin_limites", "limitesautorizacion");
            u->txtFields(3)->setText(QStringLiteral("Julio Mir"));
            u->cmdMenu(2)->click();
            QVERIFY(!u->EnEdicion());
            Mensajes::Limpiar();
        }
        QCOMPARE(
            Historia(QStringLiteral("limitesautorizacion")),
            (QStringList{QStringLiteral("korva: Límite de autorización en Euros: (vacío) → 50,5"),
                         QStringLiteral("korva: Límite de autorización en Pesos: (vacío) → 100")}));
        QCOMPARE(e.Valor(QStringLiteral("select LimImporte from limitesautorizacion where "
                                        "UsuId=? and LimMoneda='pesos'"),
                         {m.autorizante})
                     .toDouble(),
                 100.0);
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from limitesautorizacion")), 2);

        Activar({&frmReglas::chkLimitePorMoneda});
        // Over the limit: not offered. At the limit: offered and stored.
        frmOrden* f = Abrir(true);
        Cabecera(f, m);
        AgregarPrecio(f, m.acme, QStringLiteral("uno"), QStringLiteral("100,01"), true);
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);
        QCOMPARE(f->dtcAutorizantes->findData(QString::number(m.autorizante)), -1);
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);

        // A currency nobody uses is added only on purpose, and whoever has no limit in it is
        // not offered: "$" is not a way round the limit in Pesos.
        ClicEnFila(f->grdPrecios, 0);
        f->dtcMoneda->SetValor(QStringLiteral("$"));
        Mensajes::Responder(Respuesta::No);
        f->cmdAceptar->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("La moneda «$» no está entre las monedas en uso (Euros, Pesos). "
                                "¿Desea agregarla como moneda nueva?"));
        QCOMPARE(f->FilasPrecios()[0].moneda, QStringLiteral("Pesos"));
        Mensajes::Responder(Respuesta::Si);
        f->cmdAceptar->click();
        QCOMPARE(f->FilasPrecios()[0].moneda, QStringLiteral("$"));
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);
        QCOMPARE(f->dtcAutorizantes->findData(QString::number(m.autorizante)), -1);
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);

        // Typed otherwise, a currency in use is that currency.
        ClicEnFila(f->grdPrecios, 0);
        f->dtcMoneda->SetValor(QStringLiteral(" pesos"));
        f->txtPrecio->setText(QStringLiteral("100"));
        Mensajes::Limpiar();
        f->cmdAceptar->click();
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QCOMPARE(f->FilasPrecios()[0].moneda, QStringLiteral("Pesos"));
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);
        int veces = 0;
        Contrasena(&veces, QStringLiteral("x"));
        Elegir(f, m.autorizante);
        QCOMPARE(veces, 1);
        f->cmdMenu[2]->click();
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QVERIFY(!f->txtCantidad->isEnabled());

        // Stored over the limit before the rule: saving names the limit.
        Cerrar();
        f = Abrir(false, vieja);
        f->cmdMenu[1]->click();
        Mensajes::Limpiar();
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("El límite de autorización de Julio Mir en Pesos es 100; el "
                                "precio aceptado es 150.\r\n"));

        // "Sin límite" is a choice of its own in the users window; then it saves.
        {
            std::unique_ptr<frmMantUsuarios> u(frmMantUsuarios::Instancia());
            ElegirUsuario(u.get(), QStringLiteral("Julio Mir"));
            u->cmdMenu(1)->click();
            TablaLimites* t = u->tblLimites();
            t->item(1, 2)->setCheckState(Qt::Checked);
            u->cmdMenu(2)->click();
            QCOMPARE(Mensajes::UltimoTexto(),
                     QStringLiteral("En Pesos indique un Límite de autorización o marque Sin "
                                    "límite, no ambos."));
            t->item(1, 1)->setText(QString());
            Mensajes::Limpiar();
            u->cmdMenu(2)->click();
            QVERIFY(!u->EnEdicion());
        }
        QCOMPARE(Historia(QStringLiteral("limitesautorizacion")).first(),
                 QStringLiteral("korva: Límite de autorización en Pesos: 100 → sin límite"));
        Mensajes::Limpiar();
        f->cmdMenu[2]->click();
        QVERIFY(Mensajes::Mostrados().isEmpty() && !f->txtCantidad->isEnabled());

        // The authoriser list follows a limit changed meanwhile in the users window.
        Cerrar();
        f = Abrir(true);
        Cabecera(f, m);
        AgregarPrecio(f, m.acme, QStringLiteral("uno"), QStringLiteral("500"), true);
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);
        QVERIFY(f->dtcAutorizantes->findData(QString::number(m.autorizante)) >= 0);
        {
            std::unique_ptr<frmMantUsuarios> u(frmMantUsuarios::Instancia());
            u->show();
            ElegirUsuario(u.get(), QStringLiteral("Julio Mir"));
            u->cmdMenu(1)->click();
            u->tblLimites()->item(1, 2)->setCheckState(Qt::Unchecked);
            u->tblLimites()->item(1, 1)->setText(QStringLiteral("100"));
            u->cmdMenu(2)->click();
            QVERIFY(!u->EnEdicion());
            u->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(u.get()));
        }
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        QCOMPARE(f->dtcAutorizantes->findData(QString::number(m.autorizante)), -1);
    }

    void ordenAutorizadaQueSeEditaVuelveARequerirAutorizacion() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int orden = Orden(e, m, QStringLiteral("korva"), m.autorizante);
        Precio(e, orden, m.acme, 12, true);
        Activar({&frmReglas::chkReautorizar});
        frmOrden* f = Abrir(false, orden);
        f->cmdMenu[1]->click();
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QVERIFY(f->txtCantidad->isEnabled() && f->chkAutorizo->isChecked());

        // Saving it as it was, the accepted quote stored again unchanged, keeps it.
        ClicEnFila(f->grdPrecios, 0);
        f->cmdAceptar->click();
        f->cmdMenu[2]->click();
        QVERIFY(Mensajes::Mostrados().isEmpty() && !f->txtCantidad->isEnabled());
        QCOMPARE(
            Cuenta(e, QStringLiteral("select AutorizanteId from ordenes where OrdId=?"), {orden}),
            m.autorizante);

        // Any field the history keeps drops it, said before saving: here the product and unit.
        f->cmdMenu[1]->click();
        SetTag(f->txtDescripcion, QString::number(m.tornillo));
        f->txtDescripcion->setText(QStringLiteral("Tornillo autorroscante"));
        f->dtcUnidades->SetValor(QStringLiteral("Caja x 12"));
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Mensajes::UltimoTexto(), QStringLiteral("La orden autorizada cambió en: Producto, "
                                                         "Unidad de Compra. Quedará sin "
                                                         "autorización."));
        QVERIFY(!f->chkAutorizo->isChecked() && !f->txtCantidad->isEnabled());
        const Recordset o = e.Sql(QStringLiteral("select * from ordenes where OrdId=?"), {orden});
        QCOMPARE(o.Campo(QStringLiteral("AutorizanteId")).toInt(), 0);
        QCOMPARE(o.Campo(QStringLiteral("ProId")).toInt(), m.tornillo);
        QCOMPARE(e.Valor(QStringLiteral("select HisNuevo from historial where HisOrdId=? and "
                                        "HisCampo='Reautorización al editar'"),
                         {orden})
                     .toString(),
                 QStringLiteral("Cambió en: Producto, Unidad de Compra. Se quitó la autorización "
                                "de Julio Mir; la orden debe autorizarse de nuevo."));

        // A quote that is not the accepted one counts too, unless the authoriser confirms the
        // order again as it now stands.
        f->cmdMenu[1]->click();
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);
        int veces = 0;
        Contrasena(&veces, QStringLiteral("x"));
        Elegir(f, m.autorizante);
        f->cmdMenu[2]->click();
        f->cmdMenu[1]->click();
        Mensajes::Limpiar();
        AgregarPrecio(f, m.obrien, QStringLiteral("dos"), QStringLiteral("11"), false);
        Contrasena(&veces, QStringLiteral("x"));
        Elegir(f, m.autorizante);
        QCOMPARE(veces, 2);
        f->cmdMenu[2]->click();
        QVERIFY(Mensajes::Mostrados().isEmpty());
        f->cmdMenu[1]->click();
        ClicEnFila(f->grdPrecios, 1);
        f->txtPrecio->setText(QStringLiteral("10,5"));
        f->cmdAceptar->click();
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("La orden autorizada cambió en: Otros precios. Quedará sin "
                                "autorización."));
        QCOMPARE(
            Cuenta(e, QStringLiteral("select AutorizanteId from ordenes where OrdId=?"), {orden}),
            0);
        QCOMPARE(Cuenta(e,
                        QStringLiteral("select count(*) from historial where HisOrdId=? and "
                                       "HisCampo='Reautorización al editar'"),
                        {orden}),
                 2);
    }
};

QUIMBEL_PRUEBA(PruebaReglas)
#include "PruebaReglas.moc"
