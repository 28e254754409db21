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

const QString kClave = QString::fromLatin1(kClaveQuimbel);

QString Leer(const QString& valor) {
    return cQueryReg().GetReg(kClave, valor).toString();
}

void Guardar(const QString& valor, const QString& texto) {
    QVERIFY(cQueryReg().SetReg(kClave, valor, texto));
}

QString Nativa(const char* ruta) {
    return QDir::toNativeSeparators(QString::fromUtf8(ruta));
}

const QString kAviso = QStringLiteral(
    "Debe salir y volver a ingresar al programa para que los cambios surtan efecto.");

bool SeMostro(const QString& texto) {
    for (const Mensajes::Mostrado& m : Mensajes::Mostrados())
        if (m.texto == texto)
            return true;
    return false;
}

} // namespace

class PruebaOpciones : public QObject {
    Q_OBJECT
private slots:
    void cargaLosAjustesYGuardaCadaCampoSinBlancos() {
        Entorno e(false);
        Guardar(QStringLiteral("db_path"), Nativa("/datos/bdquimbel.mdb"));
        Guardar(QStringLiteral("db_backup"), Nativa("/copias"));
        Guardar(QStringLiteral("empresa"), QStringLiteral("Acme"));
        Guardar(QStringLiteral("aviso_dias"), QStringLiteral("15"));

        QPointer<frmOpciones> f = frmOpciones::Instancia();
        QCOMPARE(frmOpciones::Instancia(), f.data());
        QVERIFY(QTest::qWaitForWindowActive(f));
        QCOMPARE(f->txtUbicacion->text(), Nativa("/datos/bdquimbel.mdb"));
        QVERIFY(f->chkRespaldoAutomatico->isChecked());
        QVERIFY(f->txtUbicacionRespaldo->isEnabled());
        QVERIFY(f->cmdExaminarRespaldo->isEnabled());
        QCOMPARE(f->txtUbicacionRespaldo->text(), Nativa("/copias"));
        QCOMPARE(f->txtNombreEmpresa->text(), QStringLiteral("Acme"));

        f->txtUbicacion->setText(QStringLiteral("  ") + Nativa("/srv/quimbel/bd.mdb") +
                                 QStringLiteral("  "));
        f->txtUbicacionRespaldo->setText(QStringLiteral(" ") + Nativa("/copias/diarias") +
                                         QStringLiteral("\t"));
        f->txtUbicacionLogo->setText(QStringLiteral("  ") + Nativa("/img/logo.png"));
        f->txtAvisoDias->setText(QStringLiteral(" 30 "));
        f->txtNombreEmpresa->setFocus();
        QTest::keyClicks(f->txtNombreEmpresa, QStringLiteral(" Ferreteria Sur "));
        // Enter passes to the next field and never closes the window.
        QTest::keyClick(f->txtNombreEmpresa, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f->txtAvisoDias);
        QVERIFY(f->isVisible());
        QVERIFY(Mensajes::Mostrados().isEmpty());

        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QCOMPARE(Leer(QStringLiteral("db_path")), Nativa("/srv/quimbel/bd.mdb"));
        QCOMPARE(Leer(QStringLiteral("db_backup")), Nativa("/copias/diarias"));
        QCOMPARE(Leer(QStringLiteral("logo_path")), Nativa("/img/logo.png"));
        QCOMPARE(Leer(QStringLiteral("empresa")), QStringLiteral("Acme Ferreteria Sur"));
        QCOMPARE(Leer(QStringLiteral("aviso_dias")), QStringLiteral("30"));
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        const Mensajes::Mostrado m = Mensajes::Mostrados().first();
        QCOMPARE(m.texto, kAviso);
        QCOMPARE(m.titulo, QStringLiteral("Cambios en la configuración"));
        QCOMPARE(m.icono, Mensajes::Icono::Informacion);
        QTRY_VERIFY(f.isNull());
    }

    void quitarLaCopiaGuardaCarpetaVaciaYCancelarNoEscribe() {
        Entorno e(false);
        Guardar(QStringLiteral("db_path"), Nativa("/datos/bdquimbel.mdb"));
        Guardar(QStringLiteral("db_backup"), Nativa("/copias"));

        QPointer<frmOpciones> f = frmOpciones::Instancia();
        f->txtNombreEmpresa->setText(QStringLiteral("No se guarda"));
        QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
        QTRY_VERIFY(f.isNull());
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QCOMPARE(Leer(QStringLiteral("empresa")), QString());

        f = frmOpciones::Instancia();
        f->chkRespaldoAutomatico->setChecked(false);
        QCOMPARE(f->txtUbicacionRespaldo->text(), QString());
        QVERIFY(!f->txtUbicacionRespaldo->isEnabled());
        QVERIFY(!f->cmdExaminarRespaldo->isEnabled());
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(f.isNull());
        QCOMPARE(Leer(QStringLiteral("db_backup")), QString());
        QCOMPARE(Leer(QStringLiteral("db_path")), Nativa("/datos/bdquimbel.mdb"));

        // Nothing changed: the notice about starting again is still given.
        Mensajes::Limpiar();
        f = frmOpciones::Instancia();
        QVERIFY(!f->chkRespaldoAutomatico->isChecked());
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QCOMPARE(Mensajes::UltimoTexto(), kAviso);
        QTRY_VERIFY(f.isNull());
    }

    void ubicacionRelativaSeRechazaYLoDemasSeGuarda() {
        Entorno e(false);
        Guardar(QStringLiteral("db_path"), Nativa("/datos/bdquimbel.mdb"));
        QPointer<frmOpciones> f = frmOpciones::Instancia();
        f->txtUbicacion->setText(QStringLiteral("servidor/compartido/bd.mdb"));
        f->txtNombreEmpresa->setText(QStringLiteral("Tornillos del Sur"));
        f->txtAvisoDias->setText(QStringLiteral("7"));
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);

