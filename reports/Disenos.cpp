#include "Disenos.h"

#include "Configuracion.h"

namespace {

using E = ElementoInforme;

const QColor kAzul(0, 0, 192);
const QColor kGris(128, 128, 128);
const QColor kGrisClaro(224, 224, 224);

const FuenteInforme kNormal;
const FuenteInforme kNegrita = FuenteInforme::Negrita();
const FuenteInforme kTahomaNegrita = FuenteInforme::Negrita(QStringLiteral("Tahoma"));

FuenteInforme ArialBlack(double puntos) {
    return {QStringLiteral("Arial Black"), puntos, QFont::Black};
}

BandaInforme EncabezadoEmpresa(int alto, int leftLogo, int anchoLogo, int leftEmpresa,
                               int anchoEmpresa) {
    BandaInforme b;
    b.alto = alto;
    E logo;
    logo.tipo = E::Tipo::Imagen;
    logo.nombre = QStringLiteral("imgLogo");
    logo.left = leftLogo;
    logo.ancho = anchoLogo;
    logo.alto = 900;
    b.elementos << logo;
    b.elementos << E::Etiqueta(QString(), leftEmpresa, 300, anchoEmpresa, ArialBlack(14.25), 450)
                       .Color(kGris)
                       .Nombre(QStringLiteral("lblEmpresa"));
    return b;
}

DisenoInforme Vertical(const QString& nombre, const QString& caption) {
    DisenoInforme d;
    d.nombre = nombre;
    d.caption = caption;
    d.pieInforme.alto = 360;
    return d;
}

// Once the run-time set-up is done the layout is ready to show.
DisenoInforme Listo(DisenoInforme d) {
    PrepararEncabezado(d, gEmpresa, gLogoPath);
    return d;
}

// The master-data lists share a page header of title, headings and a line, and a page footer
// of date and "n de m".
struct Columna {
    const char* encabezado;
    int leftEncabezado;
    int anchoEncabezado;
    const char* campo;
    int left;
    int ancho;
    Alineacion alineacion = Alineacion::Izquierda;
    FormatoCampo formato = FormatoCampo::Plano;
};

void Titulo(DisenoInforme& d, const QString& texto, int left, int ancho, int alto, double puntos,
            int top) {
    d.encabezadoPagina.elementos << E::Etiqueta(texto, left, top, ancho, ArialBlack(puntos), alto)
                                        .Alinear(Alineacion::Centro)
                                        .Color(kAzul);
}

void LineaEncabezado(DisenoInforme& d, int top) {
    d.encabezadoPagina.elementos << E::Linea(10, top, 9345);
    // Some room between the line and the first record.
    d.encabezadoPagina.alto = top + 120;
}

void PieDeLista(DisenoInforme& d, int alto, int top) {
    BandaInforme& b = d.piePagina;
    b.alto = alto;
    b.elementos << E::Linea(10, 0, 9345);
    b.elementos << E::Etiqueta(QStringLiteral("%D"), 100, top, 3975, kNormal);
    b.elementos
        << E::Etiqueta(QStringLiteral("%p"), 7370, top, 550, kNormal).Alinear(Alineacion::Derecha);
    b.elementos
        << E::Etiqueta(QStringLiteral("de"), 7937, top, 570, kNormal).Alinear(Alineacion::Centro);
    b.elementos << E::Etiqueta(QStringLiteral("%P"), 8504, top, 600, kNormal);
}

DisenoInforme Lista(const QString& nombre, const QString& caption, int altoEncabezado,
                    int anchoLogo, int anchoEmpresa, const QString& titulo, int leftTitulo,
                    int anchoTitulo, int altoTitulo, double puntosTitulo, int topEncabezados,
                    int topLinea, int altoDetalle, std::initializer_list<Columna> columnas,
                    int altoPie, int topPie) {
    DisenoInforme d = Vertical(nombre, caption);
    d.encabezadoInforme = EncabezadoEmpresa(altoEncabezado, 6803, anchoLogo, 0, anchoEmpresa);
    Titulo(d, titulo, leftTitulo, anchoTitulo, altoTitulo, puntosTitulo, 0);
    for (const Columna& c : columnas) {
        d.encabezadoPagina.elementos
            << E::Etiqueta(QString::fromUtf8(c.encabezado), c.leftEncabezado, topEncabezados,
                           c.anchoEncabezado, kTahomaNegrita);
        d.detalle.elementos << E::Campo(QString::fromLatin1(c.campo), c.left, 0, c.ancho, kNormal)
                                   .Alinear(c.alineacion)
                                   .Formatear(c.formato);
    }
    LineaEncabezado(d, topLinea);
    d.detalle.alto = altoDetalle;
    PieDeLista(d, altoPie, topPie);
    return Listo(d);
}

// The page number footer of the order layouts: "%D ... Página: n / m".
void PieDeOrden(DisenoInforme& d, int alto, int largoLinea, int leftPagina, int leftNumero,
                int leftBarra, int leftTotal) {
    BandaInforme& b = d.piePagina;
    b.alto = alto;
    b.elementos << E::Linea(0, 0, largoLinea);
    b.elementos << E::Etiqueta(QStringLiteral("%D"), 0, 50, 3402, kNormal);
    b.elementos << E::Etiqueta(QStringLiteral("Página:"), leftPagina, 50, 570, kNormal);
    b.elementos << E::Etiqueta(QStringLiteral("%p"), leftNumero, 50, 405, kNormal)
                       .Alinear(Alineacion::Derecha);
    b.elementos << E::Etiqueta(QStringLiteral("/"), leftBarra, 50, 300, kNormal)
                       .Alinear(Alineacion::Centro);
    b.elementos << E::Etiqueta(QStringLiteral("%P"), leftTotal, 50, 405, kNormal);
}

} // namespace

