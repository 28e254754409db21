#include "ArchivoPdf.h"
#include "Conexiones.h"
#include "Configuracion.h"
#include "Disenos.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "Reloj.h"
#include "VistaPrevia.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>
#include <memory>

namespace {

const QSize kA4Vertical(11906, 16838);
const QSize kA4Apaisado(16838, 11906);

// Whether anything but the white background is painted in that part of the picture.
bool Tinta(const QImage& imagen, const QRect& zona) {
    const QRect r = zona & imagen.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (imagen.pixel(x, y) != qRgb(255, 255, 255))
                return true;
    return false;
}

// The first row of that part with ink, -1 for none.
int PrimeraFilaConTinta(const QImage& imagen, const QRect& zona) {
    for (int y = zona.top(); y <= zona.bottom(); ++y)
        if (Tinta(imagen, QRect(zona.left(), y, zona.width(), 1)))
            return y;
    return -1;
}

int Orden(Entorno& e, const QDateTime& fecha, const QString& comentario = QString(),
          int autorizante = 0) {
    return e.Insertar("orden_insertar", {fecha, 2.5, QStringLiteral("Caja x 10"), 1, comentario,
                                         QStringLiteral("Depósito"), QStringLiteral("Urgente"), 1,
                                         1, 1, autorizante, QStringLiteral("korva")});
}

void Precio(Entorno& e, int orden, int proveedor, double precio, bool aceptado) {
    e.Insertar("precio_Insertar",
               {orden, proveedor, QString(), precio, QStringLiteral("Dólares"),
                QStringLiteral("Contado"), QDate(2026, 3, 1), QDate(2026, 4, 1), aceptado ? 1 : 0});
}

void Maestros(Entorno& e) {
    e.Insertar("sector_insertar", {QStringLiteral("Compras")});
    e.Insertar("centrodecosto_insertar", {QStringLiteral("Planta 1")});
    e.Producto(QStringLiteral("Guantes de látex"));
}

Recordset Abrir(const QString& sql) {
    Recordset rs;
    if (!AbrirRecordset(sql, rs))
        qFatal("no se abrió %s", qPrintable(sql));
    return rs;
}

// The first text or field of that name or text on a page.
const TrazoInforme* Buscar(const QVector<TrazoInforme>& trazos, const QString& nombreOTexto) {
    for (const auto& t : trazos)
        if (t.nombre == nombreOTexto ||
            (t.tipo == ElementoInforme::Tipo::Etiqueta && t.texto == nombreOTexto))
            return &t;
    return nullptr;
}

int Contar(const QVector<TrazoInforme>& trazos, const QString& nombre) {
    return static_cast<int>(std::count_if(trazos.begin(), trazos.end(),
                                          [&](const auto& t) { return t.nombre == nombre; }));
}

struct Ajustes {
    Ajustes(const QString& empresa, const QString& logo) {
        gEmpresa = empresa;
        gLogoPath = logo;
    }
    ~Ajustes() {
        gEmpresa.clear();
        gLogoPath.clear();
    }
};

} // namespace

class PruebaInformes : public QObject {
    Q_OBJECT
private slots:
    void init() { Reloj::Fijar(QDateTime(QDate(2026, 3, 10), QTime(9, 0))); }
    void cleanup() { Reloj::Fijar(QDateTime()); }

    void sinEmpresaNiLogoLaPrimeraPaginaEmpiezaConElEncabezadoDePagina() {
        Entorno e;
        Ajustes a({}, {});
        for (DisenoInforme d : {dtrOrdenes(), dtrSectores(), dtrProveedores()}) {
            QCOMPARE(d.encabezadoInforme.alto, 0);
            InformeMaquetado m(d, Abrir(QStringLiteral("select * from sectores")), kA4Vertical);
            const auto trazos = m.Contenido(0);
            QVERIFY(!Buscar(trazos, QStringLiteral("lblEmpresa")));
            // The title is the page header's first element, placed at its own Top.
            const ElementoInforme& titulo = d.encabezadoPagina.elementos.first();
            const TrazoInforme* t = Buscar(trazos, titulo.texto);
            QVERIFY2(t, qPrintable(d.nombre));
            QCOMPARE(t->rect.top(), d.margenSuperior + titulo.top);
        }
    }

