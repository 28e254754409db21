#include "Recordset.h"

int Recordset::AbsolutePosition() const {
    if (!abierto_ || filas_.isEmpty() || pos_ < 0 || pos_ >= filas_.size())
        return -1;
    return static_cast<int>(pos_) + 1;
}

void Recordset::SetAbsolutePosition(int posicion) {
    if (posicion >= 1 && posicion <= filas_.size())
        pos_ = posicion - 1;
}

void Recordset::MoveNext() {
    if (pos_ < filas_.size())
        ++pos_;
}

void Recordset::MovePrevious() {
    if (pos_ >= 0)
        --pos_;
}

int Recordset::IndiceCampo(const QString& nombre) const {
    // Built on first use: most snapshots of a save are read by position and never need it.
    if (indices_.isEmpty() && !nombres_.isEmpty())
        for (int i = 0; i < nombres_.size(); ++i)
            if (const QString n = nombres_[i].toLower(); !indices_.contains(n))
                indices_.insert(n, i);
    return indices_.value(nombre.toLower(), -1);
}

QVariant Recordset::Campo(const QString& nombre) const {
    return Campo(IndiceCampo(nombre));
}

QVariant Recordset::Campo(int indice) const {
    if (!abierto_ || pos_ < 0 || pos_ >= filas_.size() || indice < 0 || indice >= nombres_.size())
        return {};
    return filas_[pos_][indice];
}

QVariant Recordset::Valor(int fila, int columna) const {
    if (!abierto_ || fila < 0 || fila >= filas_.size())
        return {};
    return filas_[fila].value(columna);
}

QString Recordset::Texto(const QString& nombre) const {
    const QVariant v = Campo(nombre);
    return v.isNull() ? QString() : v.toString();
}

void Recordset::Cerrar() {
    abierto_ = false;
    filas_.clear();
    filas_.squeeze();
    pos_ = 0;
}

void Recordset::Abrir(const QString& source, QStringList nombres,
                      QVector<QVector<QVariant>> filas) {
    source_ = source;
    nombres_ = std::move(nombres);
    indices_.clear();
    filas_ = std::move(filas);
    pos_ = 0;
    abierto_ = true;
}
