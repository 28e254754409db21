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
        std::vector<Clase> clases;
        std::vector<quint32> bajos;
        std::vector<quint32> altos;
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
            bajos[f] = static_cast<quint32>(dato);
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
                return QVariant(
                    QDateTime(QDate::fromJulianDay(v / kSegundosDia),
                              QTime::fromMSecsSinceStartOfDay(int(v % kSegundosDia) * 1000)));
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
    const qint64 dias = QDate(anio, mes, dia).toJulianDay();
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