    void empresaYLogoEnElEncabezadoDeLaPrimeraPaginaSolamente() {
        Entorno e;
        const QString logo = e.Carpeta() + QStringLiteral("/logo.png");
        QImage imagen(400, 100, QImage::Format_RGB32);
        imagen.fill(Qt::red);
        QVERIFY(imagen.save(logo));
        Ajustes a(QStringLiteral("Tolvanex S.A."), logo);

        Maestros(e);
        for (int i = 0; i < 60; ++i)
            Orden(e, QDateTime(QDate(2026, 3, 1), QTime(8, i)));
        const DisenoInforme d = dtrOrdenes();
        InformeMaquetado m(d, Abrir(QStringLiteral("select * from v_ordenes_preciosaceptados")),
                           kA4Apaisado);
        QVERIFY(m.Paginas() >= 2);
        const auto primera = m.Contenido(0);
        const TrazoInforme* empresa = Buscar(primera, QStringLiteral("lblEmpresa"));
        QVERIFY(empresa);
        QCOMPARE(empresa->texto, QStringLiteral("Tolvanex S.A."));
        QCOMPARE(empresa->rect.topLeft(), QPoint(300 + 4335, 720 + 300));
        QCOMPARE(empresa->color, QColor(128, 128, 128));
        // 400 x 100 fitted into 2280 x 900 keeps its shape and sits in the middle of the box.
        const TrazoInforme* img = Buscar(primera, QStringLiteral("imgLogo"));
        QVERIFY(img && !img->imagen.isNull());
        QCOMPARE(img->rect, QRect(300 + 12000, 720 + (900 - 570) / 2, 2280, 570));
        QCOMPARE(Buscar(primera, QStringLiteral("ORDENES DE COMPRA"))->rect.top(), 720 + 990);

        const auto segunda = m.Contenido(1);
        QVERIFY(!Buscar(segunda, QStringLiteral("lblEmpresa")));
        QVERIFY(!Buscar(segunda, QStringLiteral("imgLogo")));
        QCOMPARE(Buscar(segunda, QStringLiteral("ORDENES DE COMPRA"))->rect.top(), 720);
    }

    void nombreSinLogoYLogoIlegibleDejanLaCajaVacia() {
        Entorno e;
        QFile basura(e.Carpeta() + QStringLiteral("/logo.png"));
        QVERIFY(basura.open(QIODevice::WriteOnly));
        basura.write("no es una imagen");
        basura.close();
        for (const QString& logo : {QString(), basura.fileName(), e.Carpeta() + "/falta.png"}) {
            Ajustes a(QStringLiteral("Tolvanex"), logo);
            InformeMaquetado m(dtrSectores(), Abrir(QStringLiteral("select * from sectores")),
                               kA4Vertical);
            const auto trazos = m.Contenido(0);
            QCOMPARE(Buscar(trazos, QStringLiteral("lblEmpresa"))->texto,
                     QStringLiteral("Tolvanex"));
            QVERIFY(!Buscar(trazos, QStringLiteral("imgLogo")));
            QCOMPARE(Buscar(trazos, QStringLiteral("LISTA DE SECTORES"))->rect.top(), 1440 + 1005);
        }
        // A logo alone also keeps the header.
        Ajustes a({}, basura.fileName());
        QCOMPARE(dtrSectores().encabezadoInforme.alto, 1005);
    }

