#include "FilasCompactas.h"

#include <QDate>
#include <QTime>
#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

enum class Clase : quint8 { Nulo, Entero, Doble, Booleano, Fecha, Texto, Bytes, Valor };

// Enough for the sectors, cost centres and products of a large installation, small enough that a
// column of unique texts (descriptions, notes) stops being looked up after a few rows.
constexpr size_t kDistintos = 4096;
constexpr qint64 kSegundosDia = 86400;
// Dates are counted in seconds from 1 January 1900, so that those up to 2036 fit in the low half
// and a date column takes four bytes a cell; earlier and later ones keep their high half.
constexpr qint64 kDiaBase = 2415021;

// A column's cells in blocks of a fixed size: growing never moves the cells already there, and at
// most one block is spare. A vector that doubles as it grows holds up to twice the cells, and
// three times while it moves them; at a hundred thousand orders that was most of the list's peak.
template <typename T> class Tramos {
public:
    bool empty() const { return n_ == 0; }
    size_t size() const { return n_; }
    T operator[](size_t i) const { return tramos_[i / kTramo][i % kTramo]; }
    T& operator[](size_t i) { return tramos_[i / kTramo][i % kTramo]; }
    void push_back(T v) {
        if (n_ % kTramo == 0) {
            tramos_.emplace_back();
            tramos_.back().reserve(kTramo);
        }
        tramos_.back().push_back(v);
        ++n_;
    }
    void assign(size_t n, T v) {
        tramos_.clear();
        n_ = 0;
        for (size_t i = 0; i < n; ++i)
            push_back(v);
    }
    void shrink_to_fit() {
        if (!tramos_.empty())
            tramos_.back().shrink_to_fit();
    }

private:
    static constexpr size_t kTramo = 8192;
    std::vector<std::vector<T>> tramos_;
    size_t n_ = 0;
};

// The low halves of a column's cells, each kept in as few bytes as the largest so far needs (1, 2
// or 4), in blocks as Tramos: flags, small counts and the entries of a column of a few repeated
// texts take a byte or two a cell instead of four.
class Estrechos {
public:
    size_t size() const { return n_; }
    quint32 operator[](size_t i) const {
        const quint8* p = tramos_[i / kTramo].data() + (i % kTramo) * ancho_;
        if (ancho_ == 1)
            return *p;
        if (ancho_ == 2) {
            quint16 v;
            std::memcpy(&v, p, sizeof v);
            return v;
        }
        quint32 v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    void Fijar(size_t i, quint32 v) {
        Ensanchar(v);
        Poner(tramos_[i / kTramo].data() + (i % kTramo) * ancho_, v);
    }
    void push_back(quint32 v) {
        Ensanchar(v);
        if (n_ % kTramo == 0) {
            tramos_.emplace_back();
            tramos_.back().reserve(kTramo * ancho_);
        }
        std::vector<quint8>& t = tramos_.back();
        t.resize(t.size() + ancho_);
        Poner(t.data() + t.size() - ancho_, v);
        ++n_;
    }
    void shrink_to_fit() {
        if (!tramos_.empty())
            tramos_.back().shrink_to_fit();
    }

private:
    static constexpr size_t kTramo = 8192;

    static size_t AnchoDe(quint32 v) { return v <= 0xFF ? 1 : v <= 0xFFFF ? 2 : 4; }
    void Poner(quint8* p, quint32 v) const {
        if (ancho_ == 1) {
            *p = static_cast<quint8>(v);
        } else if (ancho_ == 2) {
            const auto c = static_cast<quint16>(v);
            std::memcpy(p, &c, sizeof c);
        } else {
            std::memcpy(p, &v, sizeof v);
        }
    }
    // The cells so far rewritten at the width `v` needs, when it needs more than they have.
    void Ensanchar(quint32 v) {
        const size_t nuevo = AnchoDe(v);
        if (nuevo <= ancho_)
            return;
        Estrechos ancho;
        ancho.ancho_ = nuevo;
        for (size_t i = 0; i < n_; ++i)
            ancho.push_back((*this)[i]);
        *this = std::move(ancho);
    }

    size_t ancho_ = 1;
    std::vector<std::vector<quint8>> tramos_;
    size_t n_ = 0;
};

struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

} // namespace

