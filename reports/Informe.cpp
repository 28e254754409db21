#include "Informe.h"

#include "ArchivoPdf.h"

#include "Formato.h"
#include "Reloj.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <list>

QFont FuenteInforme::Fuente() const {
    QFont f(familia);
    f.setPointSizeF(puntos);
    f.setWeight(static_cast<QFont::Weight>(peso));
    return f;
}

namespace {

ElementoInforme Caja(ElementoInforme::Tipo tipo, int left, int top, int ancho, int alto) {
    ElementoInforme e;
    e.tipo = tipo;
    e.left = left;
    e.top = top;
    e.ancho = ancho;
    e.alto = alto;
    return e;
}

} // namespace

ElementoInforme ElementoInforme::Etiqueta(const QString& texto, int left, int top, int ancho,
                                          const FuenteInforme& fuente, int alto) {
    ElementoInforme e = Caja(Tipo::Etiqueta, left, top, ancho, alto);
    e.texto = texto;
    e.fuente = fuente;
    return e;
}

ElementoInforme ElementoInforme::Campo(const QString& columna, int left, int top, int ancho,
                                       const FuenteInforme& fuente, int alto) {
    ElementoInforme e = Etiqueta(columna, left, top, ancho, fuente, alto);
    e.tipo = Tipo::Campo;
    return e;
}

ElementoInforme ElementoInforme::Linea(int left, int top, int ancho) {
    return Caja(Tipo::Linea, left, top, ancho, 0);
}

ElementoInforme ElementoInforme::Rectangulo(int left, int top, int ancho, int alto,
                                            const QColor& relleno) {
    ElementoInforme e = Caja(Tipo::Rectangulo, left, top, ancho, alto);
    e.relleno = relleno;
    return e;
}

ElementoInforme* BandaInforme::Buscar(const QString& nombre) {
    for (auto& e : elementos)
        if (e.nombre == nombre)
            return &e;
    return nullptr;
}

void PrepararEncabezado(DisenoInforme& diseno, const QString& empresa, const QString& logo) {
    BandaInforme& banda = diseno.encabezadoInforme;
    if (!logo.isEmpty() || !empresa.isEmpty()) {
        if (auto* lbl = banda.Buscar(QStringLiteral("lblEmpresa")))
            lbl->texto = empresa;
        if (auto* img = banda.Buscar(QStringLiteral("imgLogo")))
            img->texto = logo;
    } else {
        banda.alto = 0;
    }
}

namespace {

constexpr double kTwipsPorPulgada = 1440.0;
// Lines and frames as thin as a screen pixel is wide.
constexpr double kGrosorLinea = 15.0;

QString TextoConFormato(const QVariant& v, FormatoCampo formato) {
    if (!v.isValid() || v.isNull())
        return {};
    const bool esFecha = v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate;
    switch (formato) {
    case FormatoCampo::Plano:
        break;
    case FormatoCampo::FechaHora:
        if (esFecha)
            return v.toDateTime().toString(QStringLiteral("dd/MM/yy HH:mm"));
        break;
    case FormatoCampo::Fecha:
        if (esFecha)
            return v.toDateTime().toString(QStringLiteral("dd/MM/yyyy"));
        break;
    case FormatoCampo::Hora:
        if (esFecha)
            return v.toDateTime().toString(QStringLiteral("HH:mm"));
        break;
    case FormatoCampo::Booleano:
        return v.toBool() ? QStringLiteral("Si") : QStringLiteral("No");
    }
    return Formato::Valor(v);
}

} // namespace

