#include "Configuracion.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "ModeloOrdenes.h"
#include "RegistroPruebas.h"
#include "VistaPrevia.h"
#include "frmImprimirOpciones.h"
#include "frmPrincipal.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

class PruebaImprimirPrincipal : public QObject {
    Q_OBJECT

    static void Boton(frmPrincipal* w, const char* key) {
        w->findChild<QAction*>(QLatin1String(key))->trigger();
    }

    static void Marcar(frmPrincipal* w, int fila) {
        w->grdLista->setCurrentIndex(w->Modelo()->index(fila, ModeloOrdenes::Marca));
        QTest::keyClick(w->grdLista, Qt::Key_Space);
    }

    // Answers the options dialog with the given option; the preview then closes by itself.
    static void ElegirAlImprimir(int opcion, QString* leyenda = nullptr) {
        QTimer::singleShot(0, [opcion, leyenda] {
            auto* dlg = qobject_cast<frmImprimirOpciones*>(QApplication::activeModalWidget());
            QVERIFY(dlg);
            if (leyenda)
                *leyenda = dlg->optOpciones_0->text();
            (opcion == 0 ? dlg->optOpciones_0 : dlg->optOpciones_1)->setChecked(true);
            QTest::mouseClick(dlg->cmdAceptar, Qt::LeftButton);
        });
    }

    // Back in the main window from the dialog and the preview, as the person would be.
    static void Volver(frmPrincipal* w) {
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
    }

private slots:
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* principal = qobject_cast<frmPrincipal*>(w)) {
                delete principal;
                break;
            }
    }

    void imprimeLaBusquedaOLasMarcadasYLasMarcasSobreviven() {
        Entorno e;
        gEmpresa.clear();
        gLogoPath.clear();
        e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        e.Insertar("centrodecosto_insertar", {QStringLiteral("Planta")});
        const int guantes = e.Producto(QStringLiteral("Guantes"));
        const int martillo = e.Producto(QStringLiteral("Martillo"));
        QList<int> ordenes;
        for (int producto : {guantes, martillo, guantes, guantes})
            ordenes << e.Insertar("orden_insertar",
                                  {QDateTime(QDate(2026, 3, 1), QTime(8, 0)), 1.0,
                                   QStringLiteral("Caja"), producto, QString(), QString(),
                                   QStringLiteral("Normal"), 1, 1, 1, 0, QStringLiteral("korva")});
        LimpiarInformesMostrados();

        frmPrincipal* w = frmPrincipal::Instancia();
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        Mensajes::ResponderTexto(QStringLiteral("guantes"));
        Boton(w, "buscar");
        QCOMPARE(w->Modelo()->rowCount(), 3);
        Marcar(w, 0);
        Marcar(w, 2);
        const QStringList marcadas = w->IdsMarcados();
        QCOMPARE(marcadas, QStringList({QString::number(ordenes[0]), QString::number(ordenes[3])}));

        QString leyenda;
        ElegirAlImprimir(0, &leyenda);
        Boton(w, "imprimir");
        Volver(w);
        QCOMPARE(leyenda, QStringLiteral("Imprimir la vista actual (Pendiente)"));
        QCOMPARE(InformesMostrados().size(), 1);
        QCOMPARE(InformesMostrados().last().nombre, QStringLiteral("dtrOrdenes"));
        QCOMPARE(InformesMostrados().last().registros, 3);
        QVERIFY(!InformesMostrados().last().textosPrimeraPagina.contains("Martillo"));
        QVERIFY(w->recargarAlActivar);
        QCOMPARE(w->Modelo()->rowCount(), 3);
        QCOMPARE(w->IdsMarcados(), marcadas);

        ElegirAlImprimir(1);
        Boton(w, "imprimir");
        Volver(w);
        QCOMPARE(InformesMostrados().size(), 2);
        QCOMPARE(InformesMostrados().last().sql,
                 QStringLiteral("select * from v_ordenes_preciosaceptados where OrdId in (") +
                     marcadas.join(',') + ')');
        QCOMPARE(InformesMostrados().last().registros, 2);
        QCOMPARE(w->IdsMarcados(), marcadas);

        // Another state in the list shows in the option's caption.
        w->cboEstado->setCurrentText(QStringLiteral("Cumplida"));
        ElegirAlImprimir(0, &leyenda);
        Boton(w, "imprimir");
        Volver(w);
        QCOMPARE(leyenda, QStringLiteral("Imprimir la vista actual (Cumplida)"));
        QCOMPARE(InformesMostrados().last().registros, 0);
    }
};

QUIMBEL_PRUEBA(PruebaImprimirPrincipal)
#include "PruebaImprimirPrincipal.moc"