    void listaLargaRepiteEncabezadosNumeraPaginasYNoParteBandas() {
        Entorno e;
        Ajustes a(QStringLiteral("Tolvanex"), {});
        Maestros(e);
        const int total = 75;
        for (int i = 0; i < total; ++i)
            Orden(e, QDateTime(QDate(2026, 3, 1), QTime(8, 0)).addSecs(60 * i));
        const DisenoInforme d = dtrOrdenes();
        InformeMaquetado m(d, Abrir(QStringLiteral("select * from v_ordenes_preciosaceptados")),
                           kA4Apaisado);
        const int paginas = m.Paginas();
        QVERIFY(paginas >= 3);
        const int pie = kA4Apaisado.height() - d.margenInferior - d.piePagina.alto;
        int filas = 0;
        QString anterior;
        for (int p = 0; p < paginas; ++p) {
            const auto trazos = m.Contenido(p);
            QVERIFY(Buscar(trazos, QStringLiteral("ORDENES DE COMPRA")));
            QVERIFY(Buscar(trazos, QStringLiteral("Centro de Costo")));
            QCOMPARE(Buscar(trazos, QStringLiteral("Página:"))->rect.top(), pie + 50);
            const QStringList textos = m.Textos(p);
            // "Página: n / total", the total already known on the first page.
            const int i = textos.indexOf(QStringLiteral("Página:"));
            QCOMPARE(textos.mid(i, 4),
                     QStringList({QStringLiteral("Página:"), QString::number(p + 1),
                                  QStringLiteral("/"), QString::number(paginas)}));
            QCOMPARE(textos.first(),
                     p == 0 ? QStringLiteral("Tolvanex") : QStringLiteral("ORDENES DE COMPRA"));
            for (const auto& t : trazos) {
                if (t.nombre != QLatin1String("OrdFecha"))
                    continue;
                ++filas;
                QVERIFY(t.rect.top() + d.detalle.alto <= pie);
                QVERIFY(t.texto > anterior); // in order, none twice
                anterior = t.texto;
            }
        }
        QCOMPARE(filas, total);

        // Bands taller than half a page go whole to the next page.
        DisenoInforme orden = dtrOrden();
        InformeMaquetado o(orden, Abrir(QStringLiteral("select * from v_ordenes_preciosaceptados")),
                           kA4Vertical);
        QCOMPARE(o.Paginas(), (total + 1) / 2);
        const int pieOrden = kA4Vertical.height() - orden.margenInferior - orden.piePagina.alto;
        for (int p = 0; p < o.Paginas(); ++p) {
            const auto trazos = o.Contenido(p);
            QCOMPARE(Contar(trazos, QStringLiteral("OrdId")), p < o.Paginas() - 1 ? 2 : 1);
            for (const auto& t : trazos)
                if (t.nombre == QLatin1String("OrdId"))
                    QVERIFY(t.rect.top() + orden.detalle.alto <= pieOrden);
        }
    }

    void sinRegistrosHayUnaPaginaConEncabezadoYPie() {
        Entorno e;
        Ajustes a({}, {});
        InformeMaquetado m(dtrCategorias(), Abrir(QStringLiteral("select * from categorias")),
                           kA4Vertical);
        QCOMPARE(m.Paginas(), 1);
        QCOMPARE(m.Textos(0),
                 QStringList({QStringLiteral("LISTA DE CATEGORÍAS"), QStringLiteral("Código:"),
                              QStringLiteral("Descripción:"), QStringLiteral("Desactivada:"),
                              QStringLiteral("martes, 10 de marzo de 2026"), QStringLiteral("1"),
                              QStringLiteral("de"), QStringLiteral("1")}));
    }