InformeMaquetado::InformeMaquetado(const DisenoInforme& diseno, const Recordset& rs,
                                   const QSize& papelTwips)
    : diseno_(diseno), rs_(rs), papel_(papelTwips) {
    fechaLarga_ = QLocale().toString(Reloj::Hoy(), QLocale::LongFormat);
    for (Banda b : {Banda::EncabezadoInforme, Banda::EncabezadoPagina, Banda::Detalle,
                    Banda::PiePagina, Banda::PieInforme}) {
        QVector<int> columnas;
        for (const ElementoInforme& e : BandaDe(b).elementos)
            columnas.append(e.tipo == ElementoInforme::Tipo::Campo ? rs_.IndiceCampo(e.texto) : -1);
        columnas_.append(columnas);
    }
    for (const ElementoInforme& e : diseno_.detalle.elementos)
        cambios_.append(e.soloAlCambiar.isEmpty() ? -1 : rs_.IndiceCampo(e.soloAlCambiar));

    if (diseno_.encabezadoInforme.alto > 0)
        if (auto* img = diseno_.encabezadoInforme.Buscar(QStringLiteral("imgLogo")))
            if (!img->texto.isEmpty())
                logo_.load(img->texto); // an unreadable file leaves the box empty

    const int arriba = diseno_.margenSuperior;
    const int limite = papel_.height() - diseno_.margenInferior - diseno_.piePagina.alto;

    QVector<Colocacion> pagina;
    int y = arriba;
    bool conDetalle = false;
    auto empezarPagina = [&] {
        pagina.clear();
        y = arriba;
        conDetalle = false;
        if (paginas_.isEmpty() && diseno_.encabezadoInforme.alto > 0) {
            pagina.append({Banda::EncabezadoInforme, -1, y});
            y += diseno_.encabezadoInforme.alto;
        }
        if (diseno_.encabezadoPagina.alto > 0) {
            pagina.append({Banda::EncabezadoPagina, -1, y});
            y += diseno_.encabezadoPagina.alto;
        }
    };
    auto cerrarPagina = [&] {
        if (diseno_.piePagina.alto > 0)
            pagina.append({Banda::PiePagina, -1, limite});
        paginas_.append(pagina);
    };

    empezarPagina();
    const int filas = rs_.RecordCount();
    const int altoDetalle = diseno_.detalle.alto;
    for (int fila = 0; fila < filas; ++fila) {
        // A band taller than an empty page still goes on a page of its own.
        if (y + altoDetalle > limite && conDetalle) {
            cerrarPagina();
            empezarPagina();
        }
        pagina.append({Banda::Detalle, fila, y});
        y += altoDetalle;
        conDetalle = true;
    }
    // An empty report footer would only push a blank page out.
    if (diseno_.pieInforme.alto > 0 && !diseno_.pieInforme.elementos.isEmpty()) {
        if (y + diseno_.pieInforme.alto > limite && conDetalle) {
            cerrarPagina();
            empezarPagina();
        }
        pagina.append({Banda::PieInforme, -1, y});
    }
    cerrarPagina();
}

const BandaInforme& InformeMaquetado::BandaDe(Banda b) const {
    switch (b) {
    case Banda::EncabezadoInforme:
        return diseno_.encabezadoInforme;
    case Banda::EncabezadoPagina:
        return diseno_.encabezadoPagina;
    case Banda::Detalle:
        return diseno_.detalle;
    case Banda::PiePagina:
        return diseno_.piePagina;
    case Banda::PieInforme:
        break;
    }
    return diseno_.pieInforme;
}

QString InformeMaquetado::TextoCampo(const ElementoInforme& e, int columna, int fila) const {
    if (columna < 0 || fila < 0 || fila >= rs_.RecordCount())
        return {};
    return TextoConFormato(rs_.Valor(fila, columna), e.formato);
}

QString InformeMaquetado::Sustituir(const QString& texto, int pagina) const {
    if (!texto.contains(QLatin1Char('%')))
        return texto;
    QString t = texto;
    t.replace(QLatin1String("%D"), fechaLarga_);
    t.replace(QLatin1String("%p"), QString::number(anteriores_ + pagina + 1));
    t.replace(QLatin1String("%P"), QString::number(total_ > 0 ? total_ : Paginas()));
    return t;
}

bool InformeMaquetado::IgualAlAnterior(int elemento, int fila, int anterior) const {
    const int columna = cambios_.value(elemento, -1);
    return columna >= 0 && anterior >= 0 &&
           rs_.Valor(anterior, columna) == rs_.Valor(fila, columna);
}

QVector<TrazoInforme> InformeMaquetado::Contenido(int pagina) const {
    QVector<TrazoInforme> trazos;
    if (pagina < 0 || pagina >= paginas_.size())
        return trazos;
    const int x0 = diseno_.margenIzquierdo;
    int anterior = -1; // the page's previous detail record
    for (const Colocacion& c : paginas_[pagina]) {
        const BandaInforme& banda = BandaDe(c.banda);
        const QVector<int>& columnas = columnas_[static_cast<int>(c.banda)];
        const bool detalle = c.banda == Banda::Detalle;
        for (qsizetype i = 0; i < banda.elementos.size(); ++i) {
            const ElementoInforme& e = banda.elementos[i];
            TrazoInforme t;
            t.tipo = e.tipo;
            t.nombre = e.nombre;
            t.rect = QRect(x0 + e.left, c.y + e.top, e.ancho, e.alto);
            t.fuente = e.fuente;
            t.alineacion = e.alineacion;
            t.color = e.color;
            t.relleno = e.relleno;
            switch (e.tipo) {
            case ElementoInforme::Tipo::Etiqueta:
                t.texto = Sustituir(e.texto, pagina);
                break;
            case ElementoInforme::Tipo::Campo:
                if (t.nombre.isEmpty())
                    t.nombre = e.texto;
                if (!detalle || !IgualAlAnterior(int(i), c.fila, anterior))
                    t.texto = TextoCampo(e, columnas[i], c.fila);
                break;
            case ElementoInforme::Tipo::Imagen: {
                if (logo_.isNull() || e.nombre != QLatin1String("imgLogo"))
                    continue;
                // Fitted into the box keeping its proportions, centred.
                const QSize s = logo_.size().scaled(t.rect.size(), Qt::KeepAspectRatio);
                t.rect =
                    QRect(t.rect.x() + (t.rect.width() - s.width()) / 2,
                          t.rect.y() + (t.rect.height() - s.height()) / 2, s.width(), s.height());
                t.texto = e.texto;
                t.imagen = logo_;
                break;
            }
            case ElementoInforme::Tipo::Linea:
            case ElementoInforme::Tipo::Rectangulo:
                break;
            }
            trazos.append(t);
        }
        if (detalle)
            anterior = c.fila;
    }
    return trazos;
}