// One column: each cell's class (or the one class all of them share) and a 64-bit datum per
// cell, in two halves so that the high one is only kept once a value needs it (doubles, dates,
// large or negative numbers). A text's or a byte string's datum is its entry in the column's
// buffer; a value's, its place among the column's values.
struct FilasCompactas::Datos {
    struct Columna {
        Clase comun = Clase::Nulo; // the class of every cell, while `clases` is empty
        Tramos<Clase> clases;
        Estrechos bajos;
        Tramos<quint32> altos;
        QByteArray textos;
        std::vector<qint64> inicios{0}; // entry k is textos[inicios[k], inicios[k + 1])
        QVector<QVariant> valores;
        // While filling: the entries of the texts seen, until there are too many to remember.
        std::unordered_map<std::string, quint32, Hash, std::equal_to<>> vistos;
        bool olvidada = false;

        Clase ClaseDe(qsizetype f) const { return clases.empty() ? comun : clases[f]; }
        quint64 Dato(qsizetype f) const {
            return bajos[f] | (altos.empty() ? 0 : quint64(altos[f]) << 32);
        }
        std::string_view Entrada(quint64 k) const {
            return {textos.constData() + inicios[k], size_t(inicios[k + 1] - inicios[k])};
        }

        void Agregar(Clase k, quint64 dato) {
            const size_t n = bajos.size();
            if (!clases.empty()) {
                clases.push_back(k);
            } else if (n == 0) {
                comun = k;
            } else if (k != comun) {
                clases.assign(n, comun);
                clases.push_back(k);
            }
            bajos.push_back(static_cast<quint32>(dato));
            const auto alto = static_cast<quint32>(dato >> 32);
            if (!altos.empty()) {
                altos.push_back(alto);
            } else if (alto != 0) {
                altos.assign(n, 0);
                altos.push_back(alto);
            }
        }

        void Fijar(qsizetype f, Clase k, quint64 dato) {
            if (clases.empty() && k != comun)
                clases.assign(bajos.size(), comun);
            if (!clases.empty())
                clases[f] = k;
            bajos.Fijar(f, static_cast<quint32>(dato));
            const auto alto = static_cast<quint32>(dato >> 32);
            if (altos.empty() && alto != 0)
                altos.assign(bajos.size(), 0);
            if (!altos.empty())
                altos[f] = alto;
        }

        quint64 NuevaEntrada(std::string_view t) {
            textos.append(t.data(), static_cast<qsizetype>(t.size()));
            inicios.push_back(textos.size());
            return inicios.size() - 2;
        }

        // A text repeated down the column is kept once; a column that keeps bringing new texts
        // is given up but for runs of one text (the quotes of an order share their date).
        quint64 EntradaDe(std::string_view t) {
            if (olvidada) {
                const quint64 ultima = inicios.size() - 2;
                if (inicios.size() > 1 && Entrada(ultima) == t)
                    return ultima;
                return NuevaEntrada(t);
            }
            if (const auto it = vistos.find(t); it != vistos.end())
                return it->second;
            const quint64 k = NuevaEntrada(t);
            if (vistos.size() >= kDistintos) {
                olvidada = true;
                vistos = {};
            } else {
                vistos.emplace(std::string(t), static_cast<quint32>(k));
            }
            return k;
        }

        quint64 ValorNuevo(const QVariant& v) {
            valores.append(v);
            return static_cast<quint64>(valores.size() - 1);
        }

        QVariant Valor(qsizetype f) const {
            const quint64 d = Dato(f);
            switch (ClaseDe(f)) {
            case Clase::Nulo:
                return {};
            case Clase::Entero: {
                const auto v = static_cast<qint64>(d);
                if (v >= INT_MIN && v <= INT_MAX)
                    return QVariant(static_cast<int>(v));
                return QVariant(static_cast<qlonglong>(v));
            }
            case Clase::Doble: {
                double v = 0;
                std::memcpy(&v, &d, sizeof v);
                return QVariant(v);
            }
            case Clase::Booleano:
                return QVariant(d != 0);
            case Clase::Fecha: {
                const auto v = static_cast<qint64>(d);
                qint64 dia = v / kSegundosDia;
                qint64 segundo = v % kSegundosDia;
                if (segundo < 0) {
                    segundo += kSegundosDia;
                    --dia;
                }
                return QVariant(QDateTime(QDate::fromJulianDay(dia + kDiaBase),
                                          QTime::fromMSecsSinceStartOfDay(int(segundo) * 1000)));
            }
            case Clase::Texto: {
                const std::string_view t = Entrada(d);
                return QVariant(QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
            }
            case Clase::Bytes: {
                const std::string_view t = Entrada(d);
                return QVariant(QByteArray(t.data(), static_cast<qsizetype>(t.size())));
            }
            case Clase::Valor:
                return valores[static_cast<qsizetype>(d)];
            }
            return {};
        }
    };

