#include "Entorno.h"
#include "EstadosOrden.h"
#include "Mensajes.h"
#include "ProcesoOrdenes.h"
#include "RegistroPruebas.h"

#include <QTest>

using ProcesoOrdenes::Paso;
using ProcesoOrdenes::Permiso;

class PruebaProcesoOrdenes : public QObject {
    Q_OBJECT
private slots:
    // Who may move an order to each state, and which orders the state takes, without a window.
    void derechosYAutorizacionPorEstado() {
        using namespace EstadosOrden;
        struct Caso {
            QString estado;
            int solicitar, cumplir;
            int autorizante;
            Permiso permiso;
            Paso paso; // when permitted
        };
        const Caso casos[] = {
            {kPendiente, 0, 0, 0, Permiso::Permitido, Paso::Hecho},
            {kEnTramite, 1, 0, 1, Permiso::Permitido, Paso::Hecho},
            {kEnTramite, 1, 0, 0, Permiso::Permitido, Paso::NoAutorizada},
            {kEnTramite, 0, 1, 1, Permiso::NoPuedeSolicitar, Paso::Hecho},
            {kCumplida, 0, 1, 1, Permiso::Permitido, Paso::Hecho},
            {kCumplida, 1, 1, 0, Permiso::Permitido, Paso::NoAutorizada},
            {kCumplida, 1, 0, 1, Permiso::NoPuedeCumplir, Paso::Hecho},
            {kAnulada, 0, 0, 0, Permiso::Permitido, Paso::Hecho},
        };
        Entorno e;
        int n = 0;
        for (const Caso& c : casos) {
            const QString login = QStringLiteral("usu") + QString::number(++n);
            const int usuId = e.Usuario(login, QString(), login, c.solicitar, 0, c.cumplir);
            const int ordid =
                e.Insertar("orden_insertar",
                           {QDateTime(QDate(2026, 3, 1), QTime(9, 0)), 1.0, QStringLiteral("Caja"),
                            1, QString(), QString(), QStringLiteral("Normal"), 1, 1, 1,
                            c.autorizante, QStringLiteral("korva")});
            const QByteArray donde = (c.estado + QLatin1Char(' ') + login).toUtf8();
            e.Entrar(login);

            // Signed in with blanks and another letter case, as sign-in accepts.
            const auto quien = ProcesoOrdenes::PuedePasar(
                QLatin1Char(' ') + login.toUpper() + QLatin1Char(' '), c.estado);
            QVERIFY2(quien.permiso == c.permiso, donde);
            if (quien.permiso != Permiso::Permitido)
                continue;
            QCOMPARE(quien.usuId, usuId);
            QVERIFY2(ProcesoOrdenes::PasarOrden(ordid, kPendiente, c.estado, usuId).paso == c.paso,
                     donde);
            const bool hecho = c.paso == Paso::Hecho;
            QCOMPARE(e.Valor(QStringLiteral("select OrdEstado from ordenes where OrdId=?"), {ordid})
                         .toString(),
                     hecho ? c.estado : kPendiente);
            QCOMPARE(
                e.Valor(QStringLiteral("select ProcesadoId from ordenes where OrdId=?"), {ordid})
                    .toInt(),
                hecho ? usuId : 0);
        }
        QCOMPARE(ProcesoOrdenes::PuedePasar(QStringLiteral("nadie"), kAnulada).permiso,
                 Permiso::UsuarioInexistente);
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }
};

QUIMBEL_PRUEBA(PruebaProcesoOrdenes)
#include "PruebaProcesoOrdenes.moc"
