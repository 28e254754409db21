#include "Conexiones.h"
#include "Ejecutor.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "Motor.h"
#include "Ordenes.h"
#include "OtroPuesto.h"
#include "RegistroPruebas.h"
#include "Usuarios.h"

#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

using Ordenes::EscribirOrden;
using Ordenes::OrdenAGuardar;
using Ordenes::PrecioAGuardar;

namespace {

OrdenAGuardar Orden(const QString& comentario, int autorizante = 0) {
    OrdenAGuardar o;
    o.fecha = QDateTime(QDate(2026, 4, 6), QTime(11, 30));
    o.cantidad = 2.5;
    o.unidad = QStringLiteral("Caja");
    o.productoId = QStringLiteral("7");
    o.comentario = comentario;
    o.lugarEntrega = QStringLiteral("Depósito");
    o.prioridad = QStringLiteral("Urgente");
    o.sectorId = 2;
    o.centroCostoId = 3;
    o.solicitanteId = 4;
    o.autorizanteId = autorizante;
    o.login = QStringLiteral("korva");
    return o;
}

PrecioAGuardar Precio(const QString& contacto, double precio, bool aceptado = false) {
    return {5,
            contacto,
            precio,
            QStringLiteral("Pesos"),
            QStringLiteral("Contado"),
            QDateTime(QDate(2026, 4, 1), QTime()),
            QDateTime(QDate(2026, 5, 1), QTime()),
            aceptado};
}

QStringList Contactos(Entorno& e, int ordid) {
    QStringList r;
    Recordset rs = e.Sql(
        QStringLiteral("select PreContacto from precios where OrdId=? order by PreId"), {ordid});
    for (; !rs.Eof(); rs.MoveNext())
        r << rs.Texto(QStringLiteral("PreContacto"));
    return r;
}

int Cuenta(Entorno& e, const char* tabla) {
    return e.Valor(QStringLiteral("select count(*) from ") + QLatin1String(tabla)).toInt();
}

void Falla(Entorno& e) {
    e.Rechazar("falla", "BEFORE INSERT", "precios", "NEW.PreContacto='FALLA'", "falla");
}

} // namespace