QStringList InformeMaquetado::Textos(int pagina) const {
    QVector<TrazoInforme> trazos = Contenido(pagina);
    std::stable_sort(trazos.begin(), trazos.end(), [](const auto& a, const auto& b) {
        return a.rect.y() != b.rect.y() ? a.rect.y() < b.rect.y() : a.rect.x() < b.rect.x();
    });
    QStringList r;
    for (const auto& t : trazos)
        if (!t.texto.isEmpty() && t.tipo != ElementoInforme::Tipo::Imagen)
            r << t.texto;
    return r;
}

namespace {

// True when the text surely fits the width. Only characters the report's own font holds count:
// a fallback font's glyph (an emoji, a CJK character) may be wider than the font's widest.
bool CabeSinMedir(const QString& texto, const QFontMetricsF& metricas, double ancho) {
    if (texto.size() * metricas.maxWidth() > ancho)
        return false;
    return std::all_of(texto.begin(), texto.end(), [](QChar c) { return c.unicode() < 0x250; });
}

// The widths measured while painting, by font. A list repeats its quantities, units and
// currencies row after row, and measuring a text shapes it just as drawing it does.
class AnchosMedidos {
public:
    double Ancho(const FuenteInforme& fuente, const QFontMetricsF& metricas, const QString& texto) {
        if (!actual_ || !(actual_->fuente == fuente))
            actual_ = &DeFuente(fuente);
        QHash<QString, double>& anchos = actual_->anchos;
        if (const auto it = anchos.constFind(texto); it != anchos.cend())
            return *it;
        // Values seen once (dates, prices) would otherwise pile up over a long report.
        if (anchos.size() >= kMaximo)
            anchos.clear();
        return *anchos.insert(texto, metricas.horizontalAdvance(texto));
    }

private:
    static constexpr qsizetype kMaximo = 4096;
    struct DeUnaFuente {
        FuenteInforme fuente;
        QHash<QString, double> anchos;
    };
    DeUnaFuente& DeFuente(const FuenteInforme& fuente) {
        for (DeUnaFuente& f : fuentes_)
            if (f.fuente == fuente)
                return f;
        return fuentes_.emplace_back(DeUnaFuente{fuente, {}});
    }
    std::list<DeUnaFuente> fuentes_; // a list: actual_ points into it
    DeUnaFuente* actual_ = nullptr;
};

} // namespace

