#include "Conexiones.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "Usuario.h"
#include "frmLogin.h"
#include "frmVerificarUsuario.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSysInfo>
#include <QTest>
#include <QTimer>

namespace {

bool Ingresar(frmLogin& dlg, const QString& login, const QString& clave) {
    dlg.txtLogin->setText(login);
    dlg.txtPassword->clear();
    QTest::keyClicks(dlg.txtPassword, clave);
    [&] { QCOMPARE(dlg.txtPassword->displayText(), QString(clave.size(), QLatin1Char('*'))); }();
    QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
    return dlg.LoginSucceeded;
}

} // namespace

class PruebaLogin : public QObject {
    Q_OBJECT
private slots:
    void loginSinDistinguirMayusculasYConLaClaveExacta() {
        Entorno e;
        const int id = e.Usuario(QStringLiteral("Ñandú"), QStringLiteral("Clave"),
                                 QStringLiteral("Ana"), 1, 1, 1);
        gLogin.clear();
        frmLogin dlg;
        // On a protected server signing in is connecting as the person's role, as start-up does.
        const bool servidor = Entorno::Protegida();
        dlg.ConectarAlIngresar = servidor;
        dlg.show();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Quimbel - Login"));
        QCOMPARE(dlg.txtLogin->text(), QStringLiteral("korva"));

        QVERIFY(!Ingresar(dlg, QStringLiteral("  ñANDÚ "), QStringLiteral("clave")));
        QCOMPARE(Mensajes::UltimoTexto(), QStringLiteral("Password incorrecta!"));
        QCOMPARE(Mensajes::Mostrados().last().titulo, QStringLiteral("Login"));
        QCOMPARE(dlg.txtLogin->text(), QStringLiteral("  ñANDÚ "));
        QCOMPARE(dlg.txtPassword->selectedText(), QStringLiteral("clave"));
        QVERIFY(gLogin.isEmpty());

        // A sign-in that its history line cannot record does not happen.
        e.Rechazar("sin_historial", "BEFORE INSERT", "historial", "", "sin historial");
        QVERIFY(!Ingresar(dlg, QStringLiteral("  ñANDÚ "), QStringLiteral("Clave")));
        QVERIFY(Mensajes::UltimoTexto().contains(QStringLiteral("sin historial")));
        QVERIFY(gLogin.isEmpty());
        e.QuitarDisparador("sin_historial", "historial");

        QVERIFY(Ingresar(dlg, QStringLiteral("  ñANDÚ "), QStringLiteral("Clave")));
        QCOMPARE(gLogin, QStringLiteral("  ñANDÚ "));
        QVERIFY(!dlg.isVisible());
        // Both sign-ins are history: who, where and why it was refused, never the password. A
        // server that turns a password away opens no session to record it in: the workstation
        // hands the refusal in at the accepted sign-in, with two more lines (when, and who handed
        // it in); the accepted one is recorded under the person's login as stored.
        const QString sql = QStringLiteral("SELECT count(*) FROM historial WHERE HisTipo=? AND "
                                           "HisLogin=? AND HisTabla='usuarios' AND HisClave=? AND "
                                           "HisCampo=? AND HisNuevo=?");
        const QString tecleado = QStringLiteral("ñANDÚ");
        const QString login = servidor ? QStringLiteral("Ñandú") : tecleado;
        const QString puesto = QStringLiteral("Puesto");
        const QString equipo = QSysInfo::machineHostName();
        QCOMPARE(e.Valor(sql, {"Ingreso rechazado", tecleado, id, puesto, equipo}).toInt(), 1);
        QCOMPARE(e.Valor(sql, {"Ingreso rechazado", tecleado, id, "Motivo",
                               servidor ? "el servidor rechazó el login o la contraseña"
                                        : "contraseña incorrecta"})
                     .toInt(),
                 1);
        QCOMPARE(e.Valor(sql, {"Ingreso", login, id, puesto, equipo}).toInt(), 1);
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM historial")).toInt(),
                 servidor ? 5 : 3);
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM historial WHERE HisNuevo LIKE "
                                        "'%clave%' OR HisAnterior LIKE '%clave%'"))
                     .toInt(),
                 0);
    }

    void claveVaciaSoloConCampoVacio() {
        Entorno e;
        frmLogin dlg;
        // A server takes no empty password: korva's role has one.
        dlg.ConectarAlIngresar = Entorno::Protegida();
        dlg.show();
        QVERIFY(!Ingresar(dlg, QStringLiteral("KORVA"), QStringLiteral(" ")));
        QCOMPARE(Mensajes::UltimoTexto(), QStringLiteral("Password incorrecta!"));
        QVERIFY(Ingresar(dlg, QStringLiteral("KORVA"),
                         dlg.ConectarAlIngresar ? QStringLiteral("korva") : QString()));
        QCOMPARE(gLogin, QStringLiteral("KORVA"));
    }

    void loginConComillasNoInyectaNadaYEncuentraAlUsuario() {
        Entorno e;
        e.Usuario(QStringLiteral("o'brien"), QStringLiteral("x"), QStringLiteral("O."), 0, 0, 0);
        frmLogin dlg;
        // A protected server cannot tell an unknown person from a wrong password, and records
        // neither: it opened no session.
        const bool servidor = Entorno::Protegida();
        dlg.ConectarAlIngresar = servidor;
        dlg.show();
        for (const QString& intento : {QStringLiteral("' OR '1'='1"), QStringLiteral("korva'--"),
                                       QStringLiteral("x' OR 1=1 --")}) {
            Mensajes::Limpiar();
            QVERIFY(!Ingresar(dlg, intento, QStringLiteral("x")));
            QCOMPARE(Mensajes::Mostrados().size(), 1);
            QCOMPARE(Mensajes::UltimoTexto(), servidor ? QStringLiteral("Password incorrecta!")
                                                       : QStringLiteral("Login incorrecto!"));
            QCOMPARE(servidor ? dlg.txtPassword->selectedText() : dlg.txtLogin->selectedText(),
                     servidor ? QStringLiteral("x") : intento);
        }
        QVERIFY(Ingresar(dlg, QStringLiteral(" O'Brien"), QStringLiteral("x")));
        QCOMPARE(gLogin, QStringLiteral(" O'Brien"));
        // An unknown login is recorded as typed, under no user.
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM historial WHERE HisLogin=? AND "
                                        "HisClave=0 AND HisNuevo='login inexistente'"),
                         {QStringLiteral("x' OR 1=1 --")})
                     .toInt(),
                 servidor ? 0 : 1);
        // The office's administrator tells the sessions apart by workstation and person.
        Recordset sesion;
        if (Entorno::EnServidor()) {
            QVERIFY(AbrirRecordset(QStringLiteral("SELECT application_name, session_user FROM "
                                                  "pg_stat_activity WHERE pid = pg_backend_pid()"),
                                   sesion));
            QCOMPARE(sesion.Texto(QStringLiteral("application_name")),
                     QStringLiteral("Quimbel - %1 - O'Brien").arg(QSysInfo::machineHostName()));
        }
        if (servidor)
            QVERIFY(sesion.Texto(QStringLiteral("session_user")).startsWith("o'brien@"));
    }

    void cancelarOCerrarNoIngresa() {
        Entorno e;
        gLogin.clear();
        frmLogin dlg;
        QTimer::singleShot(0, &dlg, [&] { QTest::mouseClick(dlg.cmdCancel, Qt::LeftButton); });
        dlg.exec();
        QVERIFY(!dlg.LoginSucceeded);
        QVERIFY(!dlg.isVisible());

        frmLogin otro;
        QTimer::singleShot(0, &otro, [&] { QTest::keyClick(&otro, Qt::Key_Escape); });
        otro.exec();
        QVERIFY(!otro.LoginSucceeded);
        QVERIFY(gLogin.isEmpty());
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    void verificacionConfirmaSoloLaClaveDelAutorizanteElegido() {
        Entorno e;
        const int ana = e.Usuario(QStringLiteral("aruiz"), QStringLiteral("ana123"),
                                  QStringLiteral("Ana"), 0, 1, 0);
        gLogin = QStringLiteral("korva");
        frmVerificarUsuario::LeerAutorizante = [ana] { return QStringLiteral(" %1 ").arg(ana); };
        frmVerificarUsuario dlg;
        dlg.show();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Verificación de Usuario"));
        QCOMPARE(dlg.txtLogin->text(), QStringLiteral("aruiz"));
        QVERIFY(!dlg.txtLogin->isEnabled());

        QTest::keyClicks(dlg.txtPassword, QStringLiteral("ANA123"));
        QCOMPARE(dlg.txtPassword->displayText(), QStringLiteral("******"));
        QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
        QVERIFY(!dlg.autorizado);
        QVERIFY(dlg.isVisible());
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("La contraseña no es válida. Vuelva a intentarlo"));
        QCOMPARE(Mensajes::Mostrados().last().titulo, QStringLiteral("Autenticación"));

        dlg.txtPassword->setText(QStringLiteral("ana123"));
        QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
        QVERIFY(dlg.autorizado);
        QVERIFY(!dlg.isVisible());
        // Each confirmation is history, as a sign-in is: by whom, where, about which authoriser,
        // and why it was refused; never the password.
        const QString sql = QStringLiteral("SELECT count(*) FROM historial WHERE HisTipo=? AND "
                                           "HisLogin='korva' AND HisTabla='usuarios' AND "
                                           "HisClave=? AND HisCampo=? AND HisNuevo=?");
        QCOMPARE(e.Valor(sql, {"Confirmación rechazada", ana, "Motivo", "contraseña incorrecta"})
                     .toInt(),
                 1);
        QCOMPARE(e.Valor(sql, {"Confirmación", ana, "Autorizante", "aruiz"}).toInt(), 1);
        QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM historial WHERE lower(HisNuevo) "
                                        "LIKE '%ana123%'"))
                     .toInt(),
                 0);

        // korva has an empty stored password; on a protected server, its role's.
        frmVerificarUsuario::LeerAutorizante = [] { return QStringLiteral("1"); };
        frmVerificarUsuario vacia;
        vacia.txtPassword->setText(QStringLiteral("x"));
        QTest::mouseClick(vacia.cmdOK, Qt::LeftButton);
        QVERIFY(!vacia.autorizado);
        vacia.txtPassword->setText(Entorno::Protegida() ? QStringLiteral("korva") : QString());
        QTest::mouseClick(vacia.cmdOK, Qt::LeftButton);
        QVERIFY(vacia.autorizado);
        frmVerificarUsuario::LeerAutorizante = nullptr;
    }

    void autorizanteInexistenteOBaseCaidaNoAutorizan() {
        Entorno e;
        for (const QString& id : {QStringLiteral("99"), QString(), QStringLiteral("1 or 1=1")}) {
            frmVerificarUsuario::LeerAutorizante = [id] { return id; };
            Mensajes::Limpiar();
            frmVerificarUsuario dlg;
            QVERIFY(dlg.txtLogin->text().isEmpty());
            QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
            QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
            QVERIFY(!dlg.autorizado);
            QCOMPARE(Mensajes::Mostrados().size(), 2);
            QCOMPARE(Mensajes::UltimoTexto(),
                     QStringLiteral("La contraseña no es válida. Vuelva a intentarlo"));
        }

        frmVerificarUsuario::LeerAutorizante = [] { return QStringLiteral("1"); };
        frmVerificarUsuario dlg;
        dlg.show();
        CerrarConexion();
        Mensajes::Limpiar();
        QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
        QVERIFY(!dlg.autorizado);
        QVERIFY(dlg.isVisible());
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QVERIFY(Mensajes::UltimoTexto().startsWith(QStringLiteral("Error número: ")));
        frmVerificarUsuario::LeerAutorizante = nullptr;
    }
};

QUIMBEL_PRUEBA(PruebaLogin)
#include "PruebaLogin.moc"