        QCOMPARE(Leer(QStringLiteral("db_path")), Nativa("/datos/bdquimbel.mdb"));
        QCOMPARE(Leer(QStringLiteral("empresa")), QStringLiteral("Tornillos del Sur"));
        QCOMPARE(Leer(QStringLiteral("aviso_dias")), QStringLiteral("7"));
        const auto mostrados = Mensajes::Mostrados();
        QCOMPARE(mostrados.size(), 2);
        QCOMPARE(mostrados[0].texto,
                 QStringLiteral("La ubicación de la base de datos no es correcta. \r\nDebe "
                                "comenzar con la letra de la unidad. Por ejemplo: "
                                "H:\\carpeta\\bd2000.mdb"));
        QCOMPARE(mostrados[0].titulo, QStringLiteral("Verifique"));
        QCOMPARE(mostrados[0].icono, Mensajes::Icono::Informacion);
        QCOMPARE(mostrados[1].texto, kAviso);
        QTRY_VERIFY(f.isNull());

        QVERIFY(!UbicacionBaseValida(QString()));
        QVERIFY(!UbicacionBaseValida(QStringLiteral("bd.mdb")));
        QVERIFY(UbicacionBaseValida(QDir::rootPath() + QStringLiteral("bd.mdb")));
#ifdef Q_OS_WIN
        QVERIFY(UbicacionBaseValida(QStringLiteral("H:\\carpeta\\bd2000.mdb")));
#endif
    }

    void selectoresLlenanSusCampos() {
        Entorno e(false);
        Guardar(QStringLiteral("db_path"), Nativa("/datos/bdquimbel.mdb"));
        Guardar(QStringLiteral("logo_path"), Nativa("/img/logo.png"));
        QPointer<frmOpciones> f = frmOpciones::Instancia();

        Mensajes::ResponderTexto(QStringLiteral("/otra/bd2000.mdb"));
        QTest::mouseClick(f->cmdExaminar, Qt::LeftButton);
        QCOMPARE(f->txtUbicacion->text(), Nativa("/otra/bd2000.mdb"));
        Mensajes::Mostrado m = Mensajes::Mostrados().last();
        QCOMPARE(m.tipo, Mensajes::Tipo::AbrirArchivo);
        QCOMPARE(m.titulo, QStringLiteral("Seleccione la ubicación de la Base de Datos"));
        QCOMPARE(m.texto, QStringLiteral("Bases de Datos de Microsoft Access (*.mdb)"));

        // Cancelling a file chooser keeps what the field held, not the other chooser's file.
        Mensajes::ResponderTexto(QString());
        QTest::mouseClick(f->cmdExaminarLogo, Qt::LeftButton);
        QCOMPARE(f->txtUbicacionLogo->text(), Nativa("/img/logo.png"));
        m = Mensajes::Mostrados().last();
        QCOMPARE(m.titulo, QStringLiteral("Seleccione la ubicación del logo de su empresa"));
        Mensajes::ResponderTexto(QStringLiteral("/img/nuevo.bmp"));
        QTest::mouseClick(f->cmdExaminarLogo, Qt::LeftButton);
        QCOMPARE(f->txtUbicacionLogo->text(), Nativa("/img/nuevo.bmp"));

        f->chkRespaldoAutomatico->setChecked(true);
        Mensajes::ResponderTexto(QStringLiteral("/copias"));
        QTest::mouseClick(f->cmdExaminarRespaldo, Qt::LeftButton);
        QCOMPARE(f->txtUbicacionRespaldo->text(), Nativa("/copias"));
        m = Mensajes::Mostrados().last();
        QCOMPARE(m.tipo, Mensajes::Tipo::Carpeta);
        QCOMPARE(m.titulo, QStringLiteral("Seleccione la carpeta destino"));
        // The folder browser puts its answer in the field even when cancelled.
        Mensajes::ResponderTexto(QString());
        QTest::mouseClick(f->cmdExaminarRespaldo, Qt::LeftButton);
        QCOMPARE(f->txtUbicacionRespaldo->text(), QString());
        QCOMPARE(Mensajes::RespuestasPendientes(), 0);
        f->close();
        QTRY_VERIFY(f.isNull());
    }

    void escrituraFallidaSeInformaNombrandoElAlmacen() {
        Entorno e(false);
        // A store whose folder is a plain file can never be written, even by an administrator.
        const QString bloqueo = e.Carpeta() + QStringLiteral("/bloqueo");
        QFile archivo(bloqueo);
        QVERIFY(archivo.open(QIODevice::WriteOnly));
        archivo.close();
        const QString almacen = bloqueo + QStringLiteral("/quimbel.ini");
        qputenv("QUIMBEL_SETTINGS", almacen.toUtf8());

        QPointer<frmOpciones> f = frmOpciones::Instancia();
        f->txtUbicacion->setText(Nativa("/datos/bd.mdb"));
        f->txtNombreEmpresa->setText(QStringLiteral("Acme"));
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);

        QVERIFY(!SeMostro(kAviso));
        const Mensajes::Mostrado m = Mensajes::Mostrados().last();
        QVERIFY2(m.texto.contains(QDir::toNativeSeparators(almacen)), qPrintable(m.texto));
        QCOMPARE(m.icono, Mensajes::Icono::Exclamacion);
        QVERIFY(f->isVisible());
        QCOMPARE(f->txtNombreEmpresa->text(), QStringLiteral("Acme"));
        QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
        QTRY_VERIFY(f.isNull());
    }
};

QUIMBEL_PRUEBA(PruebaOpciones)
#include "PruebaOpciones.moc"
