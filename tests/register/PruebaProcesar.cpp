#include "Conexiones.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "ModeloOrdenes.h"
#include "OtroPuesto.h"
#include "RegistroPruebas.h"
#include "Usuario.h"
#include "frmPrincipal.h"
#include "frmProcesar.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using Mensajes::Respuesta;

namespace {

int NuevaOrden(Entorno& e, int autorizante, const QString& estado = QStringLiteral("Pendiente")) {
    const int id = e.Insertar("orden_insertar", {QDateTime(QDate(2026, 3, 1), QTime(9, 0)), 1.0,
                                                 QStringLiteral("Caja"), 1, QString(), QString(),
                                                 QStringLiteral("Normal"), 1, 1, 1, autorizante,
                                                 QStringLiteral("korva")});
    e.Sql(QStringLiteral("update ordenes set OrdEstado=? where OrdId=?"), {estado, id});
    return id;
}

QString Estado(Entorno& e, int id) {
    return e.Valor(QStringLiteral("select OrdEstado from ordenes where OrdId=?"), {id}).toString();
}

int Procesado(Entorno& e, int id) {
    return e.Valor(QStringLiteral("select ProcesadoId from ordenes where OrdId=?"), {id}).toInt();
}

QStringList Textos() {
    QStringList r;
    for (const auto& m : Mensajes::Mostrados())
        r << m.texto;
    return r;
}

} // namespace

class PruebaProcesar : public QObject {
    Q_OBJECT
private slots:
    void sinEstadoNoGuardaYTeclearVuelveAPendiente() {
        Entorno e;
        const int id = NuevaOrden(e, 1, QStringLiteral("En trámite"));
        frmProcesar dlg;
        dlg.ids = {QString::number(id)};
        dlg.estadoMostrado = QStringLiteral("En trámite");
        QCOMPARE(dlg.cboEstado->currentIndex(), -1);
        dlg.show();
        QTest::mouseClick(dlg.cmdAceptar, Qt::LeftButton);
        QVERIFY(dlg.isVisible());
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Estado(e, id), QStringLiteral("En trámite"));

        dlg.cboEstado->setCurrentIndex(2);
        // A mnemonic is not typing.
        QTest::keyClick(dlg.cboEstado, Qt::Key_A, Qt::AltModifier);
        QCOMPARE(dlg.cboEstado->currentText(), QStringLiteral("Cumplida"));
        QTest::keyClicks(dlg.cboEstado, QStringLiteral("C"));
        QCOMPARE(dlg.cboEstado->currentText(), QStringLiteral("Pendiente"));
        // The arrow keys still choose.
        QTest::keyClick(dlg.cboEstado, Qt::Key_Down);
        QCOMPARE(dlg.cboEstado->currentText(), QStringLiteral("En trámite"));

