#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QString>
#include <array>

// The widths of a list's texts in its font, plain, bold, italic or both, each text measured once.
// Measuring lays the text out in full; a list's descriptions, units and sectors repeat, and in a
// font whose digits are all as wide, dates and amounts differ only in digits, so those are
// measured once per form ("00/00/0000").
class MedidasTexto {
public:
    explicit MedidasTexto(const QFont& fuente);

    const QFont& Fuente() const { return fuente_; }
    int Ancho(const QString& texto, bool negrita, bool cursiva);

private:
    struct Variante {
        QFontMetrics medidas;
        bool digitosIguales;
        QHash<QString, int> anchos;
    };
    static Variante Crear(const QFont& base, bool negrita, bool cursiva);

    QFont fuente_;
    std::array<Variante, 4> variantes_;
};
