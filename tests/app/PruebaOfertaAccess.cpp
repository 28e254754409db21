#include "Configuracion.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "cQueryReg.h"
#include "frmImportarAccess.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

// The program pointed at an office's Access file offers to bring it into a database of its own
// beside it, and uses that one only once the import is done.
class PruebaOfertaAccess : public QObject {
    Q_OBJECT

private:
    static QString Binario(const char* nombre) {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/") +
               QLatin1String(nombre);
    }

    static bool Ejecutar(const char* programa, const QStringList& args) {
        QProcess p;
        p.start(Binario(programa), args);
        return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }

    static QByteArray Huella(const QString& ruta) {
        QFile f(ruta);
        return f.open(QIODevice::ReadOnly)
                   ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                   : QByteArray();
    }

    static QString DbPath() {
        return cQueryReg()
            .GetReg(QString::fromLatin1(kClaveQuimbel), QStringLiteral("db_path"))
            .toString();
    }

    // Runs the offer, closing the import window once its result is shown; gives what the
    // window showed then (empty when it never got there).
    static bool Ofrecer(QString* informe) {
        bool terminada = false;
        std::function<void()> mirar = [&] {
            auto* v = qobject_cast<frmImportarAccess*>(QApplication::activeModalWidget());
            if (v && v->cmdAceptar->isEnabled()) {
                *informe = v->txtInforme->toPlainText();
                QTest::mouseClick(v->cmdAceptar, Qt::LeftButton);
            } else if (!terminada) {
                QTimer::singleShot(10, mirar);
            }
        };
        QTimer::singleShot(0, mirar);
        const bool r = OfrecerImportacionAccess();
        terminada = true;
        return r;
    }

private slots:
    void importaYCambiaLaBaseSoloSiTerminaBien() {
        if (Entorno::EnServidor())
            QSKIP("La base nueva es un archivo junto al de Access.");
        if (QStandardPaths::findExecutable(QStringLiteral("mdb-export")).isEmpty())
            QSKIP("mdbtools no está instalado");
        Entorno e(false);
        const QString demo = e.Carpeta() + QStringLiteral("/demo.db");
        const QString acc = e.Carpeta() + QStringLiteral("/bdquimbel.mdb");
        QFile::remove(acc);
        QVERIFY(Ejecutar("quimbel-db", {QStringLiteral("crear"), QStringLiteral("--demo"), demo}));
        QVERIFY(Ejecutar("jet-prueba", {demo, acc}));
        const QByteArray huella = Huella(acc);
        const QString propuesta = e.Carpeta() + QStringLiteral("/bdquimbel-quimbel.mdb");
        // A name already taken is not proposed.
        QFile(propuesta).open(QIODevice::WriteOnly);
        const QString elegida = e.Carpeta() + QStringLiteral("/bdquimbel-quimbel-2.mdb");
        cQueryReg().SetReg(QString::fromLatin1(kClaveQuimbel), QStringLiteral("db_path"), acc);
        gDbPath = acc;
        QString informe;

        // Declined: nothing changes.
        Mensajes::Responder(Mensajes::Respuesta::No);
        QVERIFY(!Ofrecer(&informe));
        QCOMPARE(DbPath(), acc);

        // A file that turns out to be damaged: told, and the setting stays.
        const QString cortado = e.Carpeta() + QStringLiteral("/cortado.mdb");
        {
            QFile f(acc), g(cortado);
            QVERIFY(f.open(QIODevice::ReadOnly) && g.open(QIODevice::WriteOnly));
            g.write(f.read(f.size() / 2 + 10));
        }
        gDbPath = cortado;
        Mensajes::Limpiar();
        Mensajes::Responder(Mensajes::Respuesta::Si);
        Mensajes::ResponderTexto(QStringLiteral("nueva.mdb"));
        QVERIFY(!Ofrecer(&informe));
        QCOMPARE(Mensajes::Mostrados().value(1).texto,
                 QStringLiteral("Nombre de la base de datos nueva, en la carpeta %1:")
                     .arg(QDir::toNativeSeparators(e.Carpeta())));
        QVERIFY2(Mensajes::UltimoTexto().contains(QStringLiteral("dañado")),
                 qPrintable(Mensajes::UltimoTexto()));
        QVERIFY(!QFileInfo::exists(e.Carpeta() + QStringLiteral("/nueva.mdb")));
        QCOMPARE(DbPath(), acc);

        // Accepted under the proposed name: done, shown, and the setting switched.
        gDbPath = acc;
        Mensajes::Limpiar();
        Mensajes::Responder(Mensajes::Respuesta::Si);
        Mensajes::ResponderTexto(QFileInfo(elegida).fileName());
        QVERIFY(Ofrecer(&informe));
        QCOMPARE(Mensajes::RespuestasPendientes(), 0);
        QVERIFY2(informe.contains(QRegularExpression(QStringLiteral("\\nordenes +60 +60\\n"))),
                 qPrintable(informe));
        QVERIFY(informe.contains(QStringLiteral("Órdenes por estado")));
        QCOMPARE(gDbPath, QDir::toNativeSeparators(elegida));
        QCOMPARE(DbPath(), gDbPath);
        QCOMPARE(Huella(acc), huella);
        QVERIFY(Ejecutar("quimbel-db", {QStringLiteral("verificar"), elegida}));
    }
};

QUIMBEL_PRUEBA(PruebaOfertaAccess)
#include "PruebaOfertaAccess.moc"
