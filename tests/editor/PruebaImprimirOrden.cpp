#include "Configuracion.h"
#include "DatosEditor.h"
#include "RegistroPruebas.h"
#include "VistaPrevia.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace DatosEditor;

class PruebaImprimirOrden : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Cerrar(); }

    void imprimeLaOrdenGuardadaNoLoQueSeEstaEscribiendo() {
        Entorno e;
        gEmpresa.clear();
        gLogoPath.clear();
        const Maestros m = CargarMaestros(e);
        Orden(e, m, QStringLiteral("korva"));
        const int orden = Orden(e, m, QStringLiteral("korva"));
        Precio(e, orden, m.acme, 99, false);
        frmOrden* f = Abrir(false, orden);
        f->cmdMenu[1]->click(); // Editar
        f->txtCantidad->setText(QStringLiteral("777"));
        LimpiarInformesMostrados();
        QVERIFY(f->cmdMenu[5]->isEnabled());
        f->cmdMenu[5]->click();

        QCOMPARE(InformesMostrados().size(), 1);
        const InformeMostrado informe = InformesMostrados().constFirst();
        QCOMPARE(informe.nombre, QStringLiteral("dtrOrden"));
        QVERIFY(informe.modal);
        QCOMPARE(informe.registros, 1);
        QVERIFY(informe.sql.endsWith(QStringLiteral("OrdId=") + QString::number(orden)));
        const QStringList textos = informe.textosPrimeraPagina;
        QVERIFY(textos.contains(QString::number(orden)));
        QVERIFY(textos.contains(QStringLiteral("12,5")));
        QVERIFY(!textos.contains(QStringLiteral("777")));
        // No accepted quote: no supplier, price or currency.
        QVERIFY(!textos.contains(QStringLiteral("Acme")));
        QVERIFY(!textos.contains(QStringLiteral("Pesos")));
        QVERIFY(!textos.contains(QStringLiteral("99")));
    }
};

QUIMBEL_PRUEBA(PruebaImprimirOrden)
#include "PruebaImprimirOrden.moc"