DisenoInforme dtrOrdenes() {
    DisenoInforme d;
    d.nombre = QStringLiteral("dtrOrdenes");
    d.caption = QStringLiteral("Reporte de Ordenes");
    d.anchoInforme = 15000;
    d.margenIzquierdo = 300;
    d.margenDerecho = 300;
    d.margenSuperior = 720;
    d.margenInferior = 1440;
    d.orientacion = QPageLayout::Landscape;
    d.pieInforme.alto = 360;
    d.encabezadoInforme = EncabezadoEmpresa(990, 12000, 2280, 4335, 6690);

    BandaInforme& ph = d.encabezadoPagina;
    ph.alto = 1020;
    ph.elementos << E::Etiqueta(QStringLiteral("ORDENES DE COMPRA"), 567, 0, 13035,
                                FuenteInforme::Negrita(QStringLiteral("Tahoma"), 14.25), 405)
                        .Alinear(Alineacion::Centro)
                        .Color(kAzul);
    struct Col {
        const char* encabezado;
        int left;
        int anchoEncabezado;
        const char* campo;
        int anchoCampo;
        Alineacion alineacion;
        FormatoCampo formato;
    };
    const Col columnas[] = {
        {"Fecha y Hora", 0, 1100, "OrdFecha", 1100, Alineacion::Izquierda, FormatoCampo::FechaHora},
        {"Cantidad", 1250, 795, "OrdCantidad", 795, Alineacion::Centro, FormatoCampo::Plano},
        {"Unidad de Compra", 2150, 1600, "OrdUnidadMedida", 1600, Alineacion::Izquierda,
         FormatoCampo::Plano},
        {"Detalle", 3850, 1140, "ProDescripcion", 5788, Alineacion::Izquierda, FormatoCampo::Plano},
        {"Precio", 9800, 795, "PrePrecio", 795, Alineacion::Derecha, FormatoCampo::Plano},
        {"Moneda", 10650, 795, "PreMoneda", 795, Alineacion::Izquierda, FormatoCampo::Plano},
        {"Sector", 11500, 1450, "SecDescripcion", 1440, Alineacion::Izquierda, FormatoCampo::Plano},
        {"Centro de Costo", 13000, 1450, "CenCosDescripcion", 1450, Alineacion::Izquierda,
         FormatoCampo::Plano},
    };
    d.detalle.alto = 300;
    for (const Col& c : columnas) {
        ph.elementos << E::Etiqueta(QString::fromLatin1(c.encabezado), c.left, 700,
                                    c.anchoEncabezado, kNegrita);
        d.detalle.elementos << E::Campo(QString::fromLatin1(c.campo), c.left, 0, c.anchoCampo,
                                        kNormal)
                                   .Alinear(c.alineacion)
                                   .Formatear(c.formato);
    }
    PieDeOrden(d, 375, 14173, 11535, 12335, 12835, 13235);
    return Listo(d);
}

