#include "Conexiones.h"
#include "Configuracion.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "ModeloOrdenes.h"
#include "OtroPuesto.h"
#include "Pantalla.h"
#include "RegistroPruebas.h"
#include "Reloj.h"
#include "Usuario.h"
#include "frmOrden.h"
#include "frmPrincipal.h"

#include <QAccessible>
#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QHeaderView>
#include <QProgressBar>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>
#include <QUrl>

namespace {

const QDate kHoyPrincipal(2026, 3, 20);

// The orders of a test, with one product, sector and cost centre they all share.
struct OrdenesDePrueba {
    Entorno& e;
    int producto;

    explicit OrdenesDePrueba(Entorno& entorno,
                             const QString& descripcion = QStringLiteral("Tornillo"))
        : e(entorno), producto(entorno.Producto(descripcion)) {
        e.Insertar("sector_insertar", {QStringLiteral("Compras")});
        e.Insertar("centrodecosto_insertar", {QStringLiteral("Planta")});
    }

    int Nueva(const QDateTime& fecha, int autorizante = 0, int prod = 0) {
        return e.Insertar("orden_insertar",
                          {fecha, 2.5, QStringLiteral("Caja"), prod ? prod : producto, QString(),
                           QString(), QStringLiteral("Normal"), 1, 1, 1, autorizante,
                           QStringLiteral("korva")});
    }
    int Nueva(int diasAtras = 0) { return Nueva(kHoyPrincipal.addDays(-diasAtras).startOfDay()); }

    void Precio(int orden, double precio, const QString& moneda, bool aceptado = true) {
        e.Insertar("precio_Insertar", {orden, 1, QString(), precio, moneda, QString(),
                                       kHoyPrincipal, kHoyPrincipal, aceptado ? 1 : 0});
    }

    void Estado(int orden, const QString& estado) {
        e.Sql(QStringLiteral("update ordenes set OrdEstado=? where OrdId=?"), {estado, orden});
    }

    void Muchas(int n) {
        e.Sql(QStringLiteral(
                  "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE i<?) "
                  "INSERT INTO ordenes (OrdFecha, OrdCantidad, ProId, SecId, CenCosId) "
                  "SELECT '2026-03-20 00:00:00', i, ?, 1, 1 FROM k"),
              {n, producto});
    }
};

QString Celda(frmPrincipal* w, int fila, int col, int rol = Qt::DisplayRole) {
    return w->Modelo()->data(w->Modelo()->index(fila, col), rol).toString();
}

// What a screen reader says of a cell besides its text.
QString Descripcion(frmPrincipal* w, int fila, int col) {
    QAccessibleInterface* celda =
        QAccessible::queryAccessibleInterface(w->grdLista)->tableInterface()->cellAt(fila, col);
    return celda ? celda->text(QAccessible::Description) : QStringLiteral("(sin celda)");
}

QColor Color(frmPrincipal* w, int fila, int col) {
    return w->Modelo()->data(w->Modelo()->index(fila, col), Qt::ForegroundRole).value<QColor>();
}

void MarcarFila(frmPrincipal* w, int fila) {
    QTreeView* g = w->grdLista;
    const QModelIndex i = w->Modelo()->index(fila, ModeloOrdenes::Marca);
    g->setCurrentIndex(i);
    QTest::keyClick(g, Qt::Key_Space);
}

void Boton(frmPrincipal* w, const char* key) {
    w->findChild<QAction*>(QLatin1String(key))->trigger();
}

} // namespace

class ReceptorUrl : public QObject {
    Q_OBJECT
public:
    QUrl url;
public slots:
    void abrir(const QUrl& u) { url = u; }
};

