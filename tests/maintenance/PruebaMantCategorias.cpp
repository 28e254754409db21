#include "AyudaMant.h"
#include "Conexiones.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "frmMantCategorias.h"

#include <QCheckBox>
#include <QTimer>

using namespace AyudaMant;

namespace {}

class PruebaMantCategorias : public QObject {
    Q_OBJECT
    // The command buttons by index.
    static constexpr int kNuevo = 0, kGuardar = 2, kCancelar = 6, kEliminar = 8;
private slots:
    void eliminarBorraSoloLasDesactivadasSinProductos() {
        Entorno e;
        const int usada = e.Insertar("categoria_insertar", {QStringLiteral("Bulones")});
        e.Insertar("categoria_insertar", {QStringLiteral("Ferretería")});
        e.Insertar("categoria_insertar", {QStringLiteral("Pinturas")});
        e.Insertar("categoria_insertar", {QStringLiteral("Limpieza")});
        e.Sql(QStringLiteral(
            "UPDATE categorias SET CatDesactivada=1 WHERE CatDescripcion<>'Limpieza'"));
        e.Producto(QStringLiteral("Tuerca"), usada);
        // A product without a category must not stop the others from being purged.
        e.Sql(QStringLiteral(
            "INSERT INTO productos (ProDescripcion, CatId) VALUES ('Suelto', NULL)"));
        std::unique_ptr<frmMantCategorias> f(frmMantCategorias::Instancia());

        Mensajes::Responder(Mensajes::Respuesta::No);
        Pulsar(f.get(), kEliminar);
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Mensajes::Mostrados()[0].texto,
                 QStringLiteral("¿Confirma que desea eliminar las Categorías desactivadas?"));
        QCOMPARE(Mensajes::Mostrados()[0].titulo, QStringLiteral("Confirme"));
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM categorias")).toInt(), 4);

        Mensajes::Limpiar();
        Mensajes::Responder(Mensajes::Respuesta::Si);
        Pulsar(f.get(), kEliminar);
        QCOMPARE(Columna(f.get(), 1),
                 (QStringList{QStringLiteral("Bulones"), QStringLiteral("Limpieza")}));
        QCOMPARE(Columna(f.get(), 2), (QStringList{QStringLiteral("Si"), QStringLiteral("No")}));
        const auto mostrados = Mensajes::Mostrados();
        QCOMPARE(mostrados.size(), 2);
        QCOMPARE(mostrados[1].titulo, QStringLiteral("Listo"));
        QCOMPARE(mostrados[1].icono, Mensajes::Icono::Informacion);
        QVERIFY(mostrados[1].texto.startsWith(QStringLiteral("Listo. Puede que tenga")));
        // Each deleted category leaves its lines, as any other deleted record.
        QStringList lineas;
        for (Recordset h = e.Sql(QStringLiteral("SELECT HisCampo, HisAnterior FROM historial "
                                                "WHERE HisTipo='Eliminación' ORDER BY HisId"));
             !h.Eof(); h.MoveNext())
            lineas << h.Texto(QStringLiteral("HisCampo")) + QStringLiteral(": ") +
                          h.Texto(QStringLiteral("HisAnterior"));
        QCOMPARE(lineas, (QStringList{"CatDescripcion: Ferretería", "CatDesactivada: Si",
                                      "CatDescripcion: Pinturas", "CatDesactivada: Si"}));
    }

    // A purge that fails is told as an error and never followed by "Listo".
    void eliminarQueFallaNoDiceListo() {
        Entorno e;
        std::unique_ptr<frmMantCategorias> f(frmMantCategorias::Instancia());
        CerrarConexion();
        Mensajes::Responder(Mensajes::Respuesta::Si);
        Pulsar(f.get(), kEliminar);
        const auto mostrados = Mensajes::Mostrados();
        QCOMPARE(mostrados.size(), 2);
        QVERIFY(mostrados[1].texto.startsWith(QStringLiteral("Error número: ")));
    }

    void nuevoVaciaYAceptaLaMarcaQueNoSeGuarda() {
        Entorno e;
        e.Insertar("categoria_insertar", {QStringLiteral("Bulones")});
        std::unique_ptr<frmMantCategorias> f(frmMantCategorias::Instancia());
        QCOMPARE(f->txtFields(1)->text(), QStringLiteral("Bulones"));

        Pulsar(f.get(), kNuevo);
        QVERIFY(f->txtFields(0)->text().isEmpty());
        QVERIFY(f->txtFields(1)->text().isEmpty());
        QVERIFY(!f->cmdMenu(kEliminar)->isEnabled());
        QVERIFY(f->chkDesactivado()->isEnabled());
        Pulsar(f.get(), kCancelar);
        QVERIFY(f->txtFields(0)->text().isEmpty());
        QVERIFY(f->txtFields(1)->text().isEmpty());
        QVERIFY(f->cmdMenu(kEliminar)->isEnabled());

        Pulsar(f.get(), kNuevo);
        Escribir(f->txtFields(1), QStringLiteral("Tornillos"));
        f->chkDesactivado()->setChecked(true);
        Pulsar(f.get(), kGuardar);
        QCOMPARE(e.Valor(QStringLiteral("SELECT CatDesactivada FROM categorias WHERE "
                                        "CatDescripcion='Tornillos'"))
                     .toInt(),
                 0);
        // The window shows the category as stored, so the unticked box tells the truth.
        QVERIFY(!f->chkDesactivado()->isChecked());
        QVERIFY(f->cmdMenu(kEliminar)->isEnabled());
    }

    void abiertaModalReemplazaLaAbiertaYVuelveAlCerrarse() {
        Entorno e;
        QPointer<frmMantCategorias> suelta = frmMantCategorias::Instancia();
        QPointer<frmMantCategorias> modal;
        QTimer::singleShot(0, [&] {
            modal = frmMantCategorias::Instancia();
            QVERIFY(modal->isModal() || modal->windowModality() == Qt::ApplicationModal);
            Pulsar(modal, kNuevo);
            Escribir(modal->txtFields(1), QStringLiteral("Nueva"));
            Pulsar(modal, kGuardar);
            Pulsar(modal, 7);
        });
        frmMantCategorias::AbrirModal(nullptr);
        QVERIFY(suelta.isNull());
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM categorias")).toInt(), 1);
        QTRY_VERIFY(modal.isNull());
    }
};

QUIMBEL_PRUEBA(PruebaMantCategorias)
#include "PruebaMantCategorias.moc"