DisenoInforme dtrOrden() {
    DisenoInforme d = Vertical(QStringLiteral("dtrOrden"), QStringLiteral("Orden de Compra"));
    d.encabezadoInforme = EncabezadoEmpresa(975, 6803, 2280, 0, 6690);

    BandaInforme& b = d.detalle;
    b.alto = 5350;
    // Shapes first: the grey strip lies behind the quantity and price line.
    b.elementos << E::Rectangulo(0, 1315, 9360, 400, kGrisClaro);
    b.elementos << E::Rectangulo(0, 2268, 9360, 1350);
    b.elementos << E::Linea(0, 5234, 9360);

    const FuenteInforme grande = FuenteInforme::Negrita(QStringLiteral("Arial"), 12);
    b.elementos << E::Etiqueta(QStringLiteral("ORDEN DE COMPRA Nº:"), 2268, 0, 3000, grande)
                       .Alinear(Alineacion::Derecha)
                       .Color(kAzul);
    b.elementos << E::Campo(QStringLiteral("OrdId"), 5400, 0, 1050, grande);

    b.elementos << E::Etiqueta(QStringLiteral("Fecha:"), 7370, 250, 555, kNormal);
    b.elementos << E::Campo(QStringLiteral("OrdFecha"), 8100, 250, 975, kNegrita)
                       .Formatear(FormatoCampo::Fecha);
    b.elementos << E::Etiqueta(QStringLiteral("Hora:"), 7370, 567, 560, kNormal);
    b.elementos << E::Campo(QStringLiteral("OrdFecha"), 8100, 567, 971, kNegrita)
                       .Formatear(FormatoCampo::Hora);

    auto izquierda = [&](const QString& etiqueta, int top) {
        b.elementos << E::Etiqueta(etiqueta, 50, top, 900, kNormal);
    };
    auto derecha = [&](const QString& etiqueta, int top) {
        b.elementos << E::Etiqueta(etiqueta, 4700, top, 1300, kNormal);
    };
    izquierda(QStringLiteral("Detalle:"), 867);
    b.elementos << E::Campo(QStringLiteral("ProDescripcion"), 1050, 867, 8200, kNormal);

    izquierda(QStringLiteral("Cantidad:"), 1400);
    b.elementos << E::Campo(QStringLiteral("OrdCantidad"), 1050, 1400, 1134, kNegrita);
    b.elementos << E::Campo(QStringLiteral("OrdUnidadMedida"), 3402, 1400, 3401, kNegrita);
    b.elementos << E::Campo(QStringLiteral("PreMoneda"), 7200, 1400, 567, kNegrita)
                       .Alinear(Alineacion::Derecha);
    b.elementos << E::Campo(QStringLiteral("PrePrecio"), 7937, 1400, 1140, kNegrita);

    izquierda(QStringLiteral("Proveedor:"), 1900);
    b.elementos << E::Campo(QStringLiteral("Proveedor"), 1050, 1900, 8200, kNegrita);

    izquierda(QStringLiteral("Solicitante:"), 2500);
    b.elementos << E::Campo(QStringLiteral("NomSolicitante"), 1050, 2500, 2835, kNegrita);
    derecha(QStringLiteral("Centro de Costo:"), 2500);
    b.elementos << E::Campo(QStringLiteral("CenCosDescripcion"), 6075, 2500, 3200, kNegrita);

    izquierda(QStringLiteral("Autorizó:"), 2900);
    b.elementos << E::Campo(QStringLiteral("NomAutorizante"), 1050, 2900, 2835, kNegrita);
    derecha(QStringLiteral("Sector:"), 2900);
    b.elementos << E::Campo(QStringLiteral("SecDescripcion"), 6075, 2900, 3200, kNegrita);

    izquierda(QStringLiteral("Prioridad:"), 3300);
    b.elementos << E::Campo(QStringLiteral("OrdPrioridad"), 1050, 3300, 1440, kNegrita);
    derecha(QStringLiteral("Entregar en:"), 3300);
    b.elementos << E::Campo(QStringLiteral("OrdLugarEntrega"), 6075, 3300, 3200, kNegrita);

    izquierda(QStringLiteral("Comentario:"), 3900);
    b.elementos << E::Campo(QStringLiteral("OrdComentario"), 1050, 3900, 8200, kNegrita, 1202);

    PieDeOrden(d, 360, 9360, 7000, 7800, 8300, 8700);
    return Listo(d);
}