class PruebaPrincipal : public QObject {
    Q_OBJECT
private slots:
    void init() {
        Reloj::Fijar(QDateTime(kHoyPrincipal, QTime(9, 30)));
        gAvisoDias = 15;
    }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* principal = qobject_cast<frmPrincipal*>(w)) {
                delete principal;
                break;
            }
        Reloj::Fijar(QDateTime());
    }

    void listaConColumnasFormatoYColores() {
        Entorno e;
        OrdenesDePrueba o(e);
        const int quince = o.Nueva(15);
        o.Precio(quince, 0.1, QStringLiteral("Pesos"), false);
        o.Precio(quince, 1234.5, QStringLiteral("Pesos"));
        // A second accepted quote neither adds a row nor takes the first one's place.
        o.Precio(quince, 99, QStringLiteral("Dólares"));
        const int dieciseis =
            o.Nueva(kHoyPrincipal.addDays(-16).startOfDay().addSecs(10 * 3600 + 1800), 1);
        const int tramite = o.Nueva(40);
        o.Estado(tramite, QStringLiteral("En trámite"));
        const int autorizada = o.Nueva(3);
        e.Sql(QStringLiteral("update ordenes set AutorizanteId=1 where OrdId=?"), {autorizada});

        frmPrincipal* w = frmPrincipal::Instancia();
        QCOMPARE(w->windowTitle(), QStringLiteral("Quimbel - Menú Principal"));
        QCOMPARE(w->cboEstado->currentText(), QStringLiteral("Pendiente"));
        ModeloOrdenes* m = w->Modelo();
        QCOMPARE(m->columnCount(), 8);
        const QStringList titulos{"",        "Fecha",  "Cant.",          "Medida", "Descripción",
                                  "Importe", "Sector", "Centro de Costo"};
        for (int c = 0; c < 8; ++c)
            QCOMPARE(m->headerData(c, Qt::Horizontal).toString(), titulos[c]);
        QCOMPARE(w->grdLista->columnWidth(ModeloOrdenes::Descripcion), Pantalla::Twips(1800, w));

        QCOMPARE(m->rowCount(), 3);
        QCOMPARE(m->Clave(0), QStringLiteral("A%1").arg(quince));
        QCOMPARE(m->Clave(1), QStringLiteral("A%1").arg(dieciseis));
        QCOMPARE(m->Clave(2), QStringLiteral("A%1").arg(autorizada));
        QCOMPARE(Celda(w, 0, ModeloOrdenes::Fecha),
                 QLocale().toString(kHoyPrincipal.addDays(-15), QLocale::ShortFormat));
        QVERIFY(Celda(w, 1, ModeloOrdenes::Fecha).endsWith(QStringLiteral(" 10:30:00")));
        QCOMPARE(Celda(w, 0, ModeloOrdenes::Cantidad), QStringLiteral("2,5"));
        QCOMPARE(Celda(w, 0, ModeloOrdenes::Medida), QStringLiteral("Caja"));
        QCOMPARE(Celda(w, 0, ModeloOrdenes::Descripcion), QStringLiteral("Tornillo"));
        QCOMPARE(Celda(w, 0, ModeloOrdenes::Importe), QStringLiteral("1234,5"));
        QCOMPARE(Celda(w, 1, ModeloOrdenes::Importe), QStringLiteral("0"));
        QCOMPARE(Celda(w, 0, ModeloOrdenes::Sector), QStringLiteral("Compras"));
        QCOMPARE(Celda(w, 0, ModeloOrdenes::CentroDeCosto), QStringLiteral("Planta"));
        QCOMPARE(
            w->Modelo()->data(m->index(0, ModeloOrdenes::Importe), Qt::TextAlignmentRole).toInt() &
                Qt::AlignRight,
            int(Qt::AlignRight));

        // 15 days: not yet red; 16 days: red date over the blue of an authorised order.
        QVERIFY(!Color(w, 0, ModeloOrdenes::Fecha).isValid());
        QCOMPARE(Color(w, 1, ModeloOrdenes::Fecha), QColor(255, 0, 0));
        QCOMPARE(Color(w, 1, ModeloOrdenes::Descripcion), QColor(0, 0, 255));
        QCOMPARE(Color(w, 2, ModeloOrdenes::Fecha), QColor(0, 0, 255));
        QCOMPARE(Color(w, 2, ModeloOrdenes::CentroDeCosto), QColor(0, 0, 255));
        // The same said in words, for those who cannot see the colours.
        QCOMPARE(Descripcion(w, 0, ModeloOrdenes::Fecha), QString());
        QCOMPARE(Descripcion(w, 1, ModeloOrdenes::Fecha),
                 QStringLiteral("Autorizada, vencida hace 1 día"));
        QCOMPARE(Descripcion(w, 1, ModeloOrdenes::Descripcion), QStringLiteral("Autorizada"));
        QCOMPARE(Descripcion(w, 2, ModeloOrdenes::CentroDeCosto), QStringLiteral("Autorizada"));
        QCOMPARE(Celda(w, 1, ModeloOrdenes::Fecha, Qt::ToolTipRole),
                 QStringLiteral("Autorizada, vencida hace 1 día"));
        QCOMPARE(Celda(w, 0, ModeloOrdenes::Descripcion, Qt::ToolTipRole), QString());
        QVERIFY(m->data(m->index(1, ModeloOrdenes::Fecha), Qt::FontRole).value<QFont>().bold());
        QVERIFY(!m->data(m->index(2, ModeloOrdenes::Fecha), Qt::FontRole).value<QFont>().bold());
        gAvisoDias = 10;
        w->CargarLista(QStringLiteral("1"));
        QCOMPARE(Descripcion(w, 1, ModeloOrdenes::Fecha),
                 QStringLiteral("Autorizada, vencida hace 6 días"));
        QCOMPARE(Descripcion(w, 0, ModeloOrdenes::Fecha), QStringLiteral("Vencida hace 5 días"));

        w->cboEstado->setCurrentIndex(1);
        QCOMPARE(m->rowCount(), 1);
        QCOMPARE(m->Id(0), tramite);
        QVERIFY(!Color(w, 0, ModeloOrdenes::Fecha).isValid());
        QCOMPARE(Descripcion(w, 0, ModeloOrdenes::Fecha), QString());

        w->cboEstado->setCurrentIndex(3);
        QCOMPARE(m->rowCount(), 0);
        w->grdLista_DblClick();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("No hay Ordenes de Compra para seleccionar."));
    }

    void dobleClicAbreLaFilaResaltadaYNuevaUnaOrdenVacia() {
        Entorno e;
        OrdenesDePrueba o(e);
        const QList<int> ids{o.Nueva(), o.Nueva(), o.Nueva()};
        frmPrincipal* w = frmPrincipal::Instancia();
        w->show();
        MarcarFila(w, 0);
        const QRect r = w->grdLista->visualRect(w->Modelo()->index(2, ModeloOrdenes::Descripcion));
        QTest::mouseClick(w->grdLista->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(w->grdLista->viewport(), Qt::LeftButton, {}, r.center());
        QVERIFY(frmOrden::Abierta());
        QVERIFY(!frmOrden::Instancia()->agregando);
        QCOMPARE(frmOrden::Instancia()->ordid, ids[2]);
        frmOrden::Instancia()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        Boton(w, "nueva");
        QVERIFY(frmOrden::Abierta());
        QVERIFY(frmOrden::Instancia()->agregando);
        frmOrden::Instancia()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void barraDeProgresoSoloDesdeCientoUnaFilas() {
        Entorno e;
        OrdenesDePrueba o(e);
        o.Muchas(100);
        frmPrincipal* w = frmPrincipal::Instancia();
        int vistaConBarra = 0;
        connect(w->pbProgreso, &QProgressBar::valueChanged, w,
                [&] { vistaConBarra += !w->pbProgreso->isHidden(); });
        w->CargarLista(QStringLiteral("1"));
        QCOMPARE(w->Modelo()->rowCount(), 100);
        QCOMPARE(vistaConBarra, 0);

        o.Nueva();
        w->CargarLista(QStringLiteral("1"));
        QCOMPARE(w->Modelo()->rowCount(), 101);
        QVERIFY(vistaConBarra > 0);
        QCOMPARE(w->pbProgreso->maximum(), 101);
        QCOMPARE(w->pbProgreso->value(), 101);
        QVERIFY(w->pbProgreso->isHidden());
    }

    void columnasSeEnsanchanHastaMostrarFechasEImportesEnteros() {
        Entorno e;
        OrdenesDePrueba o(e,
                          QStringLiteral("Guantes de nitrilo descartables, talle mediano, caja por "
                                         "cien unidades, color azul"));
        const int conHora = o.Nueva(kHoyPrincipal.startOfDay().addSecs(13 * 3600 + 45 * 60 + 10));
        o.Precio(conHora, 1, QStringLiteral("Pesos"));
        o.Muchas(1200);
        const int ultima = o.Nueva();
        o.Precio(ultima, 123456789.25, QStringLiteral("Pesos"));
        frmPrincipal* w = frmPrincipal::Instancia();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QTreeView* g = w->grdLista;
        const QFontMetrics fm(g->font());
        auto entera = [&](int fila, int col) {
            return fm.horizontalAdvance(Celda(w, fila, col)) < g->columnWidth(col);
        };

        QVERIFY(Celda(w, 0, ModeloOrdenes::Fecha).endsWith(QStringLiteral("13:45:10")));
        QVERIFY(entera(0, ModeloOrdenes::Fecha));
        // A long description is cut at a sensible width; a short column keeps its own.
        QCOMPARE(g->columnWidth(ModeloOrdenes::Descripcion), Pantalla::Twips(4500, w));
        QCOMPARE(g->columnWidth(ModeloOrdenes::Sector), Pantalla::Twips(1500, w));

        int fila = w->Modelo()->rowCount() - 1;
        while (w->Modelo()->Id(fila) != ultima)
            --fila;
        QVERIFY(fila >= 1000); // beyond the rows measured when the list was filled
        g->scrollToBottom();
        QVERIFY(entera(fila, ModeloOrdenes::Importe));
        // Columns only widen: a refill keeps the widths.
        const int fecha = g->columnWidth(ModeloOrdenes::Fecha);
        w->cboEstado->setCurrentIndex(1);
        QCOMPARE(g->columnWidth(ModeloOrdenes::Fecha), fecha);

        // Destroyed while scrolled: the list still signals as the window comes apart, and nothing
        // of the window may run then (the sanitized build stops at such a call).
        w->cboEstado->setCurrentIndex(0);
        g->scrollToBottom();
        QVERIFY(g->verticalScrollBar()->value() > 0);
        delete w;
    }

    void administradoresHabilitanUsuariosYOpciones() {
        Entorno e;
        for (const char* login : {"korva", "ZeLTi", "mlopez", "korva "}) {
            gLogin = QLatin1String(login);
            frmPrincipal* w = frmPrincipal::Instancia();
            const bool admin = gLogin.trimmed() == gLogin && gLogin != QLatin1String("mlopez");
            QCOMPARE(w->mnuHerramientasMantUsuarios->isEnabled(), admin);
            QCOMPARE(w->mnuHerramientasOpciones->isEnabled(), admin);
            QCOMPARE(w->mnuHerramientasAuditoria->isEnabled(), admin);
            QVERIFY(w->mnuHerramientasMantProductos->isEnabled());
            delete w;
        }
    }

    void eliminarPreguntaUnaVezYBorraSoloLasMarcadas() {
        Entorno e;
        frmPrincipal* w = frmPrincipal::Instancia();
        Boton(w, "eliminar");
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("No hay Ordenes de Compra para seleccionar."));

        OrdenesDePrueba o(e);
        QList<int> ids;
        for (int i = 0; i < 4; ++i)
            ids << o.Nueva(i);
        o.Precio(ids[0], 5, QStringLiteral("Pesos"));
        w->CargarLista(QStringLiteral("1"));
        Mensajes::Limpiar();
        Boton(w, "eliminar");
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("No ha seleccionado ninguna Orden de Compra."));
        QCOMPARE(Mensajes::Mostrados().last().titulo, QStringLiteral("Verifique"));

        MarcarFila(w, 0);
        MarcarFila(w, 2);
        MarcarFila(w, 3);
        QCOMPARE(w->IdsMarcados(), (QStringList{QString::number(ids[0]), QString::number(ids[2]),
                                                QString::number(ids[3])}));
        Mensajes::Limpiar();
        Mensajes::Responder(Mensajes::Respuesta::No);
        Boton(w, "eliminar");
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(e.Valor(QStringLiteral("select count(*) from ordenes")).toInt(), 4);
        QCOMPARE(w->IdsMarcados().size(), 3);

        // Another workstation changes a ticked order after the list was shown: that one is
        // kept and named, with who changed it; the others go.
        OtroPuesto otro(e.RutaBase());
        const QByteArray cambiada = QByteArray::number(ids[2]);
        QVERIFY(otro.Ejecutar("UPDATE ordenes SET OrdComentario = 'urgente' WHERE OrdId = " +
                              cambiada));
        QVERIFY(otro.AnotarCambio("ordenes", cambiada, "OrdComentario", "", "urgente", cambiada));
        Mensajes::Limpiar();
        Mensajes::Responder(Mensajes::Respuesta::Si);
        Boton(w, "eliminar");
        QCOMPARE(Mensajes::Mostrados().size(), 2);
        QCOMPARE(Mensajes::Mostrados().first().titulo, QStringLiteral("Eliminar"));
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("Otro puesto modificó estas Ordenes de Compra desde que se mostró "
                                "la lista; no se eliminaron:\nOrden Numero: %1, modificada por "
                                "beto (02/03/2026 10:30)")
                     .arg(ids[2]));
        QCOMPARE(e.Sql(QStringLiteral("select OrdId from ordenes order by OrdId")).RecordCount(),
                 2);
        QCOMPARE(e.Valor(QStringLiteral("select count(*) from ordenes where OrdId in (?, ?)"),
                         {ids[1], ids[2]})
                     .toInt(),
                 2);
        QCOMPARE(e.Valor(QStringLiteral("select count(*) from precios")).toInt(), 0);
        QCOMPARE(w->Modelo()->rowCount(), 2);
        QVERIFY(w->IdsMarcados().isEmpty());
    }

    void sumarPorMonedaConLineasTerminadasEnCrLf() {
        Entorno e;
        frmPrincipal* w = frmPrincipal::Instancia();
        Boton(w, "sumar");
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("No ha seleccionado ninguna Orden de Compra."));

        OrdenesDePrueba o(e);
        const int a = o.Nueva(), b = o.Nueva(), c = o.Nueva(), d = o.Nueva(), sin = o.Nueva();
        o.Precio(a, 0.1, QStringLiteral("Pesos"));
        o.Precio(b, 0.2, QStringLiteral("Pesos"));
        o.Precio(c, 7.25, QStringLiteral("Dólares"));
        o.Precio(d, 100, QStringLiteral("Pesos"));
        o.Precio(sin, 50, QStringLiteral("Pesos"), false);
        w->CargarLista(QStringLiteral("1"));
        for (int fila : {0, 1, 2})
            MarcarFila(w, fila);
        Mensajes::Limpiar();
        Boton(w, "sumar");
        QCOMPARE(Mensajes::UltimoTexto(), QStringLiteral("7,25 Dólares\r\n0,3 Pesos\r\n"));
        QCOMPARE(Mensajes::Mostrados().last().titulo, QStringLiteral("Suma de precios"));

        for (int fila : {0, 1, 2, 4})
            MarcarFila(w, fila);
        Boton(w, "sumar");
        QCOMPARE(Mensajes::UltimoTexto(), QStringLiteral(" \r\n"));
    }

    void buscarConApostrofoYComodinesLiterales() {
        Entorno e;
        OrdenesDePrueba o(e, QStringLiteral("Tuerca 3/8'' zincada"));
        o.Nueva();
        o.Nueva(kHoyPrincipal.startOfDay(), 0, e.Producto(QStringLiteral("Algodón 50%")));
        o.Nueva(kHoyPrincipal.startOfDay(), 0, e.Producto(QStringLiteral("Algodón 50 g")));
        frmPrincipal* w = frmPrincipal::Instancia();
        QCOMPARE(w->Modelo()->rowCount(), 3);

        Mensajes::ResponderTexto(QStringLiteral("3/8''"));
        Boton(w, "buscar");
        QCOMPARE(w->Modelo()->rowCount(), 1);
        QCOMPARE(Celda(w, 0, ModeloOrdenes::Descripcion), QStringLiteral("Tuerca 3/8'' zincada"));
        QVERIFY(w->SqlActual().contains(QStringLiteral("OrdDescripcion like")));

        Mensajes::ResponderTexto(QStringLiteral("50%"));
        Boton(w, "buscar");
        QCOMPARE(w->Modelo()->rowCount(), 1);
        QCOMPARE(Celda(w, 0, ModeloOrdenes::Descripcion), QStringLiteral("Algodón 50%"));

        Mensajes::ResponderTexto(QStringLiteral("ALGODÓN"));
        Boton(w, "buscar");
        QCOMPARE(w->Modelo()->rowCount(), 2);

        Mensajes::ResponderTexto(QString());
        Boton(w, "buscar");
        QCOMPARE(w->Modelo()->rowCount(), 3);
        for (const Mensajes::Mostrado& m : Mensajes::Mostrados())
            QCOMPARE(m.tipo, Mensajes::Tipo::Entrada);
    }

    void volverDesdeOtraVentanaRecargaSalvoAlImprimir() {
        Entorno e;
        OrdenesDePrueba o(e);
        o.Nueva();
        o.Nueva(kHoyPrincipal.startOfDay(), 0, e.Producto(QStringLiteral("Arandela")));
        frmPrincipal* w = frmPrincipal::Instancia();
        w->show();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));

        Mensajes::ResponderTexto(QStringLiteral("arandela"));
        Boton(w, "buscar");
        QCOMPARE(w->Modelo()->rowCount(), 1);
        MarcarFila(w, 0);

        QWidget otra;
        auto irYVolver = [&] {
            otra.show();
            otra.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&otra));
            w->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w));
        };
        w->recargarAlActivar = false;
        irYVolver();
        w->recargarAlActivar = true;
        QCOMPARE(w->Modelo()->rowCount(), 1);
        QCOMPARE(w->IdsMarcados().size(), 1);

        irYVolver();
        QCOMPARE(w->Modelo()->rowCount(), 2);
        QVERIFY(w->IdsMarcados().isEmpty());
        QVERIFY(!w->SqlActual().contains(QStringLiteral("like")));
    }

    void cerrarCierraLaConexionYSitioWebAbreLaDireccion() {
        Entorno e;
        frmPrincipal* w = frmPrincipal::Instancia();
        ReceptorUrl receptor;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &receptor, "abrir");
        w->mnuAyudaSitioWeb->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(receptor.url, QUrl(frmPrincipal::DireccionSitioWeb()));

        w->show();
        Boton(w, "salir");
        QVERIFY(!ConexionAbierta());
    }
};

QUIMBEL_PRUEBA(PruebaPrincipal)
#include "PruebaPrincipal.moc"
