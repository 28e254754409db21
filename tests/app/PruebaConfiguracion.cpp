#include "Configuracion.h"
#include "Entorno.h"
#include "RegistroPruebas.h"
#include "Usuario.h"
#include "cQueryReg.h"

#include <QSettings>
#include <QTest>

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
        QVERIFY(gDbPath.endsWith(QStringLiteral("bdquimbel.mdb")));
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