DisenoInforme dtrProductos() {
    return Lista(QStringLiteral("dtrProductos"), QStringLiteral("Productos"), 1035, 2280, 6690,
                 QStringLiteral("LISTADO DE PRODUCTOS"), 2413, 4535, 495, 14.25, 820, 1134, 330,
                 {
                     {"Código:", 0, 705, "ProCodigo", 0, 800},
                     {"Descripción:", 900, 1290, "ProDescripcion", 900, 2268},
                     {"Precio:", 3402, 700, "ProPrecio", 3402, 567},
                     {"Costo:", 4535, 870, "ProCosto", 4535, 570},
                     {"Stock Mínimo:", 5669, 1300, "ProMinimo", 5669, 567},
                     {"Desactivado:", 7370, 1134, "ProDesactivado", 7370, 570,
                      Alineacion::Izquierda, FormatoCampo::Booleano},
                 },
                 657, 150);
}

DisenoInforme dtrCategorias() {
    return Lista(QStringLiteral("dtrCategorias"), QStringLiteral("Categorías"), 1020, 2277, 6700,
                 QStringLiteral("LISTA DE CATEGORÍAS"), 2413, 4390, 450, 15.75, 567, 900, 390,
                 {
                     {"Código:", 0, 705, "CatId", 0, 705},
                     {"Descripción:", 1134, 1080, "CatDescripcion", 1134, 6236},
                     {"Desactivada:", 7937, 1150, "CatDesactivada", 7937, 1150, Alineacion::Centro,
                      FormatoCampo::Booleano},
                 },
                 435, 150);
}

DisenoInforme dtrSectores() {
    return Lista(QStringLiteral("dtrSectores"), QStringLiteral("Sectores"), 1005, 2280, 6690,
                 QStringLiteral("LISTA DE SECTORES"), 2680, 4000, 450, 15.75, 567, 900, 360,
                 {
                     {"Código:", 0, 705, "SecId", 0, 705},
                     {"Descripción:", 1701, 1080, "SecDescripcion", 1701, 5669},
                     {"Desactivado:", 7500, 1200, "SecDesactivado", 7500, 1200, Alineacion::Centro,
                      FormatoCampo::Booleano},
                 },
                 435, 150);
}

DisenoInforme dtrCentrosDeCosto() {
    return Lista(QStringLiteral("dtrCentrosDeCosto"), QStringLiteral("Centros de Costo"), 1005,
                 2280, 6690, QStringLiteral("LISTA DE CENTROS DE COSTO"), 1750, 5500, 450, 15.75,
                 567, 900, 360,
                 {
                     {"Código:", 0, 705, "CenCosId", 0, 705},
                     {"Descripción:", 1701, 1080, "CenCosDescripcion", 1701, 5669},
                     {"Desactivado:", 7500, 1200, "CenCosDesactivado", 7500, 1200,
                      Alineacion::Centro, FormatoCampo::Booleano},
                 },
                 435, 150);
}