        // A signed-in user whose row was deleted meanwhile processes nothing.
        gLogin = QStringLiteral("borrado");
        QTest::mouseClick(dlg.cmdAceptar, Qt::LeftButton);
        QVERIFY(dlg.isVisible());
        QCOMPARE(Mensajes::Mostrados().size(), 2);
        QCOMPARE(Estado(e, id), QStringLiteral("En trámite"));
    }

    void cumplidaConLaDelMedioSinAutorizar() {
        Entorno e;
        const int cumple =
            e.Usuario(QStringLiteral("ana"), QString(), QStringLiteral("Ana"), 0, 0, 1);
        // Signed in as typed, blanks and letter case included.
        gLogin = QStringLiteral(" ANA ");
        e.Entrar(QStringLiteral("ana"));
        const int a = NuevaOrden(e, 1), b = NuevaOrden(e, 0), c = NuevaOrden(e, 1);
        frmProcesar dlg;
        dlg.ids = {QString::number(a), QString::number(b), QString::number(c)};
        dlg.estadoMostrado = QStringLiteral("Pendiente");
        dlg.show();
        dlg.cboEstado->setCurrentIndex(2);
        Mensajes::Responder(Respuesta::Si);
        QTest::mouseClick(dlg.cmdAceptar, Qt::LeftButton);

        QVERIFY(dlg.procesado);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(Estado(e, a), QStringLiteral("Cumplida"));
        QCOMPARE(Estado(e, b), QStringLiteral("Pendiente"));
        QCOMPARE(Estado(e, c), QStringLiteral("Cumplida"));
        QCOMPARE(Procesado(e, a), cumple);
        QCOMPARE(Procesado(e, b), 0);
        QCOMPARE(Procesado(e, c), cumple);
        QCOMPARE(
            Textos(),
            (QStringList{QStringLiteral("¿ Está seguro que desea pasar a Cumplida las Ordenes "
                                        "de Compra seleccionadas ?"),
                         QStringLiteral("No es posible pasar a Cumplida la Orden Numero: ") +
                             QString::number(b) + QStringLiteral(" porque no está autorizada.")}));
        QCOMPARE(Mensajes::Mostrados().at(0).titulo, QStringLiteral("Confirme"));
        QCOMPARE(Mensajes::Mostrados().at(1).titulo, QStringLiteral("Atención"));
    }

    void sinDerechoSeRechazaAntesDePreguntar() {
        Entorno e;
        e.Usuario(QStringLiteral("beto"), QString(), QStringLiteral("Beto"), 0, 1, 0);
        gLogin = QStringLiteral("beto");
        e.Entrar(gLogin);
        const int id = NuevaOrden(e, 1);
        frmProcesar dlg;
        dlg.ids = {QString::number(id)};
        dlg.estadoMostrado = QStringLiteral("Pendiente");
        dlg.show();
        dlg.cboEstado->setCurrentIndex(2);
        QTest::mouseClick(dlg.cmdAceptar, Qt::LeftButton);
        dlg.cboEstado->setCurrentIndex(1);
        QTest::mouseClick(dlg.cmdAceptar, Qt::LeftButton);
        QCOMPARE(Textos(), (QStringList{QStringLiteral("Usted no está autorizado a pasar Ordenes "
                                                       "de Compra al estado Cumplida."),
                                        QStringLiteral("Usted no está autorizado a pasar Ordenes "
                                                       "de Compra al estado En trámite.")}));
        QVERIFY(dlg.isVisible());
        QCOMPARE(Estado(e, id), QStringLiteral("Pendiente"));

        // Anulada needs neither a right nor an authorisation; No at the question keeps it open.
        const int sinAutorizar = NuevaOrden(e, 0);
        dlg.ids << QString::number(sinAutorizar);
        dlg.cboEstado->setCurrentIndex(3);
        Mensajes::Responder(Respuesta::No);
        QTest::mouseClick(dlg.cmdAceptar, Qt::LeftButton);
        QVERIFY(dlg.isVisible());
        QCOMPARE(Estado(e, sinAutorizar), QStringLiteral("Pendiente"));
        Mensajes::Responder(Respuesta::Si);
        QTest::mouseClick(dlg.cmdAceptar, Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(Estado(e, id), QStringLiteral("Anulada"));
        QCOMPARE(Estado(e, sinAutorizar), QStringLiteral("Anulada"));
    }

    void enTramiteRechazaLaNoAutorizadaYNadaTildadoCierra() {
        Entorno e;
        const int id = NuevaOrden(e, 0);
        bool trabajado = false;
        QTimer::singleShot(0, this, [&] {
            auto* dlg = qobject_cast<frmProcesar*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            dlg->cboEstado->setCurrentIndex(1);
            Mensajes::Responder(Respuesta::Si);
            QTest::mouseClick(dlg->cmdAceptar, Qt::LeftButton);
            trabajado = true;
        });
        QVERIFY(frmProcesar::Procesar(nullptr, {QString::number(id)}, QStringLiteral("Pendiente")));
        QVERIFY(trabajado);
        QCOMPARE(Estado(e, id), QStringLiteral("Pendiente"));
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("No es posible pasar a En trámite la Orden Numero: ") +
                     QString::number(id) + QStringLiteral(" porque no está autorizada."));

        // Nothing ticked: the question is still asked, then the dialog closes with no change.
        Mensajes::Limpiar();
        frmProcesar dlg;
        dlg.show();
        dlg.cboEstado->setCurrentIndex(0);
        Mensajes::Responder(Respuesta::Si);
        QTest::mouseClick(dlg.cmdAceptar, Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Procesado(e, id), 0);
    }

    // The list on screen is older than what another workstation did meanwhile: an order it
    // cancelled or deleted since is not revived, and is named with the state it holds now.
    void procesarDesdeLaVentanaPrincipalRespetaLoQueHizoOtroPuesto() {
        Entorno e;
        e.Producto(QStringLiteral("Tornillo"));
        const int a = NuevaOrden(e, 1), b = NuevaOrden(e, 0), c = NuevaOrden(e, 1),
                  d = NuevaOrden(e, 1);
        frmPrincipal* w = frmPrincipal::Instancia();
        QCOMPARE(w->Modelo()->rowCount(), 4);
        for (int fila : {0, 1, 2, 3}) {
            w->grdLista->setCurrentIndex(w->Modelo()->index(fila, ModeloOrdenes::Marca));
            QTest::keyClick(w->grdLista, Qt::Key_Space);
        }
        OtroPuesto otro(e.RutaBase());
        QVERIFY(otro.Ejecutar("UPDATE ordenes SET OrdEstado = 'Anulada' WHERE OrdId = " +
                              QByteArray::number(a)));
        QVERIFY(otro.Ejecutar("DELETE FROM ordenes WHERE OrdId = " + QByteArray::number(d)));
        QTimer::singleShot(0, this, [] {
            auto* dlg = qobject_cast<frmProcesar*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            dlg->cboEstado->setCurrentIndex(1);
            Mensajes::Responder(Respuesta::Si);
            dlg->cmdAceptar->click();
        });
        w->findChild<QAction*>(QStringLiteral("procesar"))->trigger();
        QCOMPARE(Estado(e, a), QStringLiteral("Anulada"));
        QCOMPARE(Procesado(e, a), 0);
        QCOMPARE(Estado(e, b), QStringLiteral("Pendiente"));
        QCOMPARE(Estado(e, c), QStringLiteral("En trámite"));
        QCOMPARE(
            Textos().mid(1),
            (QStringList{QStringLiteral("No es posible pasar a En trámite la Orden Numero: ") +
                             QString::number(b) + QStringLiteral(" porque no está autorizada."),
                         QStringLiteral("Otro puesto cambió estas Ordenes de Compra desde "
                                        "que se mostró la lista; no se modificaron:\n"
                                        "Orden Numero: %1 (Anulada)\n"
                                        "Orden Numero: %2 (eliminada)")
                             .arg(a)
                             .arg(d)}));
        // The list shows what is left in its state, nothing ticked.
        QCOMPARE(w->Modelo()->rowCount(), 1);
        QVERIFY(w->IdsMarcados().isEmpty());
        delete w;
    }
};

QUIMBEL_PRUEBA(PruebaProcesar)
#include "PruebaProcesar.moc"
