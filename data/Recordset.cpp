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
    return filas_.Valor(pos_, indice);
}

QVariant Recordset::Valor(int fila, int columna) const {
    if (!abierto_ || fila < 0 || fila >= filas_.size())
        return {};
    return filas_.Valor(fila, columna);
}

QString Recordset::Texto(const QString& nombre) const {
    const QVariant v = Campo(nombre);
    return v.isNull() ? QString() : v.toString();
}

void Recordset::Cerrar() {
    abierto_ = false;
    filas_ = FilasCompactas();
    pos_ = 0;
}

void Recordset::Abrir(const QString& source, QStringList nombres,
                      const QVector<QVector<QVariant>>& filas) {
    // A row of the caller's may be wider than the names it gave: Valor still reaches it.
    qsizetype columnas = nombres.size();
    for (const QVector<QVariant>& f : filas)
        columnas = qMax(columnas, f.size());
    Abrir(source, std::move(nombres), FilasCompactas::DeValores(int(columnas), filas));
}

void Recordset::Abrir(const QString& source, QStringList nombres, FilasCompactas filas) {
    source_ = source;
    nombres_ = std::move(nombres);
    indices_.clear();
    filas_ = std::move(filas);
    pos_ = 0;
    abierto_ = true;
}