DisenoInforme dtrProveedores() {
    DisenoInforme d = Vertical(QStringLiteral("dtrProveedores"), QStringLiteral("Proveedores"));
    d.encabezadoInforme = EncabezadoEmpresa(1020, 6803, 2280, 0, 6690);
    Titulo(d, QStringLiteral("LISTADO DE PROVEEDORES"), 2129, 5102, 495, 14.25, 250);
    LineaEncabezado(d, 1134);

    struct Par {
        const char* etiqueta;
        int leftEtiqueta;
        int anchoEtiqueta;
        const char* campo;
        int left;
        int ancho;
    };
    struct Fila {
        int top;
        Par pares[3];
    };
    const Fila filas[] = {
        {0,
         {{"Código:", 0, 800, "EmpId", 900, 567},
          {"Nombre:", 1701, 800, "EmpNombreFantasia", 2835, 2267},
          {"Razón Social:", 5500, 1100, "EmpRazonSocial", 6803, 2268}}},
        {300,
         {{"Ruc:", 0, 800, "EmpRuc", 900, 1100},
          {"Dirección:", 2950, 880, "EmpDireccion", 4000, 2835},
          {"C.P:", 7370, 495, "EmpCodigoPostal", 7937, 1140}}},
        {600,
         {{"Tel. 1:", 0, 567, "EmpTelefono1", 900, 1100},
          {"Tel. 2:", 2950, 600, "EmpTelefono2", 3800, 1440},
          {"Fax:", 6236, 567, "EmpFax", 7000, 1710}}},
        {900,
         {{"E-mail:", 0, 650, "EmpEmail", 900, 1935},
          {"URL:", 2950, 600, "EmpURL", 3800, 2267},
          {"Zona:", 6236, 600, "EmpZona", 7000, 2071}}},
        {1200,
         {{"Ciudad:", 0, 750, "EmpCiudad", 900, 1440},
          {"Provincia/Estado:", 2950, 1550, "EmpProvinciaEstado", 4535, 1440},
          {"País:", 6236, 567, "EmpPais", 7000, 2071}}},
    };
    BandaInforme& b = d.detalle;
    b.alto = 1950;
    for (const Fila& f : filas)
        for (const Par& p : f.pares) {
            b.elementos << E::Etiqueta(QString::fromUtf8(p.etiqueta), p.leftEtiqueta, f.top,
                                       p.anchoEtiqueta, kTahomaNegrita);
            b.elementos << E::Campo(QString::fromLatin1(p.campo), p.left, f.top, p.ancho, kNormal);
        }
    b.elementos << E::Etiqueta(QStringLiteral("Desactivado:"), 0, 1500, 1200, kTahomaNegrita);
    b.elementos << E::Campo(QStringLiteral("EmpDesactivado"), 1400, 1500, 600, kNormal)
                       .Formatear(FormatoCampo::Booleano);
    b.elementos << E::Linea(10, 1800, 9345);

    PieDeLista(d, 675, 100);
    return Listo(d);
}

namespace {

// The auditor's pages of one order share a page header: a title naming the order, column
// headings and a line under them.
DisenoInforme TablaDeOrden(const QString& nombre, const QString& caption, const QString& titulo,
                           int ordId, const QList<ElementoInforme>& encabezados) {
    DisenoInforme d = Vertical(nombre, caption);
    d.encabezadoInforme = EncabezadoEmpresa(975, 6803, 2280, 0, 6690);
    BandaInforme& p = d.encabezadoPagina;
    p.alto = 900;
    p.elementos << E::Etiqueta(titulo + QStringLiteral(" Nº ") + QString::number(ordId), 0, 0, 9360,
                               FuenteInforme::Negrita(QStringLiteral("Arial"), 12), 405)
                       .Alinear(Alineacion::Centro)
                       .Color(kAzul);
    for (const ElementoInforme& e : encabezados)
        p.elementos << e;
    p.elementos << E::Linea(0, 860, 9360);
    PieDeOrden(d, 360, 9360, 7000, 7800, 8300, 8700);
    return d;
}

} // namespace

DisenoInforme dtrPreciosOrden(int ordId) {
    auto h = [](const char* texto, int left, int ancho) {
        return E::Etiqueta(QString::fromUtf8(texto), left, 600, ancho, kNegrita);
    };
    DisenoInforme d = TablaDeOrden(
        QStringLiteral("dtrPreciosOrden"), QStringLiteral("Precios de la Orden de Compra"),
        QStringLiteral("PRECIOS DE LA ORDEN DE COMPRA"), ordId,
        {h("Proveedor", 0, 2000), h("Contacto", 2050, 1400),
         h("Precio", 3500, 1000).Alinear(Alineacion::Derecha), h("Moneda", 4600, 700),
         h("Forma de pago", 5350, 1350), h("Fecha", 6750, 850), h("Vigencia", 7650, 850),
         h("Aceptado", 8550, 810)});
    BandaInforme& b = d.detalle;
    b.alto = 300;
    b.elementos << E::Campo(QStringLiteral("Proveedor"), 0, 0, 2000, kNormal);
    b.elementos << E::Campo(QStringLiteral("PreContacto"), 2050, 0, 1400, kNormal);
    b.elementos << E::Campo(QStringLiteral("PrePrecio"), 3500, 0, 1000, kNormal)
                       .Alinear(Alineacion::Derecha);
    b.elementos << E::Campo(QStringLiteral("PreMoneda"), 4600, 0, 700, kNormal);
    b.elementos << E::Campo(QStringLiteral("PreFormaPago"), 5350, 0, 1350, kNormal);
    b.elementos << E::Campo(QStringLiteral("PreFecha"), 6750, 0, 850, kNormal)
                       .Formatear(FormatoCampo::Fecha);
    b.elementos << E::Campo(QStringLiteral("PreFecVigencia"), 7650, 0, 850, kNormal)
                       .Formatear(FormatoCampo::Fecha);
    b.elementos << E::Campo(QStringLiteral("PreAceptado"), 8550, 0, 810, kNormal)
                       .Alinear(Alineacion::Centro)
                       .Formatear(FormatoCampo::Booleano);
    return Listo(d);
}

