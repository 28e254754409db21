#include "Entorno.h"
#include "ModeloOrdenes.h"
#include "RegistroPruebas.h"
#include "frmAcercaDe.h"
#include "frmMantSectores.h"
#include "frmOpciones.h"
#include "frmOrden.h"
#include "frmPrincipal.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTreeView>

// The main window is where every other window is opened from.
class PruebaAperturas : public QObject {
    Q_OBJECT

    static void CerrarTodo() {
        // Closing one window may take others with it, so hold them by guarded pointers.
        QList<QPointer<QWidget>> ventanas;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<frmPrincipal*>(w) || qobject_cast<frmOrden*>(w) ||
                qobject_cast<frmMantSectores*>(w))
                ventanas << w;
        for (const QPointer<QWidget>& w : ventanas)
            delete w.data();
    }

private slots:
    void cleanup() { CerrarTodo(); }

    void nuevaYDobleClicAbrenElEditor() {
        Entorno e;
        e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        const int orden = e.Insertar(
            "orden_insertar", {QDateTime::currentDateTime(), 1.0, QStringLiteral("Caja"),
                               e.Producto(QStringLiteral("Tuerca")), QString(), QString(),
                               QStringLiteral("Normal"), 1, 1, 1, 0, QStringLiteral("korva")});
        frmPrincipal* w = frmPrincipal::Instancia();
        w->CargarLista(QStringLiteral("1"));

        QTreeView* g = w->grdLista;
        const QRect celda = g->visualRect(w->Modelo()->index(0, 2));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, celda.center());
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, celda.center());
        QVERIFY(frmOrden::Abierta());
        frmOrden* editor = frmOrden::Instancia();
        QVERIFY(!editor->agregando);
        QCOMPARE(editor->lblNumeroDeOrden->text().trimmed(), QString::number(orden));
        delete editor;

        w->findChild<QAction*>(QStringLiteral("nueva"))->trigger();
        QVERIFY(frmOrden::Abierta());
        QVERIFY(frmOrden::Instancia()->agregando);
    }

    void menuAbreUnaSolaVentanaDeMantenimiento() {
        Entorno e;
        frmPrincipal* w = frmPrincipal::Instancia();
        QAction* entrada = w->findChild<QAction*>(QStringLiteral("mnuHerramientasMantSectores"));
        entrada->trigger();
        entrada->trigger();
        int abiertas = 0;
        for (QWidget* v : QApplication::topLevelWidgets())
            if (qobject_cast<frmMantSectores*>(v) && v->isVisible())
                ++abiertas;
        QCOMPARE(abiertas, 1);

        w->findChild<QAction*>(QStringLiteral("mnuHerramientasOpciones"))->trigger();
        w->findChild<QAction*>(QStringLiteral("mnuAyudaAcercaDe"))->trigger();
        QVERIFY(frmOpciones::Instancia()->isVisible());
        QVERIFY(frmAcercaDe::Instancia()->isVisible());
        delete frmOpciones::Instancia();
        delete frmAcercaDe::Instancia();
    }
};

QUIMBEL_PRUEBA(PruebaAperturas)
#include "PruebaAperturas.moc"