    void formatosBooleanosFechasNumerosYNulos() {
        Entorno e;
        Ajustes a({}, {});
        Maestros(e);
        e.Insertar("sector_insertar", {QStringLiteral("Ventas")});
        e.Sql(QStringLiteral(
            "UPDATE sectores SET SecDesactivado = 1 WHERE SecDescripcion = 'Ventas'"));
        InformeMaquetado s(dtrSectores(),
                           Abrir(QStringLiteral("SELECT * FROM SECTORES ORDER BY SECDESCRIPCION")),
                           kA4Vertical);
        QCOMPARE(s.Textos(0).mid(4, 6), QStringList({"1", "Compras", "No", "2", "Ventas", "Si"}));
        const auto sectores = s.Contenido(0);
        QCOMPARE(Buscar(sectores, QStringLiteral("SecDesactivado"))->alineacion,
                 Alineacion::Centro);

        const int proveedor = e.Proveedor(QStringLiteral("Ferretería Sur"));
        const int autorizante =
            e.Usuario(QStringLiteral("aruiz"), {}, QStringLiteral("Ana Ruiz"), 0, 1, 0);
        const int orden = Orden(e, QDateTime(QDate(2026, 3, 5), QTime(14, 7)),
                                QStringLiteral("Entregar por la mañana"), autorizante);
        Precio(e, orden, proveedor, 10.0, false);
        Precio(e, orden, proveedor, 1234.5, true);
        const QString sql = QStringLiteral("select * from v_ordenes_preciosaceptados where OrdId=");
        InformeMaquetado o(dtrOrden(), Abrir(sql + QString::number(orden)), kA4Vertical);
        const auto c = o.Contenido(0);
        auto texto = [&](const char* nombre, int top) {
            for (const auto& t : c)
                if (t.nombre == QLatin1String(nombre) && t.rect.top() == 1440 + top)
                    return t.texto;
            return QStringLiteral("<no está>");
        };
        QCOMPARE(texto("OrdId", 0), QString::number(orden));
        QCOMPARE(texto("OrdFecha", 250), QStringLiteral("05/03/2026"));
        QCOMPARE(texto("OrdFecha", 567), QStringLiteral("14:07"));
        QCOMPARE(texto("OrdCantidad", 1400), QStringLiteral("2,5"));
        QCOMPARE(texto("PrePrecio", 1400), QStringLiteral("1234,5"));
        QCOMPARE(texto("PreMoneda", 1400), QStringLiteral("Dólares"));
        QCOMPARE(texto("Proveedor", 1900), QStringLiteral("Ferretería Sur"));
        QCOMPARE(texto("NomAutorizante", 2900), QStringLiteral("Ana Ruiz"));
        QCOMPARE(texto("OrdComentario", 3900), QStringLiteral("Entregar por la mañana"));

        InformeMaquetado lista(dtrOrdenes(), Abrir(sql + QString::number(orden)), kA4Apaisado);
        QCOMPARE(Buscar(lista.Contenido(0), QStringLiteral("OrdFecha"))->texto,
                 QStringLiteral("05/03/26 14:07"));
    }

