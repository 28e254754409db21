#pragma once

#include <QVariant>
#include <QVector>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

// The text and date columns of a list repeat from row to row (units, sectors, cost centres,
// products, an order's quote dates): each distinct value of a column is converted once per read
// and the rest of its cells share it, which saves the conversion and a heap block per cell. A
// column that keeps bringing new values stops being remembered but for its last one, so unique
// texts cost only the few look-ups before it gives up.
class ValoresRepetidos {
public:
    explicit ValoresRepetidos(int columnas) : columnas_(columnas) {}

    // `convertir` turns the raw text into the value when this column has not seen it yet.
    template <class Convertir>
    QVariant Valor(int columna, std::string_view texto, Convertir&& convertir) {
        Columna& c = columnas_[columna];
        if (c.olvidada) {
            // Still worth it for runs of one value (the quotes of an order share their date).
            if (texto != c.ultimoTexto) {
                c.ultimoTexto.assign(texto);
                c.ultimo = convertir();
            }
            return c.ultimo;
        }
        if (const auto it = c.vistos.find(texto); it != c.vistos.end())
            return it->second;
        QVariant v = convertir();
        if (c.vistos.size() >= kDistintos) {
            c.olvidada = true;
            c.vistos = {};
            c.ultimoTexto.assign(texto);
            c.ultimo = v;
        } else {
            c.vistos.emplace(std::string(texto), v);
        }
        return v;
    }

private:
    // Enough for the sectors, cost centres and products of a large installation, small enough
    // that a column of unique texts (descriptions, notes) is given up after a few rows.
    static constexpr size_t kDistintos = 4096;

    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    struct Columna {
        std::unordered_map<std::string, QVariant, Hash, std::equal_to<>> vistos;
        bool olvidada = false;
        std::string ultimoTexto;
        QVariant ultimo;
    };
    QVector<Columna> columnas_;
};
