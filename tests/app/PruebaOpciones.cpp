#include "Entorno.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "cQueryReg.h"
#include "frmOpciones.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

QString Leer(const char* valor) {
    return cQueryReg()
        .GetReg(QString::fromLatin1(kClaveQuimbel), QString::fromLatin1(valor))
        .toString();
}

void Guardar(const char* valor, const QString& texto) {
    cQueryReg().SetReg(QString::fromLatin1(kClaveQuimbel), QString::fromLatin1(valor), texto);
}

QString Nativa(const char* ruta) {
    return QDir::toNativeSeparators(QString::fromUtf8(ruta));
}

const QString kAviso = QStringLiteral(
    "Debe salir y volver a ingresar al programa para que los cambios surtan efecto.");

} // namespace

class PruebaOpciones : public QObject {
    Q_OBJECT
private slots:
    void guardaCadaCampoSinBlancosYAvisa() {
        Entorno e(false);
        Guardar("db_backup", Nativa("/copias"));
        QPointer<frmOpciones> f = frmOpciones::Instancia();
        QVERIFY(QTest::qWaitForWindowActive(f));
        QVERIFY(f->chkRespaldoAutomatico->isChecked());
        QVERIFY(f->txtUbicacionRespaldo->isEnabled());

        f->txtUbicacion->setText(QStringLiteral("  ") + Nativa("/srv/bd.mdb") +
                                 QStringLiteral(" "));
        f->txtUbicacionRespaldo->setText(QStringLiteral(" ") + Nativa("/copias/b") +
                                         QStringLiteral("\t"));
        f->txtUbicacionLogo->setText(QStringLiteral("  ") + Nativa("/img/logo.png"));
        f->txtAvisoDias->setText(QStringLiteral(" 30 "));
        f->txtNombreEmpresa->setFocus();
        QTest::keyClicks(f->txtNombreEmpresa, QStringLiteral(" Acme "));
        // Enter passes to the next field and never closes the window.
        QTest::keyClick(f->txtNombreEmpresa, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->txtAvisoDias);
        QVERIFY(f->isVisible());

        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QCOMPARE(Leer("db_path"), Nativa("/srv/bd.mdb"));
        QCOMPARE(Leer("db_backup"), Nativa("/copias/b"));
        QCOMPARE(Leer("logo_path"), Nativa("/img/logo.png"));
        QCOMPARE(Leer("empresa"), QStringLiteral("Acme"));
        QCOMPARE(Leer("aviso_dias"), QStringLiteral("30"));
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Mensajes::UltimoTexto(), kAviso);
        QTRY_VERIFY(f.isNull());
    }

    void quitarLaCopiaGuardaCarpetaVaciaYCancelarNoEscribe() {
        Entorno e(false);
        Guardar("db_path", Nativa("/datos/bd.mdb"));
        Guardar("db_backup", Nativa("/copias"));
        QPointer<frmOpciones> f = frmOpciones::Instancia();
        f->txtNombreEmpresa->setText(QStringLiteral("No se guarda"));
        QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
        QTRY_VERIFY(f.isNull());
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QCOMPARE(Leer("empresa"), QString());

        f = frmOpciones::Instancia();
        f->chkRespaldoAutomatico->setChecked(false);
        QVERIFY(!f->txtUbicacionRespaldo->isEnabled());
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(f.isNull());
        QCOMPARE(Leer("db_backup"), QString());
        QCOMPARE(Leer("db_path"), Nativa("/datos/bd.mdb"));

        // Nothing changed: the notice about starting again is still given.
        Mensajes::Limpiar();
        f = frmOpciones::Instancia();
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QCOMPARE(Mensajes::UltimoTexto(), kAviso);
        QTRY_VERIFY(f.isNull());
    }

    void ubicacionRelativaSeRechazaYLoDemasSeGuarda() {
        Entorno e(false);
        Guardar("db_path", Nativa("/datos/bd.mdb"));
        QPointer<frmOpciones> f = frmOpciones::Instancia();
        f->txtUbicacion->setText(QStringLiteral("servidor/compartido/bd.mdb"));
        f->txtNombreEmpresa->setText(QStringLiteral("Tornillos del Sur"));
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);

        QCOMPARE(Leer("db_path"), Nativa("/datos/bd.mdb"));
        QCOMPARE(Leer("empresa"), QStringLiteral("Tornillos del Sur"));
        const auto mostrados = Mensajes::Mostrados();
        QCOMPARE(mostrados.size(), 2);
        QCOMPARE(mostrados[0].texto,
                 QStringLiteral("La ubicación de la base de datos no es correcta. \r\nDebe "
                                "comenzar con la letra de la unidad. Por ejemplo: "
                                "H:\\carpeta\\bd2000.mdb"));
        QCOMPARE(mostrados[0].titulo, QStringLiteral("Verifique"));
        QCOMPARE(mostrados[1].texto, kAviso);
        QTRY_VERIFY(f.isNull());
    }

    void selectoresLlenanSusCampos() {
        Entorno e(false);
        Guardar("logo_path", Nativa("/img/logo.png"));
        QPointer<frmOpciones> f = frmOpciones::Instancia();
        Mensajes::ResponderTexto(QStringLiteral("/otra/bd2000.mdb"));
        QTest::mouseClick(f->cmdExaminar, Qt::LeftButton);
        QCOMPARE(f->txtUbicacion->text(), Nativa("/otra/bd2000.mdb"));
        // Cancelling a file chooser keeps what the field held, not the other chooser's file.
        Mensajes::ResponderTexto(QString());
        QTest::mouseClick(f->cmdExaminarLogo, Qt::LeftButton);
        QCOMPARE(f->txtUbicacionLogo->text(), Nativa("/img/logo.png"));
        QCOMPARE(Mensajes::Mostrados().last().texto,
                 QStringLiteral("Archivos de imágen (*.gif;*.jpg;*.png;*.bmp)"));

        f->chkRespaldoAutomatico->setChecked(true);
        Mensajes::ResponderTexto(QStringLiteral("/copias"));
        QTest::mouseClick(f->cmdExaminarRespaldo, Qt::LeftButton);
        QCOMPARE(f->txtUbicacionRespaldo->text(), Nativa("/copias"));
        // The folder browser puts its answer in the field even when cancelled.
        Mensajes::ResponderTexto(QString());
        QTest::mouseClick(f->cmdExaminarRespaldo, Qt::LeftButton);
        QCOMPARE(f->txtUbicacionRespaldo->text(), QString());
        f->close();
        QTRY_VERIFY(f.isNull());
    }

    void escrituraFallidaSeInformaNombrandoElAlmacen() {
        Entorno e(false);
        // A store whose folder is a plain file can never be written, even by an administrator.
        QFile bloqueo(e.Carpeta() + QStringLiteral("/bloqueo"));
        QVERIFY(bloqueo.open(QIODevice::WriteOnly));
        bloqueo.close();
        const QString almacen = bloqueo.fileName() + QStringLiteral("/quimbel.ini");
        qputenv("QUIMBEL_SETTINGS", almacen.toUtf8());

        QPointer<frmOpciones> f = frmOpciones::Instancia();
        f->txtUbicacion->setText(Nativa("/datos/bd.mdb"));
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QVERIFY(Mensajes::UltimoTexto().contains(QDir::toNativeSeparators(almacen)));
        QVERIFY(f->isVisible());
        QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
        QTRY_VERIFY(f.isNull());
    }
};

QUIMBEL_PRUEBA(PruebaOpciones)
#include "PruebaOpciones.moc"