class PruebaGuardadoOrden : public QObject {
    Q_OBJECT
private slots:
    void escribeLaOrdenYReemplazaSusPrecios() {
        Entorno e;
        // The authoriser confirms the order as it is saved, as the confirmation window has them.
        const int ana = e.Usuario(QStringLiteral("ana"), QStringLiteral("ana1"),
                                  QStringLiteral("Ana Ruiz"), 0, 1, 0);
        QCOMPARE(Usuarios::ConcederAutorizacion(ana, QStringLiteral("ana1"),
                                                QStringLiteral("korva"),
                                                {0, 2.5, 5, 20, QStringLiteral("Pesos")}),
                 Usuarios::Clave::Correcta);
        int ordid = 0;
        QVERIFY(EscribirOrden(
            ordid, Orden(QStringLiteral("primera"), ana),
            {Precio(QStringLiteral("a"), 10), Precio(QStringLiteral("b"), 20, true)}));
        QVERIFY(ordid > 0);
        // Every value lands in its own column: the stored commands take them by position.
        QCOMPARE(
            e.Valor(QStringLiteral("select OrdFecha||'|'||OrdCantidad||'|'||OrdUnidadMedida||'|'||"
                                   "ProId||'|'||OrdComentario||'|'||OrdLugarEntrega||'|'||"
                                   "OrdPrioridad||'|'||SecId||'|'||CenCosId||'|'||"
                                   "SolicitanteId||'|'||AutorizanteId||'|'||UsuLogin||'|'||"
                                   "OrdEstado from ordenes where OrdId=?"),
                    {ordid})
                .toString(),
            QStringLiteral("2026-04-06 11:30:00|2.5|Caja|7|primera|Depósito|Urgente|2|3|4|%1|"
                           "korva|Pendiente")
                .arg(ana));
        // Each engine writes numbers and dates as text its own way.
        const bool servidor = Entorno::EnServidor();
        QCOMPARE(
            e.Valor(
                 QStringLiteral("select %1 from (select EmpId||'|'||"
                                "PreContacto||'|'||PrePrecio||'|'||PreMoneda||'|'||"
                                "PreFormaPago||'|'||PreFecha||'|'||PreFecVigencia||'|'||"
                                "PreAceptado as x from precios where OrdId=? order by PreId) p")
                     .arg(QLatin1String(servidor ? "string_agg(x, ';')" : "group_concat(x, ';')")),
                 {ordid})
                .toString(),
            servidor ? QStringLiteral("5|a|10|Pesos|Contado|2026-04-01|2026-05-01|0;"
                                      "5|b|20|Pesos|Contado|2026-04-01|2026-05-01|1")
                     : QStringLiteral(
                           "5|a|10.0|Pesos|Contado|2026-04-01 00:00:00|2026-05-01 00:00:00|0;"
                           "5|b|20.0|Pesos|Contado|2026-04-01 00:00:00|2026-05-01 00:00:00|1"));

        // Saved again, the order keeps its number and author and has exactly the new quotes;
        // another order's quotes are not touched.
        int otra = 0;
        QVERIFY(
            EscribirOrden(otra, Orden(QStringLiteral("otra")), {Precio(QStringLiteral("z"), 3)}));
        OrdenAGuardar cambio = Orden(QStringLiteral("cambiada"));
        cambio.login = QStringLiteral("otro");
        const int numero = ordid;
        QVERIFY(EscribirOrden(ordid, cambio, {Precio(QStringLiteral("b2"), 2)}));
        QCOMPARE(ordid, numero);
        QCOMPARE(Contactos(e, ordid), QStringList{QStringLiteral("b2")});
        QCOMPARE(Contactos(e, otra), QStringList{QStringLiteral("z")});
        QCOMPARE(
            e.Valor(QStringLiteral("select OrdComentario||UsuLogin from ordenes where OrdId=?"),
                    {ordid})
                .toString(),
            QStringLiteral("cambiadakorva"));
        QVERIFY(EscribirOrden(ordid, cambio, {}));
        QVERIFY(Contactos(e, ordid).isEmpty());
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    void unaFallaAMitadNoDejaNada() {
        Entorno e;
        int previa = 0;
        QVERIFY(EscribirOrden(previa, Orden(QStringLiteral("previa")),
                              {Precio(QStringLiteral("p1"), 1), Precio(QStringLiteral("p2"), 2)}));
        Falla(e);

        int ordid = 0;
        QVERIFY(!EscribirOrden(ordid, Orden(QStringLiteral("nueva")),
                               {Precio(QStringLiteral("a"), 1), Precio(QStringLiteral("FALLA"), 2),
                                Precio(QStringLiteral("c"), 3)}));
        QCOMPARE(ordid, 0);
        QCOMPARE(Cuenta(e, "ordenes"), 1);
        QCOMPARE(Cuenta(e, "precios"), 2);
        QVERIFY(Mensajes::UltimoTexto().startsWith(QStringLiteral("Error número: ")));

        // An existing order keeps its fields and its old quotes.
        int misma = previa;
        QVERIFY(!EscribirOrden(misma, Orden(QStringLiteral("cambiada")),
                               {Precio(QStringLiteral("FALLA"), 2)}));
        QCOMPARE(misma, previa);
        QCOMPARE(
            e.Valor(QStringLiteral("select OrdComentario from ordenes where OrdId=?"), {previa})
                .toString(),
            QStringLiteral("previa"));
        QCOMPARE(Contactos(e, previa), (QStringList{QStringLiteral("p1"), QStringLiteral("p2")}));

        // The connection is usable afterwards: no transaction was left open.
        QVERIFY(!Motor::EnTransaccion(gConexion));
        QVERIFY(
            EscribirOrden(misma, Orden(QStringLiteral("bien")), {Precio(QStringLiteral("q"), 2)}));
        QCOMPARE(Contactos(e, previa), QStringList{QStringLiteral("q")});

        // The history is part of the save: when its line cannot be written, neither is the
        // order, new or changed.
        const int lineas = Cuenta(e, "historial");
        QVERIFY(lineas > 0);
        e.Rechazar("sin_historial", "BEFORE INSERT", "historial", nullptr, "sin historial");
        Mensajes::Limpiar();
        ordid = 0;
        QVERIFY(!EscribirOrden(ordid, Orden(QStringLiteral("nueva")), {Precio("a", 1)}));
        QVERIFY(Mensajes::UltimoTexto().startsWith(QStringLiteral("Error número: ")));
        QVERIFY(!EscribirOrden(misma, Orden(QStringLiteral("otra")), {Precio("r", 3)}));
        QCOMPARE(ordid, 0);
        QCOMPARE(Cuenta(e, "ordenes"), 1);
        QCOMPARE(Contactos(e, previa), QStringList{QStringLiteral("q")});
        QCOMPARE(Cuenta(e, "historial"), lineas);
    }

    // Another workstation in the middle of writing the same order: the save waits its while,
    // then says the database is in use, keeps nothing of its own and leaves the connection
    // usable; once the other is done, the same save goes through. On the file the person is
    // offered to try again: "Reintentar" waits once more, and goes through once the other is
    // done; "Cancelar" gives up with nothing kept.
    void unaOrdenOcupadaPorOtroPuestoEsperaYNoDejaNadaAMedias() {
        Entorno e;
        const bool servidor = Entorno::EnServidor();
        int ordid = 0;
        QVERIFY(EscribirOrden(ordid, Orden(QStringLiteral("antes")), {Precio("a", 1)}));
        const int lineas = Cuenta(e, "historial");
        // The same wait as in use, only shorter, so the test does not take ten seconds.
        Recordset espera;
        QVERIFY(AbrirRecordset(
            QLatin1String(servidor ? "SET lock_timeout = 300" : "PRAGMA busy_timeout = 300"),
            espera));
        OtroPuesto otro(e.RutaBase());
        QVERIFY(otro.Abierto());
        QVERIFY(otro.Ejecutar((servidor ? "BEGIN" : "BEGIN IMMEDIATE") +
                              QByteArray("; UPDATE ordenes SET OrdComentario = 'otro' WHERE "
                                         "OrdId = ") +
                              QByteArray::number(ordid)));
        Mensajes::Limpiar();
        if (!servidor) {
            Mensajes::Responder(Mensajes::Respuesta::Reintentar);
            Mensajes::Responder(Mensajes::Respuesta::Cancelar);
        }
        int misma = ordid;
        QVERIFY(!EscribirOrden(misma, Orden(QStringLiteral("mia")), {Precio("b", 2)}));
        QCOMPARE(Mensajes::Mostrados().size(), servidor ? 1 : 2);
        for (const Mensajes::Mostrado& m : Mensajes::Mostrados()) {
            QCOMPARE(m.botones,
                     servidor ? Mensajes::Botones::OK : Mensajes::Botones::ReintentarCancelar);
            QVERIFY2((servidor ? m.texto : m.detalle)
                         .contains(QStringLiteral("utilizada por otro usuario")),
                     qPrintable(m.texto));
        }
        QVERIFY(!Motor::EnTransaccion(gConexion));
        QVERIFY(otro.Ejecutar("ROLLBACK"));
        QCOMPARE(e.Valor(QStringLiteral("select OrdComentario from ordenes where OrdId=?"), {ordid})
                     .toString(),
                 QStringLiteral("antes"));
        QCOMPARE(Contactos(e, ordid), QStringList{QStringLiteral("a")});
        QCOMPARE(Cuenta(e, "historial"), lineas);

        Mensajes::Limpiar();
        if (!servidor) {
            // The other workstation finishes while the person reads the question.
            QVERIFY(otro.Ejecutar("BEGIN IMMEDIATE"));
            Mensajes::AlMostrar(
                [&](const Mensajes::Mostrado&) { QVERIFY(otro.Ejecutar("ROLLBACK")); });
            Mensajes::Responder(Mensajes::Respuesta::Reintentar);
        }
        QVERIFY(EscribirOrden(misma, Orden(QStringLiteral("mia")), {Precio("b", 2)}));
        QCOMPARE(Mensajes::Mostrados().size(), servidor ? 0 : 1);
        QCOMPARE(Contactos(e, ordid), QStringList{QStringLiteral("b")});
    }

    // Both workstations loaded the order; the other saves first, and this one, waiting for it,
    // sees that change and is refused: nothing of the other's is lost.
    void quienGuardaDespuesDeOtroPuestoSeRechazaSinPerderNada() {
        Entorno e;
        const bool servidor = Entorno::EnServidor();
        int ordid = 0;
        QVERIFY(EscribirOrden(ordid, Orden(QStringLiteral("antes")), {Precio("a", 1)}));
        OrdenAGuardar mia = Orden(QStringLiteral("mia"));
        mia.cargada.emplace();
        QVERIFY(Ordenes::LeerVersion(ordid, &*mia.cargada));
        OtroPuesto otro(e.RutaBase());
        QVERIFY(otro.Ejecutar((servidor ? "BEGIN" : "BEGIN IMMEDIATE") +
                              QByteArray("; UPDATE ordenes SET OrdComentario = 'otro' WHERE "
                                         "OrdId = ") +
                              QByteArray::number(ordid)));
        std::atomic<bool> confirmada{false};
        std::thread fin([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            confirmada = otro.Ejecutar("COMMIT");
        });
        int misma = ordid;
        const Ordenes::ResultadoGuardado r = EscribirOrden(misma, mia, {Precio("b", 2)});
        fin.join();
        QVERIFY(confirmada);
        QVERIFY(r.motivo == Ordenes::Guardado::CambiadaPorOtro);
        QCOMPARE(e.Valor(QStringLiteral("select OrdComentario from ordenes where OrdId=?"), {ordid})
                     .toString(),
                 QStringLiteral("otro"));
        QCOMPARE(Contactos(e, ordid), QStringList{QStringLiteral("a")});
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    void ordenBorradaDesdeOtroPuestoNoRecibePrecios() {
        Entorno e;
        int ordid = 0;
        QVERIFY(EscribirOrden(ordid, Orden(QStringLiteral("x")), {Precio(QStringLiteral("a"), 1)}));
        e.Insertar("orden_eliminar", {ordid});
        int misma = ordid;
        QVERIFY(
            !EscribirOrden(misma, Orden(QStringLiteral("x")), {Precio(QStringLiteral("a"), 1)}));
        QCOMPARE(Cuenta(e, "precios"), 0);
        QCOMPARE(Cuenta(e, "ordenes"), 0);
    }

    void elNumeroEsElDeSuPropiaInsercion() {
        Entorno e;
        // Another workstation's order lands right after ours, before our number is read.
        e.Disparador("otro_puesto", "AFTER INSERT", "ordenes", "NEW.OrdComentario='mia'",
                     "INSERT INTO ordenes (OrdComentario) VALUES ('ajena')",
                     "INSERT INTO ordenes (OrdComentario) VALUES ('ajena')");
        int ordid = 0;
        QVERIFY(
            EscribirOrden(ordid, Orden(QStringLiteral("mia")), {Precio(QStringLiteral("a"), 1)}));
        QCOMPARE(e.Valor(QStringLiteral("select OrdComentario from ordenes where OrdId=?"), {ordid})
                     .toString(),
                 QStringLiteral("mia"));
        QCOMPARE(Contactos(e, ordid), QStringList{QStringLiteral("a")});
    }

    void dosPuestosGuardandoALaVez() {
        Entorno e;
        // The second workstation: its own connection to the same file, storing orders with their
        // quotes while we save ours; every quote must end up under the order it was saved with.
        std::atomic<bool> listo{false};
        std::atomic<int> fallos{0};
        const QString ruta = e.RutaBase();
        std::thread otro([&] {
            OtroPuesto db(ruta);
            if (!db.Abierto()) {
                ++fallos;
                return;
            }
            // On the server a quote takes its own order's number; MAX(OrdId) could be another
            // workstation's order committed meanwhile, where the file's write lock rules that out.
            const QByteArray empezar = Entorno::EnServidor() ? "BEGIN" : "BEGIN IMMEDIATE";
            const QByteArray orden = Entorno::EnServidor() ? "lastval()" : "MAX(OrdId)";
            // Bounded, and with the short pause a real workstation has between saves: a loop
            // that retakes the write lock at once can starve the other connection past its wait.
            for (int i = 0; (!listo || i < 20) && i < 2000; ++i) {
                if (i > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                const QByteArray tag = "otro" + QByteArray::number(i);
                const QByteArray sql = empezar + "; INSERT INTO ordenes (OrdComentario) VALUES ('" +
                                       tag +
                                       "'); INSERT INTO precios (OrdId, PreContacto) SELECT " +
                                       orden + ", '" + tag + "' FROM ordenes LIMIT 1; COMMIT;";
                if (!db.Ejecutar(sql)) {
                    ++fallos;
                    db.Ejecutar("ROLLBACK");
                }
            }
        });
        // Stops the other workstation also when a check below fails half-way.
        struct Parar {
            std::atomic<bool>& listo;
            std::thread& hilo;
            ~Parar() {
                listo = true;
                if (hilo.joinable())
                    hilo.join();
            }
        } parar{listo, otro};
        QList<int> mias;
        for (int i = 0; i < 20; ++i) {
            int ordid = 0;
            const QString tag = QStringLiteral("mia%1").arg(i);
            QVERIFY(EscribirOrden(ordid, Orden(tag), {Precio(tag, 1), Precio(tag, 2)}));
            mias << ordid;
        }
        listo = true;
        otro.join();
        QCOMPARE(fallos.load(), 0);
        for (int i = 0; i < mias.size(); ++i)
            QCOMPARE(Contactos(e, mias[i]), QStringList(2, QStringLiteral("mia%1").arg(i)));
        QCOMPARE(e.Valor(QStringLiteral("select count(*) from precios p join ordenes o on "
                                        "o.OrdId=p.OrdId where o.OrdComentario<>p.PreContacto"))
                     .toInt(),
                 0);
        QVERIFY(Cuenta(e, "ordenes") >= 40);
    }
};

QUIMBEL_PRUEBA(PruebaGuardadoOrden)
#include "PruebaGuardadoOrden.moc"
