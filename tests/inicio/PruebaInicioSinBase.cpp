#include "Conexiones.h"
#include "Entorno.h"
#include "Main.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "Respaldo.h"
#include "cQueryReg.h"
#include "frmLogin.h"
#include "frmOpciones.h"
#include "frmPresentacion.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class PruebaInicioSinBase : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        AlFallarConexion({});
        Mensajes::Limpiar();
    }

    void baseInexistenteAbreOpcionesModalYTermina() {
        QTemporaryDir dir;
        const QString ajustes = dir.filePath(QStringLiteral("quimbel.ini"));
        // On the server: a database that does not exist there takes the same path.
        const QString falta =
            Entorno::EnServidor()
                ? QString::fromLocal8Bit(qgetenv("QUIMBEL_PRUEBAS_PG")) +
                      QStringLiteral("/quimbel_no_existe")
                : QDir::toNativeSeparators(dir.filePath(QStringLiteral("falta.mdb")));
        const QString nueva = QDir::toNativeSeparators(dir.filePath(QStringLiteral("nueva.mdb")));
        {
            QSettings s(ajustes, QSettings::IniFormat);
            s.setValue(QStringLiteral("db_path"), falta);
        }
        qputenv("QUIMBEL_SETTINGS", ajustes.toUtf8());

        bool modal = false;
        // The sign-in window may show first: the file is opened once it is on screen.
        QTimer vigia;
        connect(&vigia, &QTimer::timeout, this, [&] {
            auto* f = qobject_cast<frmOpciones*>(QApplication::activeModalWidget());
            if (!f)
                return;
            vigia.stop();
            modal = f->isModal();
            QCOMPARE(f->txtUbicacion->text(), falta);
            f->txtUbicacion->setText(nueva);
            QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        });
        vigia.start(10);
        QCOMPARE(Main(*qApp), 0);

        QVERIFY(modal);
        // What Qt itself draws (standard buttons, print preview, file dialog, context menus)
        // is in Spanish once start-up has run.
        const auto qt = [](const char* contexto, const char* texto) {
            return QCoreApplication::translate(contexto, texto);
        };
        QCOMPARE(qt("QPrintPreviewDialog", "Print"), QStringLiteral("Imprimir"));
        QCOMPARE(qt("QFileDialog", "Look in:"), QStringLiteral("Ver en:"));
        QCOMPARE(qt("QWidgetTextControl", "&Copy"), QStringLiteral("&Copiar"));
        QCOMPARE(qt("QPlatformTheme", "OK"), QStringLiteral("Aceptar"));
        QCOMPARE(qt("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
        QCOMPARE(qt("QPlatformTheme", "&Yes"), QStringLiteral("&Sí"));
        QCOMPARE(qt("QPlatformTheme", "&No"), QStringLiteral("&No"));
        const auto mostrados = Mensajes::Mostrados();
        QCOMPARE(mostrados.size(), 2);
        QCOMPARE(mostrados[0].texto,
                 Entorno::EnServidor()
                     ? QStringLiteral("La base de datos indicada no existe en el servidor.")
                     : QStringLiteral("No se encuentra el archivo de la base de datos."));
        QVERIFY2(mostrados[0].detalle.startsWith(Entorno::EnServidor()
                                                     ? QStringLiteral("No existe la base de datos")
                                                     : QStringLiteral("No existe el archivo")),
                 qPrintable(mostrados[0].detalle));
        QCOMPARE(mostrados[1].titulo, QStringLiteral("Cambios en la configuración"));
        QCOMPARE(cQueryReg()
                     .GetReg(QString::fromLatin1(kClaveQuimbel), QStringLiteral("db_path"))
                     .toString(),
                 nueva);
        QVERIFY(!ConexionAbierta());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void baseDanadaNombraLaUltimaCopiaYNoDejaEntrar() {
        if (Entorno::EnServidor())
            QSKIP("Archivo de base de datos dañado o quitado: no se aplica a una base del "
                  "servidor.");
        Entorno e(false);
        const QString copias = e.Carpeta() + QStringLiteral("/copias");
        QVERIFY(QDir().mkpath(copias));
        QVERIFY(RespaldarBaseDeDatos(e.RutaBase(), copias));
        {
            QSettings s(e.RutaAjustes(), QSettings::IniFormat);
            s.setValue(QStringLiteral("db_path"), QDir::toNativeSeparators(e.RutaBase()));
            s.setValue(QStringLiteral("db_backup"), QDir::toNativeSeparators(copias));
        }
        e.DanarSectores();
        bool opciones = false;
        QElapsedTimer esperaEnIngreso;
        QTimer vigia;
        connect(&vigia, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            // The sign-in window shows while the file is checked, and must close by itself.
            if (auto* login = qobject_cast<frmLogin*>(modal)) {
                if (!esperaEnIngreso.isValid())
                    esperaEnIngreso.start();
                else if (esperaEnIngreso.hasExpired(10000))
                    static_cast<QDialog*>(login)->reject();
            }
            if (auto* f = qobject_cast<frmOpciones*>(modal)) {
                opciones = true;
                f->cmdCancel->click();
            }
        });
        vigia.start(10);
        QCOMPARE(Main(*qApp), 0);

        QVERIFY(opciones);
        const auto m = Mensajes::Mostrados();
        QCOMPARE(m.size(), 1);
        const QString base = QStringLiteral("«%1»").arg(QDir::toNativeSeparators(e.RutaBase()));
        const QString copia = QDir::toNativeSeparators(UltimoRespaldo(copias));
        QVERIFY(!copia.isEmpty());
        QVERIFY2(m[0].texto.startsWith(QStringLiteral("La base de datos %1 está dañada y no se "
                                                      "puede usar.\r\nLa última copia de "
                                                      "seguridad es «%2», del ")
                                           .arg(base, copia)),
                 qPrintable(m[0].texto));
        QCOMPARE(m[0].icono, Mensajes::Icono::Critico);
        QVERIFY2(
            m[0].detalle.startsWith(QStringLiteral("La base de datos %1 está dañada: ").arg(base)),
            qPrintable(m[0].detalle));
        QVERIFY(!ConexionAbierta());
    }

    void baseQueFaltaTrasLaCopiaNoQuedaTapadaPorLaPresentacion() {
        if (Entorno::EnServidor())
            QSKIP("Archivo de base de datos dañado o quitado: no se aplica a una base del "
                  "servidor.");
        Entorno e(false);
        {
            QSettings s(e.RutaAjustes(), QSettings::IniFormat);
            s.setValue(QStringLiteral("db_path"), QDir::toNativeSeparators(e.RutaBase()));
            s.setValue(QStringLiteral("db_backup"), QDir::toNativeSeparators(e.Carpeta()));
        }
        // The database goes away as the user is let in (the sign-in's own history line written
        // just before), so reopening it after the copy fails.
        QTimer::singleShot(0, this, [&] {
            auto* login = qobject_cast<frmLogin*>(QApplication::activeModalWidget());
            QVERIFY(login);
            connect(login, &QDialog::accepted, this, [&] {
                QVERIFY(QFile::rename(e.RutaBase(), e.RutaBase() + QStringLiteral(".fuera")));
            });
            login->txtLogin->setText(QStringLiteral("korva"));
            QTest::mouseClick(login->cmdOK, Qt::LeftButton);
        });
        bool presentacionVisible = true;
        QTimer vigia;
        connect(&vigia, &QTimer::timeout, this, [&] {
            auto* f = qobject_cast<frmOpciones*>(QApplication::activeModalWidget());
            if (!f)
                return;
            vigia.stop();
            presentacionVisible = false;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<frmPresentacion*>(w) && w->isVisible())
                    presentacionVisible = true;
            QTest::mouseClick(f->cmdCancel, Qt::LeftButton);
        });
        vigia.start(10);
        QCOMPARE(Main(*qApp), 0);

        QVERIFY(!presentacionVisible);
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("No se encuentra el archivo de la base de datos."));
        QVERIFY(!ConexionAbierta());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
    }
};

QUIMBEL_PRUEBA(PruebaInicioSinBase)
#include "PruebaInicioSinBase.moc"