    // A field whose column is misspelt prints nothing; every field must show its own value.
    void listasDeMaestrosImprimenCadaCampoEnSuLugar() {
        Entorno e;
        Ajustes a({}, {});
        e.Sql(QStringLiteral("INSERT INTO productos (ProCodigo, ProDescripcion, CatId, ProPrecio, "
                             "ProCosto, ProMinimo, ProDesactivado) VALUES ('7790001', 'Guantes de "
                             "látex', 1, 12.5, 9.75, 3, 1)"));
        e.Insertar("proveedor_insertar",
                   {"Ferretería Sur", "Sur S.A.", "30-1", "Calle 1", "2000", "111", "222", "333",
                    "a@b.com", "www.sur.com", "Centro", "Rosario", "Santa Fe", "Argentina"});
        e.Insertar("centrodecosto_insertar", {QStringLiteral("Planta 1")});
        const struct {
            DisenoInforme diseno;
            const char* sql;
            const char* textos; // from the first "Código:" on, in reading order, "|" between
        } casos[] = {
            {dtrProductos(), "select * from productos order by ProDescripcion ASC",
             "Código:|Descripción:|Precio:|Costo:|Stock Mínimo:|Desactivado:|"
             "7790001|Guantes de látex|12,5|9,75|3|Si"},
            {dtrProveedores(), "select * from proveedores",
             "Código:|1|Nombre:|Ferretería Sur|Razón Social:|Sur S.A.|"
             "Ruc:|30-1|Dirección:|Calle 1|C.P:|2000|"
             "Tel. 1:|111|Tel. 2:|222|Fax:|333|"
             "E-mail:|a@b.com|URL:|www.sur.com|Zona:|Centro|"
             "Ciudad:|Rosario|Provincia/Estado:|Santa Fe|País:|Argentina|"
             "Desactivado:|No"},
            {dtrCentrosDeCosto(), "select * from centrosdecosto",
             "Código:|Descripción:|Desactivado:|1|Planta 1|No"},
        };
        for (const auto& c : casos) {
            InformeMaquetado m(c.diseno, Abrir(QString::fromUtf8(c.sql)), kA4Vertical);
            const QStringList textos = m.Textos(0);
            const qsizetype i = textos.indexOf(QStringLiteral("Código:"));
            QVERIFY2(i >= 0, qPrintable(c.diseno.nombre));
            const QStringList esperados = QString::fromUtf8(c.textos).split(QLatin1Char('|'));
            QCOMPARE(textos.mid(i, esperados.size()), esperados);
        }
    }

    void ordenSinCotizacionAceptadaImprimePrecioYMonedaVacios() {
        Entorno e;
        Ajustes a({}, {});
        Maestros(e);
        const int orden = Orden(e, QDateTime(QDate(2026, 3, 5), QTime(14, 7)));
        Precio(e, orden, e.Proveedor(QStringLiteral("Sur")), 99.0, false);
        const QString sql =
            QStringLiteral("select * from v_ordenes_preciosaceptados where OrdId=") +
            QString::number(orden);
        for (const DisenoInforme& d : {dtrOrden(), dtrOrdenes()}) {
            InformeMaquetado m(d, Abrir(sql),
                               d.orientacion == QPageLayout::Landscape ? kA4Apaisado : kA4Vertical);
            const auto c = m.Contenido(0);
            QCOMPARE(Buscar(c, QStringLiteral("PrePrecio"))->texto, QString());
            QCOMPARE(Buscar(c, QStringLiteral("PreMoneda"))->texto, QString());
            QCOMPARE(Buscar(c, QStringLiteral("ProDescripcion"))->texto,
                     QStringLiteral("Guantes de látex"));
        }
    }

    // What does not fit stays in its box: a long value is cut at the box's edge instead of
    // running into the next column, yet sits on the line of the values that fit; a box tall
    // enough for several lines wraps and shows whole lines only.
    void loQueNoCabeSeCortaEnSuCajaOSeParteEnLineasEnteras() {
        using E = ElementoInforme;
        DisenoInforme d;
        d.margenIzquierdo = d.margenSuperior = d.margenInferior = 0;
        d.detalle.alto = 1440;
        d.detalle.elementos << E::Campo(QStringLiteral("Largo"), 0, 0, 1440, FuenteInforme())
                            << E::Campo(QStringLiteral("Corto"), 4320, 0, 1440, FuenteInforme())
                            << E::Campo(QStringLiteral("Nota"), 0, 480, 1440, FuenteInforme(), 480);
        Recordset rs;
        rs.Abrir(QStringLiteral("prueba"),
                 {QStringLiteral("Largo"), QStringLiteral("Corto"), QStringLiteral("Nota")},
                 {{QString(60, QLatin1Char('H')), QStringLiteral("HH"),
                   QStringLiteral("palabra ").repeated(40)}});
        const int dpi = 200; // a box of 1440 twips is 200 pixels wide
        QImage imagen(4 * dpi, 2 * dpi, QImage::Format_RGB32);
        imagen.setDotsPerMeterX(qRound(dpi / 0.0254));
        imagen.setDotsPerMeterY(qRound(dpi / 0.0254));
        imagen.fill(Qt::white);
        QPainter painter(&imagen);
        InformeMaquetado(d, rs, QSize(4 * 1440, 2 * 1440)).Pintar(painter, [] { return true; });
        painter.end();

        const QRect fila(0, 0, imagen.width(), 60);
        QVERIFY(Tinta(imagen, QRect(150, 0, 50, 60)));
        QVERIFY(!Tinta(imagen, QRect(202, 0, 390, 60)));
        const int arribaLargo = PrimeraFilaConTinta(imagen, fila.adjusted(0, 0, -600, 0));
        QVERIFY(arribaLargo >= 0);
        QCOMPARE(PrimeraFilaConTinta(imagen, fila.adjusted(600, 0, 0, 0)), arribaLargo);

        // The note's box (y 67 to 133) holds two whole lines, one in each half; the rest is cut.
        QVERIFY(Tinta(imagen, QRect(0, 67, 200, 33)));
        QVERIFY(Tinta(imagen, QRect(0, 100, 200, 33)));
        QVERIFY(!Tinta(imagen, QRect(0, 134, imagen.width(), imagen.height() - 134)));
        QVERIFY(!Tinta(imagen, QRect(202, 60, imagen.width() - 202, 74)));
    }

