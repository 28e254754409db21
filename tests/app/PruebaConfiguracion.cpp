#include "Configuracion.h"
#include "Entorno.h"
#include "RegistroPruebas.h"
#include "Usuario.h"
#include "cQueryReg.h"

#include "frmOpciones.h"

#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

// Makes every write to a file fail while it lives, for root too (who ignores permissions):
// on Unix with a file size limit of zero, elsewhere with the read-only attribute.
class SoloLectura {
public:
    explicit SoloLectura(const QString& archivo) : archivo_(archivo) {
        QFile::setPermissions(archivo_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
#if defined(Q_OS_UNIX)
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &antes_);
        rlimit cero = antes_;
        cero.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &cero);
#endif
    }
    ~SoloLectura() {
#if defined(Q_OS_UNIX)
        setrlimit(RLIMIT_FSIZE, &antes_);
#endif
        QFile::setPermissions(archivo_, QFile::ReadOwner | QFile::WriteOwner);
    }

private:
    QString archivo_;
#if defined(Q_OS_UNIX)
    rlimit antes_{};
#endif
};

QByteArray Contenido(const QString& archivo) {
    QFile f(archivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Escribir(const QString& archivo, const QByteArray& texto) {
    QFile f(archivo);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(texto);
}

} // namespace

class PruebaConfiguracion : public QObject {
    Q_OBJECT

    static QString Leido(const Entorno& e, const char* nombre) {
        QSettings s(e.RutaAjustes(), QSettings::IniFormat);
        return s.value(QLatin1String(nombre)).toString();
    }

private slots:
    void almacenNuevoRecibeLosValoresPorDefecto() {
        Entorno e(false);
        CargarConfiguracion();
        QCOMPARE(gDbPath,
                 QCoreApplication::applicationDirPath() + QStringLiteral("/bdquimbel.mdb"));
        // Installed in a system folder: in the person's data folder instead.
        QCOMPARE(RutaPorDefectoBaseDeDatos(QStringLiteral("/usr/bin")),
                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                     QStringLiteral("/bdquimbel.mdb"));
        QCOMPARE(Leido(e, "db_path"), gDbPath);
        QCOMPARE(gAvisoDias, 15);
        QCOMPARE(Leido(e, "aviso_dias"), QStringLiteral("15"));
        QSettings s(e.RutaAjustes(), QSettings::IniFormat);
        for (const char* n : {"db_backup", "logo_path", "empresa"}) {
            QVERIFY2(s.contains(QLatin1String(n)), n);
            QCOMPARE(s.value(QLatin1String(n)).toString(), QString());
        }
        // A second load finds everything and changes nothing.
        const QString ruta = gDbPath;
        CargarConfiguracion();
        QCOMPARE(gDbPath, ruta);
    }

    void avisoDiasCeroOTextoPasaAQuinceYTreintaSeRespeta() {
        Entorno e(false);
        const cQueryReg reg;
        const QString clave = QString::fromLatin1(kClaveQuimbel);
        for (const char* valor : {"0", "abc", ""}) {
            QVERIFY(reg.SetReg(clave, QStringLiteral("aviso_dias"), QString::fromLatin1(valor)));
            CargarConfiguracion();
            QCOMPARE(gAvisoDias, 15);
            QCOMPARE(Leido(e, "aviso_dias"), QStringLiteral("15"));
        }
        reg.SetReg(clave, QStringLiteral("aviso_dias"), QStringLiteral("30"));
        reg.SetReg(clave, QStringLiteral("db_path"), QStringLiteral("datos/relativa.mdb"));
        reg.SetReg(clave, QStringLiteral("empresa"), QStringLiteral("Tolvanex S.A."));
        CargarConfiguracion();
        QCOMPARE(gAvisoDias, 30);
        QCOMPARE(gDbPath, QStringLiteral("datos/relativa.mdb"));
        QCOMPARE(gEmpresa, QStringLiteral("Tolvanex S.A."));
    }

    void escrituraFallidaSeInforma() {
        Entorno e(false);
        qputenv("QUIMBEL_SETTINGS", "/proc/no-se-puede/quimbel.ini");
        QVERIFY(!cQueryReg().SetReg(QString::fromLatin1(kClaveQuimbel), QStringLiteral("empresa"),
                                    QStringLiteral("x")));
        QVERIFY(!cQueryReg()
                     .GetReg(QString::fromLatin1(kClaveQuimbel), QStringLiteral("empresa"))
                     .isValid());
    }

    // Written by hand, as the README invites: commas are text, not lists, and nothing the
    // administrator wrote is replaced; only the missing value gets its default.
    void valoresEscritosAManoSeLeenComoTexto() {
        Entorno e(false);
        const QByteArray mano = "; puesto de compras\n"
                                "[General]\n"
                                "db_path=/srv/datos, compras/bdquimbel.mdb\n"
                                "empresa=Tolvanex, S.A.\n"
                                "logo_path = \"/srv/logos/Tolvanex, S.A./logo.png\"\n"
                                "aviso_dias=30\n";
        Escribir(e.RutaAjustes(), mano);
        CargarConfiguracion();
        QCOMPARE(gDbPath, QStringLiteral("/srv/datos, compras/bdquimbel.mdb"));
        QCOMPARE(gEmpresa, QStringLiteral("Tolvanex, S.A."));
        QCOMPARE(gLogoPath, QStringLiteral("/srv/logos/Tolvanex, S.A./logo.png"));
        QCOMPARE(gAvisoDias, 30);
        QCOMPARE(Contenido(e.RutaAjustes()), mano + "db_backup=\n");

        // A value saved by the program reads back as it was given.
        const cQueryReg reg;
        const QString clave = QString::fromLatin1(kClaveQuimbel);
        for (const QString& v : {QStringLiteral(" \"C:\\Datos\\\" , x"), QStringLiteral("a;b")}) {
            QVERIFY(reg.SetReg(clave, QStringLiteral("empresa"), v));
            QCOMPARE(reg.GetReg(clave, QStringLiteral("empresa")).toString(), v);
        }
    }

    // The machine-wide file is readable but belongs to root: a write fails (the start's
    // write-back of the empty "db_backup" finds it already so and writes nothing), and what the
    // store holds must still be read, now and afterwards.
    void almacenDeSoloLecturaSigueLeyendose() {
        Entorno e(false);
        Escribir(e.RutaAjustes(), "[General]\ndb_path=/srv/bdquimbel.mdb\ndb_backup=\n"
                                  "logo_path=/srv/logo.png\nempresa=Tolvanex, S.A.\n"
                                  "aviso_dias=30\n");
        const QByteArray antes = Contenido(e.RutaAjustes());
        {
            SoloLectura bloqueo(e.RutaAjustes());
            QVERIFY(!cQueryReg().SetReg(QString::fromLatin1(kClaveQuimbel),
                                        QStringLiteral("db_backup"), QStringLiteral("/srv/copia")));
            CargarConfiguracion();
            QCOMPARE(gDbPath, QStringLiteral("/srv/bdquimbel.mdb"));
            QCOMPARE(gLogoPath, QStringLiteral("/srv/logo.png"));
            QCOMPARE(gEmpresa, QStringLiteral("Tolvanex, S.A."));
            QCOMPARE(gAvisoDias, 30);
            QPointer<frmOpciones> f = frmOpciones::Instancia();
            QCOMPARE(f->txtUbicacion->text(), QStringLiteral("/srv/bdquimbel.mdb"));
            QCOMPARE(f->txtUbicacionLogo->text(), QStringLiteral("/srv/logo.png"));
            QCOMPARE(f->txtNombreEmpresa->text(), QStringLiteral("Tolvanex, S.A."));
            QCOMPARE(f->txtAvisoDias->text(), QStringLiteral("30"));
            delete f;
        }
        QCOMPARE(Contenido(e.RutaAjustes()), antes);
    }

    void codificarClave() {
        QCOMPARE(CodificarClave(QStringLiteral("abc")), QStringLiteral("bcd"));
        QCOMPARE(CodificarClave(QString()), QString());
        QCOMPARE(CodificarClave(QStringLiteral("ñ~")), QString(QChar(0xF2)) + QChar(0x7F));
        // The code page's own characters move within it: € (0x80) becomes 0x81.
        QCOMPARE(CodificarClave(QString(QChar(0x20AC))), QString(QChar(0x0081)));
        QCOMPARE(CodificarClave(QString(QChar(0x0080 + 0x19))), QString()); // not in the page
        QCOMPARE(CodificarClave(QStringLiteral("aÿ")), QString());
    }
};

QUIMBEL_PRUEBA(PruebaConfiguracion)
#include "PruebaConfiguracion.moc"