    std::vector<Columna> columnas;
    qsizetype filas = 0;
};

FilasCompactas::FilasCompactas() = default;

FilasCompactas::FilasCompactas(int columnas) : d_(std::make_shared<Datos>()) {
    d_->columnas.resize(static_cast<size_t>(qMax(columnas, 0)));
}

FilasCompactas FilasCompactas::DeValores(int columnas, const QVector<QVector<QVariant>>& filas) {
    FilasCompactas r(columnas);
    for (const QVector<QVariant>& f : filas)
        r.AgregarFila(f);
    return r;
}

int FilasCompactas::Columnas() const {
    return d_ ? static_cast<int>(d_->columnas.size()) : 0;
}

qsizetype FilasCompactas::size() const {
    return d_ ? d_->filas : 0;
}

void FilasCompactas::AgregarNulo(int columna) {
    d_->columnas[columna].Agregar(Clase::Nulo, 0);
}

void FilasCompactas::AgregarEntero(int columna, qint64 v) {
    d_->columnas[columna].Agregar(Clase::Entero, static_cast<quint64>(v));
}

void FilasCompactas::AgregarDoble(int columna, double v) {
    quint64 d = 0;
    std::memcpy(&d, &v, sizeof d);
    d_->columnas[columna].Agregar(Clase::Doble, d);
}

void FilasCompactas::AgregarBooleano(int columna, bool v) {
    d_->columnas[columna].Agregar(Clase::Booleano, v ? 1 : 0);
}

void FilasCompactas::AgregarFecha(int columna, int anio, int mes, int dia, int hora, int minuto,
                                  int segundo) {
    const qint64 dias = QDate(anio, mes, dia).toJulianDay() - kDiaBase;
    const qint64 v = dias * kSegundosDia + hora * 3600 + minuto * 60 + segundo;
    d_->columnas[columna].Agregar(Clase::Fecha, static_cast<quint64>(v));
}

void FilasCompactas::AgregarTexto(int columna, std::string_view utf8) {
    Datos::Columna& c = d_->columnas[columna];
    c.Agregar(Clase::Texto, c.EntradaDe(utf8));
}

void FilasCompactas::AgregarBytes(int columna, std::string_view bytes) {
    Datos::Columna& c = d_->columnas[columna];
    c.Agregar(Clase::Bytes, c.NuevaEntrada(bytes));
}

void FilasCompactas::AgregarValor(int columna, const QVariant& v) {
    Datos::Columna& c = d_->columnas[columna];
    if (!v.isValid())
        c.Agregar(Clase::Nulo, 0);
    else
        c.Agregar(Clase::Valor, c.ValorNuevo(v));
}

void FilasCompactas::TerminarFila() {
    ++d_->filas;
}

void FilasCompactas::Terminar() {
    if (!d_)
        return;
    for (Datos::Columna& c : d_->columnas) {
        c.vistos = {};
        c.olvidada = true;
        c.clases.shrink_to_fit();
        c.bajos.shrink_to_fit();
        c.altos.shrink_to_fit();
        c.inicios.shrink_to_fit();
        c.textos.squeeze();
    }
}

FilasCompactas FilasCompactas::Copia() const {
    FilasCompactas r;
    if (d_)
        r.d_ = std::make_shared<Datos>(*d_);
    r.Terminar();
    return r;
}

QVariant FilasCompactas::Valor(qsizetype fila, int columna) const {
    if (!d_ || fila < 0 || fila >= d_->filas || columna < 0 || columna >= Columnas())
        return {};
    return d_->columnas[columna].Valor(fila);
}

QVector<QVariant> FilasCompactas::Fila(qsizetype fila) const {
    if (!d_ || fila < 0 || fila >= d_->filas)
        return {};
    QVector<QVariant> r(Columnas());
    for (int c = 0; c < r.size(); ++c)
        r[c] = d_->columnas[c].Valor(fila);
    return r;
}

void FilasCompactas::Separar() {
    if (!d_)
        d_ = std::make_shared<Datos>();
    else if (d_.use_count() > 1)
        d_ = std::make_shared<Datos>(*d_);
}

void FilasCompactas::AgregarFila(const QVector<QVariant>& valores) {
    Separar();
    for (int c = 0; c < Columnas(); ++c)
        AgregarValor(c, valores.value(c));
    TerminarFila();
}

void FilasCompactas::CambiarFila(qsizetype fila, const QVector<QVariant>& valores) {
    if (fila < 0 || fila >= size())
        return;
    Separar();
    for (int c = 0; c < Columnas(); ++c) {
        Datos::Columna& col = d_->columnas[c];
        const QVariant v = valores.value(c);
        if (!v.isValid())
            col.Fijar(fila, Clase::Nulo, 0);
        else
            col.Fijar(fila, Clase::Valor, col.ValorNuevo(v));
    }
}
