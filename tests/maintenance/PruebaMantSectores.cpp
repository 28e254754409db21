#include "AyudaMant.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "OtroPuesto.h"
#include "RegistroPruebas.h"
#include "VistaPrevia.h"
#include "frmMantCentrosDeCosto.h"
#include "frmMantSectores.h"

#include <QApplication>
#include <QCheckBox>

using namespace AyudaMant;

class PruebaMantSectores : public QObject {
    Q_OBJECT
    // The command buttons by index.
    static constexpr int kNuevo = 0, kEditar = 1, kGuardar = 2, kImprimir = 3, kBuscar = 4,
                         kActualizar = 5, kCancelar = 6, kAtras = 7;
    static inline const QList<int> kNavegacion{kNuevo,  kEditar,     kImprimir,
                                               kBuscar, kActualizar, kAtras};
    static inline const QList<int> kEntrada{kGuardar, kCancelar, kAtras};
private slots:
    void nuevoYGuardarInsertaHabilitadoSinTocarElMostrado() {
        Entorno e;
        e.Insertar("sector_insertar", {QStringLiteral("Ventas")});
        e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        e.Sql(QStringLiteral("UPDATE sectores SET SecDesactivado=1"));
        QPointer<frmMantSectores> f = frmMantSectores::Instancia();
        QCOMPARE(frmMantSectores::Instancia(), f.data());
        QCOMPARE(Columna(f, 1), (QStringList{QStringLiteral("Compras"), QStringLiteral("Ventas")}));
        QCOMPARE(Columna(f, 2), (QStringList{QStringLiteral("Si"), QStringLiteral("Si")}));
        QCOMPARE(f->txtFields(1)->text(), QStringLiteral("Compras"));
        QVERIFY(Habilitados(f, kNavegacion));
        QVERIFY(f->txtFields(1)->isReadOnly());

        Pulsar(f, kNuevo);
        QVERIFY(f->txtFields(0)->text().isEmpty());
        QVERIFY(Habilitados(f, kEntrada));
        QVERIFY(!f->txtFields(1)->isReadOnly());
        QVERIFY(!f->chkDesactivado()->isEnabled());
        Escribir(f->txtFields(1), QStringLiteral("Depósito"));
        Pulsar(f, kGuardar);
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM sectores WHERE SecDesactivado=1 AND "
                                        "SecDescripcion IN ('Compras', 'Ventas')"))
                     .toInt(),
                 2);
        const Recordset nuevo =
            e.Sql(QStringLiteral("SELECT * FROM sectores WHERE SecDescripcion='Depósito'"));
        QCOMPARE(nuevo.RecordCount(), 1);
        QCOMPARE(nuevo.Campo(QStringLiteral("SecDesactivado")).toInt(), 0);
        QVERIFY(Habilitados(f, kNavegacion));
        QCOMPARE(f->Lista().RecordCount(), 3);

        // The window now shows the new record, so editing it changes it instead of adding another.
        QCOMPARE(f->txtFields(0)->text(), nuevo.Texto(QStringLiteral("SecId")));
        Pulsar(f, kEditar);
        Escribir(f->txtFields(1), QStringLiteral("Depósito central"));
        Pulsar(f, kGuardar);
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM sectores")).toInt(), 3);

        Pulsar(f, kAtras);
        QTRY_VERIFY(f.isNull());
    }

    void editarGuardaLaMarcaYCancelarNoEscribe() {
        Entorno e;
        const int id = e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        e.Insertar("sector_insertar", {QStringLiteral("Ventas")});
        std::unique_ptr<frmMantSectores> f(frmMantSectores::Instancia());
        Pulsar(f.get(), kEditar);
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
        QCOMPARE(Columna(f.get(), 2).constFirst(), QStringLiteral("Si"));

        Pulsar(f.get(), kEditar);
        f->chkDesactivado()->click();
        Pulsar(f.get(), kGuardar);
        QCOMPARE(e.Valor(sql, {id}).toInt(), 0);

        Pulsar(f.get(), kEditar);
        Escribir(f->txtFields(1), QStringLiteral("Otra cosa"));
        Pulsar(f.get(), kCancelar);
        QVERIFY(Habilitados(f.get(), kNavegacion));
        QCOMPARE(f->txtFields(1)->text(), QStringLiteral("Otra cosa"));
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM sectores WHERE "
                                        "SecDescripcion='Compras y Pagos'"))
                     .toInt(),
                 1);
        ElegirFila(f.get(), 0);
        QCOMPARE(f->txtFields(1)->text(), QStringLiteral("Compras y Pagos"));

        // Another workstation renames the sector shown here: a save of what this window showed
        // would undo that unseen. Nothing is kept; the entry stays until the person reloads.
        OtroPuesto otro(e.RutaBase());
        const QByteArray clave = QByteArray::number(id);
        QVERIFY(otro.Ejecutar("UPDATE sectores SET SecDescripcion = 'Compras (beto)' WHERE "
                              "SecId = " +
                              clave));
        QVERIFY(otro.AnotarCambio("sectores", clave, "SecDescripcion", "Compras y Pagos",
                                  "Compras (beto)"));
        Mensajes::Limpiar();
        Pulsar(f.get(), kEditar);
        f->chkDesactivado()->click();
        Mensajes::Responder(Mensajes::Respuesta::No);
        Pulsar(f.get(), kGuardar);
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("beto (02/03/2026 10:30) modificó este registro desde que se "
                                "mostró; no se guardó nada.\r\n¿Desea volver a cargarlo? Se "
                                "perderán los cambios que escribió."));
        QCOMPARE(e.Valor(sql, {id}).toInt(), 0);
        QVERIFY(Habilitados(f.get(), kEntrada));
        QCOMPARE(f->txtFields(1)->text(), QStringLiteral("Compras y Pagos"));
        QVERIFY(f->chkDesactivado()->isChecked());
        Mensajes::Responder(Mensajes::Respuesta::Si);
        Pulsar(f.get(), kGuardar);
        QVERIFY(Habilitados(f.get(), kNavegacion));
        QCOMPARE(f->txtFields(1)->text(), QStringLiteral("Compras (beto)"));
        QVERIFY(!f->chkDesactivado()->isChecked());
        Pulsar(f.get(), kEditar);
        f->chkDesactivado()->click();
        Pulsar(f.get(), kGuardar);
        QCOMPARE(Mensajes::Mostrados().size(), 2);
        QCOMPARE(e.Valor(sql, {id}).toInt(), 1);
    }

    void descripcionVaciaOComandoRechazadoConservanLaEntrada() {
        Entorno e;
        std::unique_ptr<frmMantSectores> f(frmMantSectores::Instancia());
        Pulsar(f.get(), kNuevo);
        Escribir(f->txtFields(1), QStringLiteral("   "));
        Pulsar(f.get(), kGuardar);
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("Debe ingresar la descripción del sector"));
        QCOMPARE(Mensajes::Mostrados()[0].icono, Mensajes::Icono::Ninguno);
        QVERIFY(Habilitados(f.get(), kEntrada));

        e.Rechazar("rechazo", "BEFORE INSERT", "sectores", nullptr, "sin lugar");
        Mensajes::Limpiar();
        Escribir(f->txtFields(1), QStringLiteral("Depósito"));
        Pulsar(f.get(), kGuardar);
        QVERIFY(
            Mensajes::Mostrados().constFirst().texto.startsWith(QStringLiteral("Error número")));
        QVERIFY(Habilitados(f.get(), kEntrada));
        QCOMPARE(f->txtFields(1)->text(), QStringLiteral("Depósito"));
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM sectores")).toInt(), 0);

        // A history line that cannot be written refuses the save just the same, and the sector
        // is not stored without it.
        e.QuitarDisparador("rechazo", "sectores");
        e.Rechazar("rechazo", "BEFORE INSERT", "historial", nullptr, "sin lugar");
        Mensajes::Limpiar();
        Pulsar(f.get(), kGuardar);
        QVERIFY(
            Mensajes::Mostrados().constFirst().texto.startsWith(QStringLiteral("Error número")));
        QVERIFY(Habilitados(f.get(), kEntrada));
        QVERIFY(f->txtFields(0)->text().isEmpty());
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM sectores")).toInt(), 0);
    }

    void buscarListaLasCoincidenciasYSeImprimenSoloEsas() {
        Entorno e;
        for (const char* d : {"Tabaco", "Compras", "Abasto", "O'Higgins", "Laboratorio"})
            e.Insertar("sector_insertar", {QString::fromUtf8(d)});
        std::unique_ptr<frmMantSectores> f(frmMantSectores::Instancia());

        Mensajes::ResponderTexto(QStringLiteral(" ab "));
        Pulsar(f.get(), kBuscar);
        QCOMPARE(Mensajes::Mostrados().constFirst().texto,
                 QStringLiteral("Ingrese el texto a buscar:"));
        QStringList hallados = Columna(f.get(), 1);
        hallados.sort();
        QCOMPARE(hallados, (QStringList{QStringLiteral("Abasto"), QStringLiteral("Laboratorio"),
                                        QStringLiteral("Tabaco")}));

        LimpiarInformesMostrados();
        Pulsar(f.get(), kImprimir);
        QCOMPARE(InformesMostrados().size(), 1);
        const InformeMostrado informe = InformesMostrados().constFirst();
        QCOMPARE(informe.nombre, QStringLiteral("dtrSectores"));
        QCOMPARE(informe.registros, 3);
        QVERIFY(!informe.modal);
        QVERIFY(!informe.textosPrimeraPagina.contains(QStringLiteral("Compras")));

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
    }

    void centrosDeCostoEnTablaVaciaEditarSinCodigoInserta() {
        Entorno e;
        std::unique_ptr<frmMantCentrosDeCosto> f(frmMantCentrosDeCosto::Instancia());
        Pulsar(f.get(), kEditar);
        Escribir(f->txtFields(1), QStringLiteral("Administración"));
        Pulsar(f.get(), kGuardar);
        Pulsar(f.get(), kEditar);
        f->chkDesactivado()->click();
        Pulsar(f.get(), kGuardar);
        const Recordset r = e.Sql(QStringLiteral("SELECT * FROM centrosdecosto"));
        QCOMPARE(r.RecordCount(), 1);
        QCOMPARE(r.Texto(QStringLiteral("CenCosDescripcion")), QStringLiteral("Administración"));
        QCOMPARE(r.Campo(QStringLiteral("CenCosDesactivado")).toInt(), 1);
    }
};

QUIMBEL_PRUEBA(PruebaMantSectores)
#include "PruebaMantSectores.moc"
