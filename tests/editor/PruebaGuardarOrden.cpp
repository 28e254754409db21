#include "DatosGuardado.h"
#include "Mensajes.h"
#include "OtroPuesto.h"
#include "RegistroPruebas.h"
#include "Reloj.h"

#include <QLabel>
#include <QTest>

using namespace DatosGuardado;
using Mensajes::Respuesta;

class PruebaGuardarOrden : public QObject {
    Q_OBJECT

    // The server ends the editor's session: before a save (another workstation's administrator
    // terminates it), and in the middle of one. Each time the save is told once that nothing
    // was kept, what was typed stays, and saving again goes through on a new connection.
    void ConexionPerdidaSeDiceUnaVezYElReintentoGuarda(Entorno& e, frmOrden* f) {
        OtroPuesto otro(e.RutaBase());
        const QByteArray cantidad =
            "select OrdCantidad from ordenes where OrdId=" + QByteArray::number(f->ordid);
        const auto guardarSinConexion = [&](const QString& nueva, const QString& antes) {
            Mensajes::Limpiar();
            f->cmdMenu[1]->click();
            f->txtCantidad->setText(nueva);
            f->cmdMenu[2]->click();
            QCOMPARE(Mensajes::Mostrados().size(), 1);
            QCOMPARE(Mensajes::UltimoTexto(), QStringLiteral("Se perdió la conexión con el "
                                                             "servidor. No se guardó nada; "
                                                             "vuelva a intentar."));
            QCOMPARE(otro.Valor(cantidad).toDouble(), antes.toDouble());
            QVERIFY(f->txtCantidad->isEnabled());
            QCOMPARE(f->txtCantidad->text(), nueva);
            QCOMPARE(f->grdPrecios->topLevelItemCount(), 2);
            f->cmdMenu[2]->click();
            QCOMPARE(Mensajes::Mostrados().size(), 1);
            QCOMPARE(otro.Valor(cantidad).toDouble(), nueva.toDouble());
            QCOMPARE(
                Cuenta(e, QStringLiteral("select count(*) from precios where OrdId=?"), {f->ordid}),
                2);
        };
        // The editor's own session, the person's on a protected server.
        Recordset sesion;
        QVERIFY(AbrirRecordset(QStringLiteral("select pg_backend_pid()"), sesion));
        const QByteArray pid = sesion.Campo(0).toByteArray();
        QVERIFY(otro.Ejecutar("SELECT pg_terminate_backend(" + pid + ", 10000)"));
        guardarSinConexion(QStringLiteral("6"), QStringLiteral("4"));

        // Once only: a sequence is not rolled back with the save the session takes with it.
        e.Sql(QStringLiteral("CREATE SEQUENCE corte"));
        e.Disparador("corte", "BEFORE INSERT", "precios", "nextval('corte') = 1", "",
                     "PERFORM pg_terminate_backend(pg_backend_pid())");
        guardarSinConexion(QStringLiteral("7"), QStringLiteral("6"));
    }

    // The database file is taken from its place under an open editor (moved, as a person or a
    // synchronisation tool might; deleted would be the same). The save is told once that
    // nothing was kept, and nothing reaches the moved file; once the file is back, saving
    // again goes through.
    void ArchivoQuitadoSeDiceUnaVezYAlVolverGuarda(Entorno& e, frmOrden* f) {
        const QString fuera = e.RutaBase() + QStringLiteral(".fuera");
        const QByteArray cantidad =
            "select OrdCantidad from ordenes where OrdId=" + QByteArray::number(f->ordid);
        Mensajes::Limpiar();
        f->cmdMenu[1]->click();
        f->txtCantidad->setText(QStringLiteral("6"));
        QVERIFY(QFile::rename(e.RutaBase(), fuera));
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("No se encuentra el archivo de la base de datos: se movió o se "
                                "borró. No se guardó nada; vuelva a intentar cuando esté de nuevo "
                                "en su lugar."));
        QVERIFY(!QFile::exists(e.RutaBase())); // never made anew
        QVERIFY(f->txtCantidad->isEnabled());
        QCOMPARE(f->txtCantidad->text(), QStringLiteral("6"));
        {
            OtroPuesto movido(fuera);
            QCOMPARE(movido.Valor(cantidad).toDouble(), 4.0);
        }
        QVERIFY(QFile::rename(fuera, e.RutaBase()));
        Mensajes::Limpiar();
        f->cmdMenu[2]->click();
        QVERIFY2(Mensajes::Mostrados().isEmpty(), qPrintable(Mensajes::UltimoTexto()));
        OtroPuesto otro(e.RutaBase());
        QCOMPARE(otro.Valor(cantidad).toDouble(), 6.0);
    }

