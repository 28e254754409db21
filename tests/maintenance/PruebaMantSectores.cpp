#include "AyudaMant.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "VistaPrevia.h"
#include "frmMantCentrosDeCosto.h"
#include "frmMantSectores.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTest>

using namespace AyudaMant;

namespace {
constexpr int kNuevo = 0, kEditar = 1, kGuardar = 2, kImprimir = 3, kBuscar = 4, kActualizar = 5,
              kCancelar = 6, kAtras = 7;
const QList<int> kNavegacion{kNuevo, kEditar, kImprimir, kBuscar, kActualizar, kAtras};
const QList<int> kEntrada{kGuardar, kCancelar, kAtras};
} // namespace

class PruebaMantSectores : public QObject {
    Q_OBJECT
private slots:
    void abreNavegandoConLaListaOrdenadaYElPrimero() {
        Entorno e;
        e.Insertar("sector_insertar", {QStringLiteral("Ventas")});
        e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        e.Sql(QStringLiteral("UPDATE sectores SET SecDesactivado=1 WHERE SecDescripcion='Ventas'"));
        QPointer<frmMantSectores> f = frmMantSectores::Instancia();
        QCOMPARE(frmMantSectores::Instancia(), f.data());
        QCOMPARE(f->windowTitle(), QStringLiteral("Mantenimiento de Sectores"));
        QCOMPARE(f->lblLista()->buddy(), f->dtgLista());
        QCOMPARE(Columna(f, 1), (QStringList{QStringLiteral("Compras"), QStringLiteral("Ventas")}));
        QCOMPARE(Columna(f, 2), (QStringList{QStringLiteral("No"), QStringLiteral("Si")}));
        QCOMPARE(f->txtFields(1)->text(), QStringLiteral("Compras"));
        QVERIFY(Habilitados(f, kNavegacion));
        QVERIFY(f->txtFields(1)->isReadOnly());
        QVERIFY(!f->chkDesactivado()->isEnabled());

        ElegirFila(f, 1);
        QCOMPARE(f->txtFields(1)->text(), QStringLiteral("Ventas"));
        QVERIFY(f->chkDesactivado()->isChecked());

        Pulsar(f, kAtras);
        QTRY_VERIFY(f.isNull());
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    void nuevoYGuardarInsertaHabilitadoSinTocarElMostrado() {
        Entorno e;
        const int compras = e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        e.Sql(QStringLiteral("UPDATE sectores SET SecDesactivado=1"));
        std::unique_ptr<frmMantSectores> f(frmMantSectores::Instancia());
        QVERIFY(f->chkDesactivado()->isChecked());

        Pulsar(f.get(), kNuevo);
        QVERIFY(f->txtFields(0)->text().isEmpty());
        QCOMPARE(f->txtFields(1)->text(), QStringLiteral("Compras"));
        QVERIFY(Habilitados(f.get(), kEntrada));
        QVERIFY(!f->txtFields(1)->isReadOnly());
        QVERIFY(f->txtFields(0)->isReadOnly());
        QVERIFY(!f->chkDesactivado()->isEnabled());

        Escribir(f->txtFields(1), QStringLiteral("Depósito"));
        Pulsar(f.get(), kGuardar);
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QCOMPARE(
            e.Valor(QStringLiteral("SELECT SecDescripcion FROM sectores WHERE SecId=?"), {compras})
                .toString(),
            QStringLiteral("Compras"));
        const Recordset nuevo =
            e.Sql(QStringLiteral("SELECT * FROM sectores WHERE SecDescripcion='Depósito'"));
        QCOMPARE(nuevo.RecordCount(), 1);
        QCOMPARE(nuevo.Campo(QStringLiteral("SecDesactivado")).toInt(), 0);
        QVERIFY(Habilitados(f.get(), kNavegacion));
        QVERIFY(f->txtFields(1)->isReadOnly());
        QCOMPARE(Columna(f.get(), 1),
                 (QStringList{QStringLiteral("Compras"), QStringLiteral("Depósito")}));

        // The window now shows the new record, so editing it changes it instead of adding another.
        QCOMPARE(f->txtFields(0)->text(), nuevo.Texto(QStringLiteral("SecId")));
        Pulsar(f.get(), kEditar);
        Escribir(f->txtFields(1), QStringLiteral("Depósito central"));
        Pulsar(f.get(), kGuardar);
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM sectores")).toInt(), 2);
    }

    void editarGuardaLaMarcaYEnterPasaAlSiguiente() {
        Entorno e;
        const int id = e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        std::unique_ptr<frmMantSectores> f(frmMantSectores::Instancia());
        Pulsar(f.get(), kEditar);
        QVERIFY(Habilitados(f.get(), kEntrada));
        QVERIFY(f->chkDesactivado()->isEnabled());
        QApplication::setActiveWindow(f.get());
        f->txtFields(1)->setFocus();
        Escribir(f->txtFields(1), QStringLiteral("Compras y Pagos"));
        QTest::keyClick(f->txtFields(1), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->chkDesactivado());
        QTest::keyClick(f->chkDesactivado(), Qt::Key_Space);
        Pulsar(f.get(), kGuardar);
        const QString sql = QStringLiteral("SELECT SecDesactivado FROM sectores WHERE SecId=?");
        QCOMPARE(e.Valor(sql, {id}).toInt(), 1);
        QCOMPARE(e.Valor(QStringLiteral("SELECT SecDescripcion FROM sectores")).toString(),
                 QStringLiteral("Compras y Pagos"));
        QCOMPARE(Columna(f.get(), 2), QStringList{QStringLiteral("Si")});

        Pulsar(f.get(), kEditar);
        f->chkDesactivado()->click();
        Pulsar(f.get(), kGuardar);
        QCOMPARE(e.Valor(sql, {id}).toInt(), 0);
    }

    void descripcionVaciaSoloAvisaYSigueIngresando() {
        Entorno e;
        e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        std::unique_ptr<frmMantSectores> f(frmMantSectores::Instancia());
        Pulsar(f.get(), kNuevo);
        Escribir(f->txtFields(1), QStringLiteral("   "));
        Pulsar(f.get(), kGuardar);
        const auto mostrados = Mensajes::Mostrados();
        QCOMPARE(mostrados.size(), 1);
        QCOMPARE(mostrados[0].texto, QStringLiteral("Debe ingresar la descripción del sector"));
        QCOMPARE(mostrados[0].icono, Mensajes::Icono::Ninguno);
        QCOMPARE(mostrados[0].botones, Mensajes::Botones::OK);
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM sectores")).toInt(), 1);
        QVERIFY(Habilitados(f.get(), kEntrada));
    }

    void comandoRechazadoSeInformaYConservaLoEscrito() {
        Entorno e;
        const int id = e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        e.Sql(QStringLiteral("CREATE TRIGGER rechazo BEFORE INSERT ON sectores "
                             "BEGIN SELECT RAISE(ABORT, 'sin lugar'); END"));
        e.Sql(QStringLiteral("CREATE TRIGGER rechazo2 BEFORE UPDATE ON sectores "
                             "BEGIN SELECT RAISE(ABORT, 'sin lugar'); END"));
        std::unique_ptr<frmMantSectores> f(frmMantSectores::Instancia());

        Pulsar(f.get(), kNuevo);
        Escribir(f->txtFields(1), QStringLiteral("Depósito"));
        Pulsar(f.get(), kGuardar);
        QVERIFY(!Mensajes::Mostrados().isEmpty());
        QVERIFY(
            Mensajes::Mostrados().constFirst().texto.startsWith(QStringLiteral("Error número")));
        QVERIFY(Habilitados(f.get(), kEntrada));
        QCOMPARE(f->txtFields(1)->text(), QStringLiteral("Depósito"));
        QVERIFY(f->txtFields(0)->text().isEmpty());

        Mensajes::Limpiar();
        Pulsar(f.get(), kCancelar);
        ElegirFila(f.get(), 0);
        Pulsar(f.get(), kEditar);
        f->chkDesactivado()->click();
        Pulsar(f.get(), kGuardar);
        QVERIFY(!Mensajes::Mostrados().isEmpty());
        QVERIFY(Habilitados(f.get(), kEntrada));
        QVERIFY(f->chkDesactivado()->isChecked());
        QCOMPARE(e.Valor(QStringLiteral("SELECT SecDesactivado FROM sectores WHERE SecId=?"), {id})
                     .toInt(),
                 0);
    }

    void buscarListaLasCoincidenciasYAdmiteApostrofes() {
        Entorno e;
        for (const char* d : {"Tabaco", "Compras", "Abasto", "O'Higgins", "Laboratorio"})
            e.Insertar("sector_insertar", {QString::fromUtf8(d)});
        std::unique_ptr<frmMantSectores> f(frmMantSectores::Instancia());

        Mensajes::ResponderTexto(QStringLiteral(" ab "));
        Pulsar(f.get(), kBuscar);
        QCOMPARE(Mensajes::Mostrados().constFirst().tipo, Mensajes::Tipo::Entrada);
        QCOMPARE(Mensajes::Mostrados().constFirst().texto,
                 QStringLiteral("Ingrese el texto a buscar:"));
        QCOMPARE(Mensajes::Mostrados().constFirst().titulo, QStringLiteral("Buscar"));
        QStringList hallados = Columna(f.get(), 1);
        hallados.sort();
        QCOMPARE(hallados, (QStringList{QStringLiteral("Abasto"), QStringLiteral("Laboratorio"),
                                        QStringLiteral("Tabaco")}));
        QCOMPARE(f->Lista().RecordCount(), 3);

        LimpiarInformesMostrados();
        Pulsar(f.get(), kImprimir);
        QCOMPARE(InformesMostrados().size(), 1);
        const InformeMostrado informe = InformesMostrados().constFirst();
        QCOMPARE(informe.nombre, QStringLiteral("dtrSectores"));
        QCOMPARE(informe.registros, 3);
        QVERIFY(!informe.modal);
        QVERIFY(informe.textosPrimeraPagina.contains(QStringLiteral("Tabaco")));
        QVERIFY(!informe.textosPrimeraPagina.contains(QStringLiteral("Compras")));
        QCOMPARE(f->Lista().RecordCount(), 3);

        // An empty (or cancelled) answer leaves the list as it is.
        Mensajes::ResponderTexto(QString());
        Pulsar(f.get(), kBuscar);
        QCOMPARE(f->Lista().RecordCount(), 3);

        Mensajes::Limpiar();
        Mensajes::ResponderTexto(QStringLiteral("o'h"));
        Pulsar(f.get(), kBuscar);
        QCOMPARE(Columna(f.get(), 1), QStringList{QStringLiteral("O'Higgins")});
        QCOMPARE(Mensajes::Mostrados().size(), 1);

        Pulsar(f.get(), kActualizar);
        QCOMPARE(f->Lista().RecordCount(), 5);
        QCOMPARE(Columna(f.get(), 1).constFirst(), QStringLiteral("Abasto"));
    }

    void cancelarNoEscribeYDejaLoEscritoALaVista() {
        Entorno e;
        e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        std::unique_ptr<frmMantSectores> f(frmMantSectores::Instancia());
        Pulsar(f.get(), kEditar);
        Escribir(f->txtFields(1), QStringLiteral("Otra cosa"));
        Pulsar(f.get(), kCancelar);
        QVERIFY(Habilitados(f.get(), kNavegacion));
        QCOMPARE(f->txtFields(1)->text(), QStringLiteral("Otra cosa"));
        QCOMPARE(e.Valor(QStringLiteral("SELECT SecDescripcion FROM sectores")).toString(),
                 QStringLiteral("Compras"));
        ElegirFila(f.get(), 0);
        QCOMPARE(f->txtFields(1)->text(), QStringLiteral("Compras"));
    }

    void centrosDeCostoEnTablaVaciaEditarSinCodigoInserta() {
        Entorno e;
        std::unique_ptr<frmMantCentrosDeCosto> f(frmMantCentrosDeCosto::Instancia());
        QCOMPARE(f->windowTitle(), QStringLiteral("Mantenimiento de Centros de Costo"));
        QCOMPARE(f->Lista().RecordCount(), 0);
        Pulsar(f.get(), kEditar);
        Escribir(f->txtFields(1), QStringLiteral("Administración"));
        Pulsar(f.get(), kGuardar);
        QCOMPARE(e.Valor(QStringLiteral("SELECT CenCosDescripcion FROM centrosdecosto")).toString(),
                 QStringLiteral("Administración"));

        Pulsar(f.get(), kNuevo);
        Escribir(f->txtFields(1), QString());
        Pulsar(f.get(), kGuardar);
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("Debe ingresar la descripción del Centro de Costo"));
        Pulsar(f.get(), kCancelar);
        ElegirFila(f.get(), 0);
        Pulsar(f.get(), kEditar);
        f->chkDesactivado()->click();
        Pulsar(f.get(), kGuardar);
        QCOMPARE(e.Valor(QStringLiteral("SELECT CenCosDesactivado FROM centrosdecosto")).toInt(),
                 1);
        QCOMPARE(Columna(f.get(), 2), QStringList{QStringLiteral("Si")});
    }
};

QUIMBEL_PRUEBA(PruebaMantSectores)
#include "PruebaMantSectores.moc"
