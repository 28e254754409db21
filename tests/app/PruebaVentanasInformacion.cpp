#include "Mensajes.h"
#include "Pantalla.h"
#include "Programa.h"
#include "RegistroPruebas.h"
#include "VentanasEnPantalla.h"
#include "frmAcercaDe.h"
#include "frmPresentacion.h"
#include "quimbel_version.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// PATH replaced for the lifetime of the object.
class Ruta {
public:
    explicit Ruta(const QString& carpeta) : antes_(qgetenv("PATH")) {
        qputenv("PATH", carpeta.toLocal8Bit());
    }
    ~Ruta() { qputenv("PATH", antes_); }

private:
    QByteArray antes_;
};

const QString kSinInformacion = QStringLiteral("System Information Is Unavailable At This Time");

} // namespace

class PruebaVentanasInformacion : public QObject {
    Q_OBJECT
private slots:
    void init() { Mensajes::Limpiar(); }

    void presentacionMuestraLaVersionYSeCierraConUnaTecla() {
        std::unique_ptr<frmPresentacion> f(frmPresentacion::Mostrar());
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        QCOMPARE(f->lblVersion->text(), QStringLiteral("Version " QUIMBEL_VERSION));
        QTest::keyClick(f.get(), Qt::Key_Space);
        QVERIFY(!f->isVisible());
    }

    // Too big for the screen, placed partly below it, or never placed: each opens inside the
    // available area.
    void ventanasDentroDeLaPantalla() {
        VentanasEnPantalla::Instalar();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget grande, abajo, libre;
        grande.resize(area.width() + 300, area.height() + 300);
        abajo.setGeometry(area.right() - 100, area.bottom() - 100, 400, 300);
        libre.resize(300, 200);
        for (QWidget* w : {&grande, &abajo, &libre}) {
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            QVERIFY2(area.contains(w->frameGeometry()),
                     qPrintable(QStringLiteral("%1,%2 %3x%4")
                                    .arg(w->frameGeometry().x())
                                    .arg(w->frameGeometry().y())
                                    .arg(w->frameGeometry().width())
                                    .arg(w->frameGeometry().height())));
        }
        QCOMPARE(abajo.size(), QSize(400, 300)); // moved, not shrunk
    }

    void acercaDeSinHerramientaDelSistemaLoDice() {
        QPointer<frmAcercaDe> f = frmAcercaDe::Instancia();
        QCOMPARE(f->lblVersion->text(), QStringLiteral("Versión " QUIMBEL_VERSION));
        // The icon's sizes are read only when asked for: the one shown, and one between files.
        const int lado = Pantalla::Twips(720, f);
        QCOMPARE(f->picIcon->pixmap().size(), QSize(lado, lado));
        const QImage entre = Programa::Icono().pixmap(40, 40).toImage();
        QCOMPARE(entre.size(), QSize(40, 40));
        QVERIFY(entre.pixelColor(20, 20).alpha() > 0);

        QTemporaryDir vacia;
        {
            Ruta ruta(vacia.path());
            QTest::mouseClick(f->cmdSysInfo, Qt::LeftButton);
        }
        QCOMPARE(Mensajes::UltimoTexto(), kSinInformacion);

        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(f.isNull());
    }

#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    void acercaDeArrancaLaHerramientaQueEncuentra() {
        QTemporaryDir carpeta;
        const QString marca = carpeta.filePath(QStringLiteral("arranco"));
        const QString programa = carpeta.filePath(QStringLiteral("hardinfo"));
        QFile guion(programa);
        QVERIFY(guion.open(QIODevice::WriteOnly));
        guion.write("#!/bin/sh\ntouch '" + marca.toLocal8Bit() + "'\n");
        guion.close();
        guion.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QPointer<frmAcercaDe> f = frmAcercaDe::Instancia();
        {
            Ruta ruta(carpeta.path() + QStringLiteral(":/bin:/usr/bin"));
            QTest::mouseClick(f->cmdSysInfo, Qt::LeftButton);
        }
        QTRY_VERIFY(QFile::exists(marca));
        QVERIFY(Mensajes::Mostrados().isEmpty());
        f->close();
        QTRY_VERIFY(f.isNull());
    }
#endif
};

QUIMBEL_PRUEBA(PruebaVentanasInformacion)
#include "PruebaVentanasInformacion.moc"
