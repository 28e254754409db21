#include "AyudaMant.h"
#include "Contrasena.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "Usuario.h"
#include "Usuarios.h"
#include "frmMantUsuarios.h"

#include <QCheckBox>

using namespace AyudaMant;

namespace {

QString ClaveGuardada(Entorno& e, const QString& login) {
    return e.Valor(QStringLiteral("SELECT UsuPassword FROM usuarios WHERE UsuLogin=?"), {login})
        .toString();
}

// Whether `login`'s password is `clave`, checked as sign-in checks it but leaving no history
// line: against the stored hash, or on a protected server by connecting as the person's role.
bool Entra(const QString& login, const QString& clave) {
    Usuarios::Derechos d;
    return Usuarios::LeerDerechos(login, &d) == Usuarios::Lectura::Hallado &&
           Usuarios::ConfirmarClave(d.usuId, clave) == Usuarios::Clave::Correcta;
}

} // namespace

class PruebaMantUsuarios : public QObject {
    Q_OBJECT
    // The command buttons by index.
    static constexpr int kNuevo = 0, kEditar = 1, kGuardar = 2, kActualizar = 3, kCancelar = 4;
private slots:
    void nuevoUsuarioGuardaLaClaveCodificadaYSusDerechos() {
        Entorno e;
        std::unique_ptr<frmMantUsuarios> f(frmMantUsuarios::Instancia());
        QVERIFY(Habilitados(f.get(), {kNuevo, kEditar, kActualizar, 5}));

        Pulsar(f.get(), kNuevo);
        QVERIFY(Habilitados(f.get(), {kGuardar, kActualizar, kCancelar, 5}));
        QVERIFY(!f->chkDesactivado()->isEnabled());
        // Switching "Sin contraseña" on and off must not open the flag of a user being created.
        f->chkSinClave()->click();
        f->chkSinClave()->click();
        QVERIFY(!f->chkDesactivado()->isEnabled());
        QVERIFY(!f->txtFields(2)->isReadOnly());
        // The limit of 20 counts what a person sees: an emoji or an accent typed apart is one.
        QLineEdit* login = f->txtFields(1);
        login->setText(QString(18, QLatin1Char('x')));
        login->end(false);
        login->insert(QStringLiteral("\U0001F600e\u0301\U0001F600"));
        QCOMPARE(login->text(),
                 QString(18, QLatin1Char('x')) + QStringLiteral("\U0001F600e\u0301"));
        Escribir(login, QStringLiteral(" ana "));
        Escribir(f->txtFields(2), QStringLiteral("clave1"));
        QCOMPARE(f->txtFields(2)->displayText(), QStringLiteral("******"));
        Escribir(f->txtFields(3), QStringLiteral("Ana Pérez"));
        f->Casilla(QStringLiteral("chkPuedeSolicitar"))->setChecked(false);
        f->Casilla(QStringLiteral("chkPuedeAutorizar"))->setChecked(true);
        f->Casilla(QStringLiteral("chkPuedeCumplir"))->setChecked(false);

        // "Actualizar" while entering keeps the entry.
        Pulsar(f.get(), kActualizar);
        QVERIFY(f->EnEdicion());
        QCOMPARE(f->txtFields(3)->text(), QStringLiteral("Ana Pérez"));

        Pulsar(f.get(), kGuardar);
        QVERIFY(Mensajes::Mostrados().isEmpty());
        const Recordset r = e.Sql(QStringLiteral("SELECT * FROM usuarios WHERE UsuLogin='ana'"));
        QVERIFY(Entra(QStringLiteral("ana"), QStringLiteral("clave1")));
        QVERIFY(!Entra(QStringLiteral("ana"), QStringLiteral("Clave1")));
        // A protected server's row keeps no password at all.
        if (Entorno::Protegida())
            QCOMPARE(r.Texto(QStringLiteral("UsuPassword")), QString());
        QCOMPARE(r.Campo(QStringLiteral("UsuPuedeSolicitar")).toInt(), 0);
        QCOMPARE(r.Campo(QStringLiteral("UsuPuedeAutorizar")).toInt(), 1);
        QCOMPARE(r.Campo(QStringLiteral("UsuPuedeCumplir")).toInt(), 0);
        QCOMPARE(r.Campo(QStringLiteral("UsuDesactivado")).toInt(), 0);
        QVERIFY(f->txtFields(2)->text().isEmpty());
    }

