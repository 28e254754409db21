#include "AyudaMant.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "VistaPrevia.h"
#include "frmMantProveedores.h"

#include <QCheckBox>

using namespace AyudaMant;

namespace {

const char* const kColumnas[] = {
    "EmpId",           "EmpNombreFantasia",  "EmpRazonSocial", "EmpDireccion",
    "EmpCodigoPostal", "EmpTelefono1",       "EmpTelefono2",   "EmpFax",
    "EmpRuc",          "EmpEmail",           "EmpURL",         "EmpZona",
    "EmpCiudad",       "EmpProvinciaEstado", "EmpPais"};
} // namespace

class PruebaMantProveedores : public QObject {
    Q_OBJECT
    // The command buttons by index.
    static constexpr int kNuevo = 0, kEditar = 1, kGuardar = 2, kImprimir = 3, kBuscar = 4,
                         kCancelar = 6;
private slots:
    void nuevoVaciaYCadaValorVaASuColumna() {
        Entorno e;
        e.Proveedor(QStringLiteral("Aceros Sur"), QStringLiteral("Aceros del Sur SA"));
        std::unique_ptr<frmMantProveedores> f(frmMantProveedores::Instancia());
        QCOMPARE(f->txtFields(2)->text(), QStringLiteral("Aceros del Sur SA"));

        Pulsar(f.get(), kNuevo);
        for (int i = 0; i < 15; ++i)
            QVERIFY2(f->txtFields(i)->text().isEmpty(), qPrintable(QString::number(i)));
        QVERIFY(!f->chkDesactivado()->isEnabled());
        Escribir(f->txtFields(1), QStringLiteral("Bulonera Norte"));
        Pulsar(f.get(), kGuardar);
        QVERIFY(Mensajes::Mostrados().isEmpty());
        Recordset nuevo = e.Sql(
            QStringLiteral("SELECT * FROM proveedores WHERE EmpNombreFantasia='Bulonera Norte'"));
        QCOMPARE(nuevo.RecordCount(), 1);
        for (int i = 2; i < 15; ++i)
            QCOMPARE(nuevo.Texto(QString::fromLatin1(kColumnas[i])), QString());

        // Every field typed differently: each must land in its own column, the tax number too.
        Pulsar(f.get(), kEditar);
        for (int i = 1; i < 15; ++i)
            Escribir(f->txtFields(i), QStringLiteral("v%1").arg(i));
        f->chkDesactivado()->click();
        Pulsar(f.get(), kGuardar);
        Recordset fila = e.Sql(QStringLiteral("SELECT * FROM proveedores WHERE EmpId=?"),
                               {f->txtFields(0)->text().toInt()});
        for (int i = 1; i < 15; ++i)
            QCOMPARE(fila.Texto(QString::fromLatin1(kColumnas[i])), QStringLiteral("v%1").arg(i));
        QCOMPARE(fila.Campo(QStringLiteral("EmpDesactivado")).toInt(), 1);
        QCOMPARE(f->Lista().RecordCount(), 2);
    }

    void busquedaSeImprimeYSeReleeAlCancelar() {
        Entorno e;
        e.Proveedor(QStringLiteral("Aceros Sur"));
        e.Proveedor(QStringLiteral("Pinturería Oeste"));
        e.Proveedor(QStringLiteral("Ferretería Sureña"));
        std::unique_ptr<frmMantProveedores> f(frmMantProveedores::Instancia());

        Mensajes::ResponderTexto(QStringLiteral("SUR"));
        Pulsar(f.get(), kBuscar);
        QCOMPARE(Mensajes::Mostrados().constFirst().titulo, QStringLiteral("Buscar por Nombre"));
        QCOMPARE(f->Lista().RecordCount(), 2);

        LimpiarInformesMostrados();
        Pulsar(f.get(), kImprimir);
        QCOMPARE(InformesMostrados().size(), 1);
        QCOMPARE(InformesMostrados()[0].nombre, QStringLiteral("dtrProveedores"));
        QCOMPARE(InformesMostrados()[0].registros, 2);
        QVERIFY(InformesMostrados()[0].modal);
        QCOMPARE(f->Lista().RecordCount(), 2);

        e.Proveedor(QStringLiteral("Surtidos"));
        Pulsar(f.get(), kEditar);
        Pulsar(f.get(), kCancelar);
        QCOMPARE(f->Lista().RecordCount(), 3);
        QVERIFY(!f->EnEdicion());
    }

    void elEditorLoAbreParaUnoNuevoAunqueEsteEditando() {
        Entorno e;
        e.Proveedor(QStringLiteral("Aceros Sur"));
        QPointer<frmMantProveedores> f = frmMantProveedores::Instancia();
        Pulsar(f, kEditar);
        Escribir(f->txtFields(3), QStringLiteral("Calle falsa 123"));

        frmMantProveedores::Instancia()->cmdMenu_Click(kNuevo);
        QVERIFY(f->EnEdicion());
        QVERIFY(f->txtFields(0)->text().isEmpty());
        QVERIFY(f->txtFields(1)->text().isEmpty());
        QVERIFY(f->txtFields(3)->text().isEmpty());
        QVERIFY(!f->txtFields(1)->isReadOnly());
        delete f.data();
    }
};

QUIMBEL_PRUEBA(PruebaMantProveedores)
#include "PruebaMantProveedores.moc"