DisenoInforme dtrHistorial(int ordId) {
    auto h = [](const char* texto, int left, int ancho) {
        return E::Etiqueta(QString::fromUtf8(texto), left, 600, ancho, kNegrita);
    };
    DisenoInforme d = TablaDeOrden(QStringLiteral("dtrHistorial"),
                                   QStringLiteral("Historial de la Orden de Compra"),
                                   QStringLiteral("HISTORIAL DE LA ORDEN DE COMPRA"), ordId,
                                   {h("Fecha y Hora", 0, 1800), h("Usuario", 1850, 1000),
                                    h("Cambio", 2900, 1200), h("Detalle", 4150, 5210)});
    // Two lines for the detail: a quote's values do not fit in one.
    BandaInforme& b = d.detalle;
    b.alto = 480;
    // A change's moment, user and kind on its first line, and again where it goes on to a page.
    const QString cambio = QStringLiteral("CambioId");
    b.elementos << E::Campo(QStringLiteral("Fecha"), 0, 0, 1800, kNegrita).SoloAlCambiar(cambio);
    b.elementos
        << E::Campo(QStringLiteral("Usuario"), 1850, 0, 1000, kNegrita).SoloAlCambiar(cambio);
    b.elementos
        << E::Campo(QStringLiteral("Cambio"), 2900, 0, 1200, kNegrita).SoloAlCambiar(cambio);
    b.elementos << E::Campo(QStringLiteral("Detalle"), 4150, 0, 5210, kNormal, 480);
    return Listo(d);
}

DisenoInforme dtrAuditoria(const QString& filtros, const QString& cadena, bool integra) {
    DisenoInforme d = Vertical(QStringLiteral("dtrAuditoria"), QStringLiteral("Auditoría"));
    d.anchoInforme = 15000;
    d.margenIzquierdo = 300;
    d.margenDerecho = 300;
    d.orientacion = QPageLayout::Landscape;
    d.encabezadoInforme = EncabezadoEmpresa(990, 12000, 2280, 4335, 6690);
    // Every page says what it is a part of and whether the chain held when it was printed.
    BandaInforme& p = d.encabezadoPagina;
    p.alto = 1500;
    p.elementos << E::Etiqueta(QStringLiteral("AUDITORÍA DEL HISTORIAL"), 0, 0, 15000,
                               FuenteInforme::Negrita(QStringLiteral("Arial"), 12), 405)
                       .Alinear(Alineacion::Centro)
                       .Color(kAzul);
    p.elementos << E::Etiqueta(filtros, 0, 480, 15000, kNormal).Alinear(Alineacion::Centro);
    p.elementos << E::Etiqueta(cadena, 0, 760, 15000, integra ? kNormal : kNegrita)
                       .Alinear(Alineacion::Centro)
                       .Color(integra ? QColor(0, 0, 0) : QColor(192, 0, 0));
    struct Col {
        const char* encabezado;
        const char* campo;
        int left;
        int ancho;
    };
    const Col columnas[] = {{"Fecha y Hora", "Fecha", 0, 1700}, {"Usuario", "Usuario", 1750, 1100},
                            {"Cambio", "Cambio", 2900, 1500},   {"Tabla", "Tabla", 4450, 1200},
                            {"Orden Nº", "Orden", 5700, 750},   {"Detalle", "Detalle", 6500, 8500}};
    // Two lines for the detail: a quote's values do not fit in one.
    d.detalle.alto = 480;
    for (const Col& c : columnas) {
        p.elementos << E::Etiqueta(QString::fromUtf8(c.encabezado), c.left, 1100, c.ancho,
                                   kNegrita);
        d.detalle.elementos << E::Campo(QString::fromLatin1(c.campo), c.left, 0, c.ancho, kNormal,
                                        c.ancho == 8500 ? 480 : 240);
    }
    p.elementos << E::Linea(0, 1400, 15000);
    PieDeOrden(d, 360, 15000, 12600, 13400, 13900, 14300);
    return Listo(d);
}