    void laClaveNoSeCodificaDosVecesYSePuedeVaciarAProposito() {
        Entorno e;
        e.Usuario(QStringLiteral("beto"), QStringLiteral("secreto"), QStringLiteral("Beto Gómez"),
                  1, 0, 0);
        std::unique_ptr<frmMantUsuarios> f(frmMantUsuarios::Instancia());
        ElegirFila(f.get(), 0); // "Beto Gómez" sorts before "Korva"
        QVERIFY(f->txtFields(2)->text().isEmpty());
        const QString primera = ClaveGuardada(e, QStringLiteral("beto"));

        for (int vez = 0; vez < 2; ++vez) {
            Pulsar(f.get(), kEditar);
            Escribir(f->txtFields(3), QStringLiteral("Beto Gómez %1").arg(vez));
            Pulsar(f.get(), kGuardar);
        }
        QCOMPARE(ClaveGuardada(e, QStringLiteral("beto")), primera);
        QVERIFY(Entra(QStringLiteral("beto"), QStringLiteral("secreto")));

        Pulsar(f.get(), kEditar);
        Escribir(f->txtFields(2), QStringLiteral("nueva"));
        Pulsar(f.get(), kGuardar);
        QVERIFY(Entra(QStringLiteral("beto"), QStringLiteral("nueva")));
        QVERIFY(!Entra(QStringLiteral("beto"), QStringLiteral("secreto")));
        Pulsar(f.get(), kEditar);
        f->chkDesactivado()->setChecked(true);
        Pulsar(f.get(), kGuardar);
        // A disabled person's role signs in no more.
        if (Entorno::Protegida())
            QVERIFY(!Entra(QStringLiteral("beto"), QStringLiteral("nueva")));
        QCOMPARE(
            e.Valor(QStringLiteral("SELECT UsuDesactivado FROM usuarios WHERE UsuLogin='beto'"))
                .toInt(),
            1);
        QCOMPARE(f->Lista().RecordCount(), 2);

        Pulsar(f.get(), kEditar);
        Escribir(f->txtFields(2), QStringLiteral("x"));
        f->chkSinClave()->click();
        QVERIFY(f->txtFields(2)->text().isEmpty());
        QVERIFY(f->txtFields(2)->isReadOnly());
        Pulsar(f.get(), kGuardar);
        if (Entorno::Protegida()) {
            // A server takes no empty password: the role could never sign in again.
            QCOMPARE(Mensajes::UltimoTexto(),
                     QStringLiteral("En el servidor cada usuario necesita una contraseña."));
            QVERIFY(f->EnEdicion());
            Pulsar(f.get(), kCancelar);
        } else {
            QVERIFY(Contrasena::Coincide(ClaveGuardada(e, QStringLiteral("beto")), QString()));
        }
        QVERIFY(!f->chkSinClave()->isChecked());
        QVERIFY(!f->chkSinClave()->isEnabled());

        // The history tells what changed, but of a password only that it changed; the two saves
        // that left it alone say nothing of it.
        Recordset h = e.Sql(QStringLiteral("SELECT HisCampo, HisAnterior, HisNuevo FROM historial "
                                           "WHERE HisTabla='usuarios' ORDER BY HisId"));
        QStringList lineas;
        for (; !h.Eof(); h.MoveNext())
            lineas << h.Texto(QStringLiteral("HisCampo")) + QLatin1Char(':') +
                          h.Texto(QStringLiteral("HisAnterior")) + QLatin1Char('>') +
                          h.Texto(QStringLiteral("HisNuevo"));
        QStringList esperadas{"UsuNombre:Beto Gómez>Beto Gómez 0",
                              "UsuNombre:Beto Gómez 0>Beto Gómez 1",
                              "UsuPassword:>contraseña cambiada", "UsuDesactivado:No>Si",
                              "UsuPassword:>contraseña cambiada"};
        if (Entorno::Protegida())
            esperadas.removeLast(); // the empty password was refused
        QCOMPARE(lineas, esperadas);
    }

    void nombreVacioNoGuardaNadaYCualquierClaveSeGuarda() {
        Entorno e;
        std::unique_ptr<frmMantUsuarios> f(frmMantUsuarios::Instancia());
        Pulsar(f.get(), kNuevo);
        Escribir(f->txtFields(1), QStringLiteral("sin"));
        Escribir(f->txtFields(3), QString());
        Pulsar(f.get(), kGuardar);
        QCOMPARE(Mensajes::UltimoTexto(), QStringLiteral("Debe ingresar el Nombre del usuario"));

        // Any character makes a password, also those the reversible form of older versions
        // could not hold; it signs in, and nothing stored gives it away.
        const QString clave = QString(QChar(0xFF)) + QChar(0x2713) + QStringLiteral("ñ");
        Escribir(f->txtFields(3), QStringLiteral("Sin Clave"));
        f->txtFields(2)->setText(clave);
        Pulsar(f.get(), kGuardar);
        QVERIFY(!f->EnEdicion());
        QVERIFY(Entra(QStringLiteral("sin"), clave));
        QVERIFY(!Entra(QStringLiteral("sin"), QStringLiteral("ñ")));
        QVERIFY(!ClaveGuardada(e, QStringLiteral("sin")).contains(QStringLiteral("ñ")));

        // A new user with nothing typed as password signs in with an empty one; on a protected
        // server, which takes none, the user is not added without one.
        Pulsar(f.get(), kNuevo);
        Escribir(f->txtFields(1), QStringLiteral("vacio"));
        Escribir(f->txtFields(3), QStringLiteral("Sin Nada"));
        Pulsar(f.get(), kGuardar);
        if (Entorno::Protegida()) {
            QCOMPARE(Mensajes::UltimoTexto(),
                     QStringLiteral("En el servidor cada usuario necesita una contraseña."));
            Pulsar(f.get(), kCancelar);
            QCOMPARE(e.Valor(QStringLiteral("SELECT count(*) FROM usuarios WHERE UsuLogin='vacio'"))
                         .toInt(),
                     0);
        } else {
            QVERIFY(Entra(QStringLiteral("vacio"), QString()));
        }
        QVERIFY(!f->EnEdicion());
        Pulsar(f.get(), kEditar);
        Pulsar(f.get(), kCancelar);
        QVERIFY(!f->EnEdicion());
    }
};

QUIMBEL_PRUEBA(PruebaMantUsuarios)
#include "PruebaMantUsuarios.moc"