void InformeMaquetado::Pintar(QPainter& painter, const std::function<bool()>& nuevaPagina,
                              int desde, int hasta) const {
    QPaintDevice* dev = painter.device();
    const double sx = dev->logicalDpiX() / kTwipsPorPulgada;
    const double sy = dev->logicalDpiY() / kTwipsPorPulgada;
    auto aDispositivo = [&](const QRect& r) {
        return QRectF(r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy);
    };
    if (hasta < 0 || hasta >= Paginas())
        hasta = Paginas() - 1;
    desde = std::max(desde, 0);

    FuenteInforme fuenteActual;
    QFont fuente = fuenteActual.Fuente();
    painter.setFont(fuente);
    QFontMetricsF metricas(fuente, dev);
    AnchosMedidos anchos;

    for (int p = desde; p <= hasta; ++p) {
        if (p > desde && !nuevaPagina())
            return;
        for (const TrazoInforme& t : Contenido(p)) {
            const QRectF r = aDispositivo(t.rect);
            switch (t.tipo) {
            case ElementoInforme::Tipo::Rectangulo:
                if (t.relleno.isValid())
                    painter.fillRect(r, t.relleno);
                else {
                    painter.setPen(QPen(t.color, kGrosorLinea * sx));
                    painter.setBrush(Qt::NoBrush);
                    painter.drawRect(r);
                }
                break;
            case ElementoInforme::Tipo::Linea:
                painter.setPen(QPen(t.color, kGrosorLinea * sy));
                painter.drawLine(r.topLeft(), r.topRight());
                break;
            case ElementoInforme::Tipo::Imagen:
                painter.drawImage(r, t.imagen);
                break;
            case ElementoInforme::Tipo::Etiqueta:
            case ElementoInforme::Tipo::Campo: {
                if (t.texto.isEmpty())
                    break;
                if (!(t.fuente == fuenteActual)) {
                    fuenteActual = t.fuente;
                    fuente = fuenteActual.Fuente();
                    painter.setFont(fuente);
                    metricas = QFontMetricsF(fuente, dev);
                }
                painter.setPen(t.color);
                int flags = Qt::AlignTop;
                flags |= t.alineacion == Alineacion::Centro    ? Qt::AlignHCenter
                         : t.alineacion == Alineacion::Derecha ? Qt::AlignRight
                                                               : Qt::AlignLeft;
                const double linea = metricas.lineSpacing();
                const int lineas = static_cast<int>(std::floor(r.height() / linea));
                // Measuring a text shapes it as drawing it does again: a left-aligned text
                // that fits even with every character at the font's widest is not measured.
                const bool sinMedir = lineas >= 2 || (t.alineacion == Alineacion::Izquierda &&
                                                      CabeSinMedir(t.texto, metricas, r.width()));
                const double ancho = sinMedir ? 0 : anchos.Ancho(fuenteActual, metricas, t.texto);
                if (lineas >= 2) {
                    // Boxes tall enough for several lines wrap, showing whole lines only.
                    QRectF caja(r.x(), r.y(), r.width(), lineas * linea);
                    painter.save();
                    painter.setClipRect(caja);
                    painter.drawText(caja, flags | Qt::TextWordWrap, t.texto);
                    painter.restore();
                } else if (t.tipo == ElementoInforme::Tipo::Campo &&
                           t.alineacion == Alineacion::Izquierda && ancho > r.width()) {
                    // A long value never runs into the next column. Fixed labels, and the
                    // short right-aligned or centred values (prices, currencies, flags), may
                    // overhang rather than lose their first letters. Drawn at a point inside
                    // the clip: laying it out in a box would only clip it once more.
                    painter.save();
                    painter.setClipRect(
                        QRectF(r.x(), r.y(), r.width(), std::max(r.height(), linea)));
                    painter.drawText(QPointF(r.x(), r.y() + metricas.ascent()), t.texto);
                    painter.restore();
                } else {
                    // Placed by hand: a long list has tens of thousands of these, and drawing
                    // at a point is much cheaper than laying text out in a box.
                    double x = r.x();
                    if (t.alineacion == Alineacion::Centro)
                        x += (r.width() - ancho) / 2;
                    else if (t.alineacion == Alineacion::Derecha)
                        x += r.width() - ancho;
                    painter.drawText(QPointF(x, r.y() + metricas.ascent()), t.texto);
                }
                break;
            }
            }
        }
    }
}

QSize PapelEnTwips(const QPageLayout& pagina) {
    const QRectF r = pagina.fullRect(QPageLayout::Inch);
    return QSize(qRound(r.width() * kTwipsPorPulgada), qRound(r.height() * kTwipsPorPulgada));
}

void ImprimirEn(const DisenoInforme& diseno, const Recordset& rs, QPagedPaintDevice& dispositivo,
                int desde, int hasta) {
    InformeMaquetado informe(diseno, rs, PapelEnTwips(dispositivo.pageLayout()));
    QPainter painter;
    if (!painter.begin(&dispositivo))
        return;
    informe.Pintar(
        painter, [&dispositivo] { return dispositivo.newPage(); }, desde, hasta);
    painter.end();
}

bool ExportarPdf(const DisenoInforme& diseno, const Recordset& rs, const QString& archivo,
                 const QPageSize& papel, QString* error) {
    return ExportarPdf(diseno, rs, archivo,
                       QPageLayout(papel, diseno.orientacion, QMarginsF(0, 0, 0, 0)), error);
}

bool ExportarPdf(const DisenoInforme& diseno, const Recordset& rs, const QString& archivo,
                 const QPageLayout& pagina, QString* error) {
    return EscribirPdf(
        archivo,
        [&](QPdfWriter& pdf) {
            QPageLayout sinMargenes = pagina;
            sinMargenes.setMinimumMargins(QMarginsF(0, 0, 0, 0));
            sinMargenes.setMargins(QMarginsF(0, 0, 0, 0));
            pdf.setPageLayout(sinMargenes);
            pdf.setTitle(diseno.caption);
            InformeMaquetado informe(diseno, rs, PapelEnTwips(sinMargenes));
            QPainter painter;
            if (!painter.begin(&pdf))
                return false;
            informe.Pintar(painter, [&pdf] { return pdf.newPage(); });
            return painter.end();
        },
        error);
}
