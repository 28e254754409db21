#pragma once

#include "Recordset.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>
#include <functional>

class QPainter;
class QPagedPaintDevice;

// A report layout is data: bands of labels, fields, lines, rectangles and a picture box, placed
// in twips (1/1440 inch). One renderer lays a layout and a record set out into pages and paints
// them on any paged device.

struct FuenteInforme {
    QString familia = QStringLiteral("Arial");
    double puntos = 8.25;
    int peso = QFont::Normal;

    static FuenteInforme Negrita(const QString& familia = QStringLiteral("Arial"),
                                 double puntos = 8.25) {
        return {familia, puntos, QFont::Bold};
    }
    QFont Fuente() const;
    bool operator==(const FuenteInforme&) const = default;
};

enum class Alineacion { Izquierda, Centro, Derecha };

enum class FormatoCampo {
    Plano,     // the record set's plain conversion
    FechaHora, // dd/mm/yy HH:mm
    Fecha,     // dd/mm/yyyy
    Hora,      // HH:mm
    Booleano,  // Si / No
};

struct ElementoInforme {
    enum class Tipo { Etiqueta, Campo, Linea, Rectangulo, Imagen };

    Tipo tipo = Tipo::Etiqueta;
    QString nombre; // only for what the run-time set-up looks for (lblEmpresa, imgLogo)
    int left = 0;
    int top = 0;
    int ancho = 0;
    int alto = 240;
    QString texto; // label caption, field column name, or picture file
    Alineacion alineacion = Alineacion::Izquierda;
    FormatoCampo formato = FormatoCampo::Plano;
    FuenteInforme fuente;
    QColor color = QColor(0, 0, 0); // text, line or frame colour
    QColor relleno;                 // rectangles: invalid means not filled
    // Detail fields: left blank while this column holds the same value as on the page's previous
    // record, so that a group's heading shows once, and again at the top of a page it goes on to.
    QString soloAlCambiar;

    static ElementoInforme Etiqueta(const QString& texto, int left, int top, int ancho,
                                    const FuenteInforme& fuente, int alto = 240);
    static ElementoInforme Campo(const QString& columna, int left, int top, int ancho,
                                 const FuenteInforme& fuente, int alto = 240);
    static ElementoInforme Linea(int left, int top, int ancho);
    static ElementoInforme Rectangulo(int left, int top, int ancho, int alto,
                                      const QColor& relleno = QColor());

    ElementoInforme& Alinear(Alineacion a) {
        alineacion = a;
        return *this;
    }
    ElementoInforme& Formatear(FormatoCampo f) {
        formato = f;
        return *this;
    }
    ElementoInforme& Color(const QColor& c) {
        color = c;
        return *this;
    }
    ElementoInforme& Nombre(const QString& n) {
        nombre = n;
        return *this;
    }
    ElementoInforme& SoloAlCambiar(const QString& columna) {
        soloAlCambiar = columna;
        return *this;
    }
};

struct BandaInforme {
    int alto = 0;
    QVector<ElementoInforme> elementos;

    ElementoInforme* Buscar(const QString& nombre);
};

struct DisenoInforme {
    QString nombre;  // dtrOrdenes ...
    QString caption; // the preview window's title
    int anchoInforme = 9360;
    int margenIzquierdo = 720;
    int margenDerecho = 720;
    int margenSuperior = 1440;
    int margenInferior = 1440;
    QPageLayout::Orientation orientacion = QPageLayout::Portrait;
    FuenteInforme fuente; // the layout's default font

    BandaInforme encabezadoInforme; // first page only
    BandaInforme encabezadoPagina;  // every page
    BandaInforme detalle;           // once per record, never split across pages
    BandaInforme piePagina;         // bottom of every page
    BandaInforme pieInforme;        // after the last record
};

// The company name and logo go into the report header; with neither, the header disappears so
// that the page header starts at the top of the first page. The layouts of the program do this
// with gEmpresa and gLogoPath when they are created.
void PrepararEncabezado(DisenoInforme& diseno, const QString& empresa, const QString& logo);

// What one element prints on one page, positions in twips from the paper's top-left corner.
struct TrazoInforme {
    ElementoInforme::Tipo tipo = ElementoInforme::Tipo::Etiqueta;
    QString nombre;
    QRect rect;
    QString texto;
    FuenteInforme fuente;
    Alineacion alineacion = Alineacion::Izquierda;
    QColor color;
    QColor relleno;
    QImage imagen; // pictures only
};

// A layout and a record set laid out into pages. Pages keep only which band goes where and for
// which record; their text is produced when a page is painted or inspected, so a long report
// costs little memory and the page count is known before the first page is painted.
class InformeMaquetado {
public:
    enum class Banda { EncabezadoInforme, EncabezadoPagina, Detalle, PiePagina, PieInforme };

    InformeMaquetado(const DisenoInforme& diseno, const Recordset& rs, const QSize& papelTwips);

    int Paginas() const { return static_cast<int>(paginas_.size()); }
    QVector<TrazoInforme> Contenido(int pagina) const; // pagina from 0
    // The texts of a page, top to bottom and left to right; handy to look at a page.
    QStringList Textos(int pagina) const;

    // Numbers the pages as part of a longer document: `anteriores` pages come before this
    // report's first, `total` in all.
    void Numerar(int anteriores, int total) {
        anteriores_ = anteriores;
        total_ = total;
    }

    // Paints pages desde..hasta (0-based, inclusive; -1 for the last) on the painter's device,
    // whose origin must be the paper's corner. Calls nuevaPagina between pages.
    void Pintar(QPainter& painter, const std::function<bool()>& nuevaPagina, int desde = 0,
                int hasta = -1) const;

private:
    struct Colocacion {
        Banda banda;
        int fila; // record of a detail band, -1 otherwise
        int y;    // twips from the paper's top
    };

    const BandaInforme& BandaDe(Banda b) const;
    QString TextoCampo(const ElementoInforme& e, int columna, int fila) const;
    bool IgualAlAnterior(int elemento, int fila, int anterior) const;
    QString Sustituir(const QString& texto, int pagina) const;

    DisenoInforme diseno_;
    Recordset rs_;
    QSize papel_;
    QVector<QVector<Colocacion>> paginas_;
    // For each band, the record set's column of each of its fields (-1 for other elements or
    // an unknown column), looked up once rather than by name for every record.
    QVector<QVector<int>> columnas_;
    // The detail fields' soloAlCambiar columns, looked up the same way.
    QVector<int> cambios_;
    QImage logo_;
    QString fechaLarga_;
    int anteriores_ = 0;
    int total_ = 0; // 0: this report's own page count
};

// Paper size in twips of a page layout with the layout's orientation.
QSize PapelEnTwips(const QPageLayout& pagina);
// Prints pages desde..hasta (from 0; -1 for the last) on a printer or any paged device, on its
// paper, whose origin must be the paper's corner.
void ImprimirEn(const DisenoInforme& diseno, const Recordset& rs, QPagedPaintDevice& dispositivo,
                int desde = 0, int hasta = -1);
// Writes the report to a PDF file on pages of that size in the layout's orientation, whole or not
// at all; false when the file cannot be written, with the cause in `error`.
bool ExportarPdf(const DisenoInforme& diseno, const Recordset& rs, const QString& archivo,
                 const QPageSize& papel = QPageSize(QPageSize::A4), QString* error = nullptr);
bool ExportarPdf(const DisenoInforme& diseno, const Recordset& rs, const QString& archivo,
                 const QPageLayout& pagina, QString* error = nullptr);