    void pdfApaisadoParaLaListaDeOrdenesYErrorSiNoSePuedeEscribir() {
        Entorno e;
        Ajustes a(QStringLiteral("Tolvanex"), {});
        Maestros(e);
        for (int i = 0; i < 40; ++i)
            Orden(e, QDateTime(QDate(2026, 3, 1), QTime(8, i)));
        const Recordset rs = Abrir(QStringLiteral("select * from v_ordenes_preciosaceptados"));
        const QString archivo = e.Carpeta() + QStringLiteral("/ordenes.pdf");
        QVERIFY(ExportarPdf(dtrOrdenes(), rs, archivo));
        QFile f(archivo);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray pdf = f.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        const auto caja =
            QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))
                .match(QString::fromLatin1(pdf));
        QVERIFY(caja.hasMatch());
        QVERIFY(caja.captured(1).toDouble() > caja.captured(2).toDouble());
        QCOMPARE(
            QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))),
            InformeMaquetado(dtrOrdenes(), rs, kA4Apaisado).Paginas());

        QString error;
        QVERIFY(!ExportarPdf(dtrOrdenes(), rs, e.Carpeta() + QStringLiteral("/no/existe/x.pdf"),
                             QPageSize(QPageSize::A4), &error));
        QVERIFY2(error.startsWith(QStringLiteral("La carpeta no existe.")), qPrintable(error));

        // A document that fails half-way leaves the earlier file as it was, not a cut PDF, and no
        // temporary file beside it.
        const QStringList antes = QDir(e.Carpeta()).entryList(QDir::Files);
        QVERIFY(!EscribirPdf(archivo, [](QPdfWriter& w) {
            QPainter p(&w);
            p.drawText(100, 100, QStringLiteral("a medias"));
            return !w.newPage();
        }));
        QFile otra(archivo);
        QVERIFY(otra.open(QIODevice::ReadOnly));
        QCOMPARE(otra.readAll(), pdf);
        QCOMPARE(QDir(e.Carpeta()).entryList(QDir::Files), antes);
    }

    void vistaPreviaConTituloOrientacionYExportarAPdf() {
        Entorno e;
        Ajustes a({}, {});
        Maestros(e);
        for (int i = 0; i < 40; ++i)
            Orden(e, QDateTime(QDate(2026, 3, 1), QTime(8, i)));
        const Recordset rs = Abrir(QStringLiteral("SELECT * FROM SECTORES"));
        const Recordset lista = Abrir(QStringLiteral("select * from v_ordenes_preciosaceptados"));
        std::unique_ptr<QDialog> ordenes(CrearVistaPrevia(dtrOrdenes(), lista));
        auto* vista = qobject_cast<QPrintPreviewDialog*>(ordenes.get());
        QVERIFY(vista);
        QCOMPARE(vista->windowTitle(), QStringLiteral("Reporte de Ordenes"));
        QCOMPARE(vista->printer()->pageLayout().orientation(), QPageLayout::Landscape);
        // The pages come from the program's own renderer, called back by the printing module.
        vista->show();
        QVERIFY(QTest::qWaitForWindowExposed(vista));
        auto* paginas = vista->findChild<QPrintPreviewWidget*>();
        QVERIFY(paginas);
        const int esperadas = InformeMaquetado(dtrOrdenes(), lista, kA4Apaisado).Paginas();
        QVERIFY(esperadas > 1);
        QTRY_COMPARE(paginas->pageCount(), esperadas);
        vista->close();
        std::unique_ptr<QDialog> sectores(CrearVistaPrevia(dtrSectores(), rs));
        QCOMPARE(sectores->windowTitle(), QStringLiteral("Sectores"));
        QCOMPARE(qobject_cast<QPrintPreviewDialog*>(sectores.get())
                     ->printer()
                     ->pageLayout()
                     .orientation(),
                 QPageLayout::Portrait);

        auto* exportar = sectores->findChild<QAction*>(QStringLiteral("actExportarPdf"));
        QVERIFY(exportar);
        QCOMPARE(exportar->text(), QStringLiteral("Exportar a PDF"));
        Mensajes::ResponderTexto(QString()); // cancelled: nothing written
        exportar->trigger();
        Mensajes::ResponderTexto(e.Carpeta() + QStringLiteral("/sectores"));
        exportar->trigger();
        QVERIFY(QFile::exists(e.Carpeta() + QStringLiteral("/sectores.pdf")));
        QCOMPARE(QDir(e.Carpeta()).entryList({QStringLiteral("*.pdf")}).size(), 1);
        QCOMPARE(Mensajes::Mostrados().size(), 2);
        QCOMPARE(Mensajes::Mostrados().first().tipo, Mensajes::Tipo::GuardarArchivo);
    }

    void imprimirOrdenMuestraLaOrdenGuardadaYCierraSusRegistros() {
        Entorno e;
        Ajustes a({}, {});
        Maestros(e);
        Orden(e, QDateTime(QDate(2026, 3, 1), QTime(8, 0)));
        const int orden = Orden(e, QDateTime(QDate(2026, 3, 2), QTime(9, 30)));
        LimpiarInformesMostrados();
        ImprimirOrden(orden);
        QCOMPARE(InformesMostrados().size(), 1);
        const InformeMostrado m = InformesMostrados().first();
        QCOMPARE(m.nombre, QStringLiteral("dtrOrden"));
        QCOMPARE(m.caption, QStringLiteral("Orden de Compra"));
        QVERIFY(m.modal);
        QCOMPARE(m.registros, 1);
        QVERIFY(m.textosPrimeraPagina.contains(QStringLiteral("02/03/2026")));
        QVERIFY(!m.textosPrimeraPagina.contains(QStringLiteral("01/03/2026")));
        QVERIFY(Mensajes::Mostrados().isEmpty());

        // A non-modal preview of the same layout is replaced, not piled up.
        const Recordset rs = Abrir(QStringLiteral("SELECT * FROM SECTORES"));
        QVERIFY(MostrarInforme(dtrSectores(), rs, false));
        QVERIFY(MostrarInforme(dtrSectores(), rs, false));
        QApplication::processEvents();
        int abiertas = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QPrintPreviewDialog*>(w) && w->isVisible())
                ++abiertas;
        QCOMPARE(abiertas, 1);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QPrintPreviewDialog*>(w))
                w->close();
        QVERIFY(rs.Abierto());
    }
};

QUIMBEL_PRUEBA(PruebaInformes)
#include "PruebaInformes.moc"
