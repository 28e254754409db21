#include "Configuracion.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "VistaPrevia.h"
#include "frmImprimirOpciones.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Works the options dialog once it is open; the preview that may follow closes by itself.
void AlAbrirOpciones(std::function<void(frmImprimirOpciones*)> trabajar) {
    QTimer::singleShot(0, [trabajar] {
        auto* dlg = qobject_cast<frmImprimirOpciones*>(QApplication::activeModalWidget());
        QVERIFY(dlg);
        trabajar(dlg);
    });
}

const QString kVista =
    QStringLiteral("select * from v_ordenes_preciosaceptados where OrdEstado='Pendiente' and ");

} // namespace

class PruebaImprimirOpciones : public QObject {
    Q_OBJECT

    QList<int> ordenes_;

    void Ordenes(Entorno& e) {
        gEmpresa.clear();
        gLogoPath.clear();
        e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        e.Insertar("centrodecosto_insertar", {QStringLiteral("Planta 1")});
        ordenes_.clear();
        const QStringList productos = {QStringLiteral("Guantes"), QStringLiteral("Martillo"),
                                       QStringLiteral("Tornillos"),
                                       QStringLiteral("Guantes de nitrilo")};
        for (const QString& p : productos) {
            const int pro = e.Producto(p);
            ordenes_ << e.Insertar("orden_insertar",
                                   {QDateTime(QDate(2026, 3, 1), QTime(8, 0)), 1.0,
                                    QStringLiteral("Unidad"), pro, QString(), QString(),
                                    QStringLiteral("Normal"), 1, 1, 1, 0, QStringLiteral("korva")});
        }
        LimpiarInformesMostrados();
    }

private slots:
    // Opened twice the way the main window opens it: the second time must neither repeat the
    // state in the caption nor keep the choice made the first time.
    void leyendaConElEstadoUnaSolaVezYValoresIniciales() {
        Entorno e;
        Ordenes(e);
        bool recargar = true;
        for (int vez = 0; vez < 2; ++vez) {
            bool abierto = false;
            QStringList textos;
            bool inicial = false, ordenado = false;
            AlAbrirOpciones([&](frmImprimirOpciones* dlg) {
                abierto = true;
                textos = {dlg->windowTitle(), dlg->optOpciones_0->text(),
                          dlg->optOpciones_1->text()};
                inicial = dlg->optOpciones_0->isChecked() && !dlg->aceptado && dlg->Opcion() == 0;
                ordenado =
                    dlg->optOpciones_0->geometry().bottom() <
                        dlg->optOpciones_1->geometry().top() &&
                    dlg->optOpciones_1->geometry().bottom() < dlg->cmdAceptar->geometry().top() &&
                    dlg->cmdAceptar->geometry().top() == dlg->cmdCancelar->geometry().top();
                dlg->optOpciones_1->setChecked(true);
                QTest::mouseClick(dlg->cmdCancelar, Qt::LeftButton);
            });
            ImprimirListaDeOrdenes(QStringLiteral("Cumplida"), kVista + "1", {}, recargar);
            QVERIFY2(abierto, "the options dialog did not open");
            QCOMPARE(
                textos,
                QStringList({QStringLiteral("Opciones de impresión"),
                             QStringLiteral("Imprimir la vista actual (Cumplida)"),
                             QStringLiteral("Imprimir solo las Ordenes de Compra seleccionadas")}));
            QVERIFY(inicial);
            QVERIFY(ordenado);
        }
        QVERIFY(InformesMostrados().isEmpty());
    }

    void aceptarSinTocarImprimeLaVistaActualConSuBusqueda() {
        Entorno e;
        Ordenes(e);
        const QString vista = kVista + QStringLiteral("OrdDescripcion like '%guantes%'");
        bool recargar = true;
        bool recargarDurante = true;
        AlAbrirOpciones([&](frmImprimirOpciones* dlg) {
            recargarDurante = recargar;
            QTest::mouseClick(dlg->cmdAceptar, Qt::LeftButton);
        });
        ImprimirListaDeOrdenes(QStringLiteral("Pendiente"), vista, {}, recargar);
        QVERIFY(!recargarDurante);
        QVERIFY(recargar);
        QCOMPARE(InformesMostrados().size(), 1);
        const InformeMostrado m = InformesMostrados().first();
        QCOMPARE(m.nombre, QStringLiteral("dtrOrdenes"));
        QCOMPARE(m.caption, QStringLiteral("Reporte de Ordenes"));
        QVERIFY(m.modal);
        QCOMPARE(m.sql, vista);
        QCOMPARE(m.registros, 2);
        QVERIFY(m.textosPrimeraPagina.contains(QStringLiteral("Guantes de nitrilo")));
        QVERIFY(!m.textosPrimeraPagina.contains(QStringLiteral("Martillo")));
    }

    void soloLasMarcadasOAvisoSiNoHayNinguna() {
        Entorno e;
        Ordenes(e);
        const QStringList marcadas = {QString::number(ordenes_[1]), QString::number(ordenes_[2])};
        bool recargar = true;
        AlAbrirOpciones([](frmImprimirOpciones* dlg) {
            QTest::mouseClick(dlg->optOpciones_1, Qt::LeftButton);
            QTest::mouseClick(dlg->cmdAceptar, Qt::LeftButton);
        });
        ImprimirListaDeOrdenes(QStringLiteral("Pendiente"), kVista + "1", marcadas, recargar);
        QCOMPARE(InformesMostrados().size(), 1);
        QCOMPARE(InformesMostrados().first().sql,
                 QStringLiteral("select * from v_ordenes_preciosaceptados where OrdId in (") +
                     marcadas.join(',') + ')');
        QCOMPARE(InformesMostrados().first().registros, 2);
        QVERIFY(InformesMostrados().first().textosPrimeraPagina.contains("Martillo"));
        QVERIFY(!InformesMostrados().first().textosPrimeraPagina.contains("Guantes"));

        LimpiarInformesMostrados();
        AlAbrirOpciones([](frmImprimirOpciones* dlg) {
            dlg->optOpciones_1->setChecked(true);
            QTest::mouseClick(dlg->cmdAceptar, Qt::LeftButton);
        });
        ImprimirListaDeOrdenes(QStringLiteral("Pendiente"), kVista + "1", {}, recargar);
        QVERIFY(InformesMostrados().isEmpty());
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        const Mensajes::Mostrado aviso = Mensajes::Mostrados().first();
        QCOMPARE(aviso.texto, QStringLiteral("No ha seleccionado ninguna Orden de Compra."));
        QCOMPARE(aviso.titulo, QStringLiteral("Verifique"));
        QCOMPARE(aviso.icono, Mensajes::Icono::Informacion);
        QVERIFY(recargar);
    }

    void cancelarOCerrarNoImprimeNada() {
        Entorno e;
        Ordenes(e);
        bool recargar = true;
        AlAbrirOpciones(
            [](frmImprimirOpciones* dlg) { QTest::mouseClick(dlg->cmdCancelar, Qt::LeftButton); });
        ImprimirListaDeOrdenes(QStringLiteral("Pendiente"), kVista + "1", {"1"}, recargar);
        AlAbrirOpciones([](frmImprimirOpciones* dlg) {
            dlg->optOpciones_1->setChecked(true);
            dlg->close();
        });
        ImprimirListaDeOrdenes(QStringLiteral("Pendiente"), kVista + "1", {"1"}, recargar);
        QVERIFY(InformesMostrados().isEmpty());
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QVERIFY(recargar);
    }
};

QUIMBEL_PRUEBA(PruebaImprimirOpciones)
#include "PruebaImprimirOpciones.moc"