private slots:
    void cleanup() {
        Cerrar();
        Reloj::Fijar(QDateTime());
    }

    void validarJuntaLosErroresEnOrden() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        frmOrden* f = Abrir(true);
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Mensajes::Mostrados().first().titulo, QStringLiteral("Atención"));
        QCOMPARE(Mensajes::Mostrados().first().icono, Mensajes::Icono::Exclamacion);
        QCOMPARE(Mensajes::UltimoTexto(), QStringLiteral("La Cantidad es requerida.\r\n"
                                                         "El Producto es requerido.\r\n"
                                                         "La Unidad de Compra es requerida.\r\n"
                                                         "El Lugar de Entrega es requerido.\r\n"
                                                         "El Solicitante es requerido.\r\n"));

        Cabecera(f, m, QStringLiteral("0"));
        SetTag(f->txtDescripcion, QStringLiteral("0")); // typed, not picked
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("La Cantidad debe ser mayor que cero.\r\n"
                                "Debe seleccionar un Producto utilizando el botón Buscar.\r\n"));
        f->txtCantidad->setText(QStringLiteral("-2"));
        f->cmdMenu[3]->click();
        QCOMPARE(Mensajes::UltimoTexto().section(QStringLiteral("\r\n"), 0, 0),
                 QStringLiteral("La Cantidad debe ser mayor que cero."));
        for (const char* malo : {"doce", "nan", "1e999"}) {
            f->txtCantidad->setText(QString::fromLatin1(malo));
            f->cmdMenu[2]->click();
            QCOMPARE(Mensajes::UltimoTexto().section(QStringLiteral("\r\n"), 0, 0),
                     QStringLiteral("La Cantidad debe ser un valor numérico."));
        }

        // "Autorizó:" ticked with nobody chosen.
        Cabecera(f, m);
        QTest::mouseClick(f->chkAutorizo, Qt::LeftButton);
        QVERIFY(f->chkAutorizo->isChecked());
        QVERIFY(f->dtcAutorizantes->isEnabled());
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("Debe seleccionar quién autorizó la Orden de Compra.\r\n"));
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from ordenes")), 0);
        QVERIFY(f->txtCantidad->isEnabled());
        QVERIFY(f->agregando);
    }

    void sectorYCentroSinValorSeRechazan() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        e.Sql(QStringLiteral("update sectores set SecDesactivado=1"));
        e.Sql(QStringLiteral("update centrosdecosto set CenCosDesactivado=1"));
        frmOrden* f = Abrir(true);
        Cabecera(f, m);
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::UltimoTexto(), QStringLiteral("El Sector es requerido.\r\n"
                                                         "El Centro de Costo es requerido.\r\n"));
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from ordenes")), 0);
    }

    void unaFallaAlGuardarDejaElEditorComoEstaba() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        e.Rechazar("falla", "BEFORE INSERT", "precios", "NEW.PreContacto='FALLA'", "falla");
        frmOrden* f = Abrir(true);
        Cabecera(f, m);
        AgregarPrecio(f, m.acme, QStringLiteral("bien"), QStringLiteral("10"), false);
        AgregarPrecio(f, m.acme, QStringLiteral("FALLA"), QStringLiteral("20"), false);
        f->cmdMenu[3]->click();
        QVERIFY(Mensajes::UltimoTexto().startsWith(QStringLiteral("Error número: ")));
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from ordenes")), 0);
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from precios")), 0);
        QVERIFY(f->agregando);
        QVERIFY(f->lblNumeroDeOrden->text().isEmpty());
        QVERIFY(f->txtCantidad->isEnabled());
        QVERIFY(f->cmdMenu[2]->isEnabled());
        QCOMPARE(f->txtCantidad->text(), QStringLiteral("4"));
        QCOMPARE(f->grdPrecios->topLevelItemCount(), 2);

        // "Atras" with Yes and a failing save keeps the window open.
        Mensajes::Responder(Respuesta::Si);
        f->cmdMenu[6]->click();
        QVERIFY(f->isVisible());

        e.QuitarDisparador("falla", "precios");
        f->cmdMenu[2]->click();
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from ordenes")), 1);
        QCOMPARE(
            Cuenta(e, QStringLiteral("select count(*) from precios where OrdId=?"), {f->ordid}), 2);
        if (Entorno::EnServidor())
            ConexionPerdidaSeDiceUnaVezYElReintentoGuarda(e, f);
        else
            ArchivoQuitadoSeDiceUnaVezYAlVolverGuarda(e, f);
    }

    void guardarDosVecesDejaLosUltimosPrecios() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int orden = Orden(e, m, QStringLiteral("korva"));
        Precio(e, orden, m.acme, 12, true);
        Precio(e, orden, m.obrien, 15, false);
        frmOrden* f = Abrir(false, orden);
        f->cmdMenu[1]->click();
        ClicEnFila(f->grdPrecios, 0);
        Mensajes::Responder(Respuesta::Si);
        f->cmdQuitar->click();
        f->cmdMenu[2]->click();
        f->cmdMenu[1]->click();
        f->cmdMenu[2]->click();
        QVERIFY(Mensajes::Mostrados().size() == 1);
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from precios")), 1);
        QCOMPARE(
            e.Valor(QStringLiteral("select EmpId from precios where OrdId=?"), {orden}).toInt(),
            m.obrien);
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from ordenes")), 1);

        // "G + N" saves and starts afresh.
        f->cmdMenu[1]->click();
        f->txtComentario->setText(QStringLiteral("otra vez"));
        f->cmdMenu[3]->click();
        QVERIFY(f->agregando);
        QVERIFY(f->lblNumeroDeOrden->text().isEmpty());
        QCOMPARE(e.Valor(QStringLiteral("select OrdComentario from ordenes where OrdId=?"), {orden})
                     .toString(),
                 QStringLiteral("otra vez"));

        // Another workstation changes the order (and says so in its history) while it is open
        // here: saving what this editor loaded would silently undo it.
        Cerrar();
        f = Abrir(false, orden);
        f->cmdMenu[1]->click();
        f->txtCantidad->setText(QStringLiteral("9"));
        OtroPuesto otro(e.RutaBase());
        const QByteArray id = QByteArray::number(orden);
        QVERIFY(otro.Ejecutar("UPDATE ordenes SET OrdComentario = 'de beto' WHERE OrdId = " + id));
        QVERIFY(otro.AnotarCambio("ordenes", id, "OrdComentario", "otra vez", "de beto", id));
        Mensajes::Limpiar();
        Mensajes::Responder(Respuesta::No);
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("beto (02/03/2026 10:30) modificó esta Orden de Compra desde que "
                                "usted la abrió; no se guardó nada.\r\n¿Desea volver a "
                                "cargarla? Se perderán los cambios que escribió."));
        const QString comentario =
            QStringLiteral("select OrdComentario from ordenes where OrdId=?");
        QCOMPARE(e.Valor(comentario, {orden}).toString(), QStringLiteral("de beto"));
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from ordenes where OrdCantidad=9")), 0);
        // Kept on screen as typed until the person chooses to reload.
        QVERIFY(f->txtCantidad->isEnabled());
        QCOMPARE(f->txtCantidad->text(), QStringLiteral("9"));
        QCOMPARE(f->txtComentario->text(), QStringLiteral("otra vez"));
        Mensajes::Responder(Respuesta::Si);
        f->cmdMenu[2]->click();
        QCOMPARE(f->txtComentario->text(), QStringLiteral("de beto"));
        QVERIFY(!f->txtCantidad->isEnabled());
        // Loaded afresh, the order saves again.
        f->cmdMenu[1]->click();
        f->txtCantidad->setText(QStringLiteral("9"));
        f->cmdMenu[2]->click();
        QCOMPARE(Mensajes::Mostrados().size(), 2);
        QCOMPARE(e.Valor(comentario, {orden}).toString(), QStringLiteral("de beto"));
        QCOMPARE(Cuenta(e, QStringLiteral("select count(*) from ordenes where OrdCantidad=9")), 1);
    }
};

QUIMBEL_PRUEBA(PruebaGuardarOrden)
#include "PruebaGuardarOrden.moc"
