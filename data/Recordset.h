#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// A static, client-side, read-only snapshot of the rows an SQL text produced. Positions are
// 1-based as callers expect: AbsolutePosition() > 0 means "there is a current row".
class Recordset {
public:
    Recordset() = default;

    bool Abierto() const { return abierto_; }
    const QString& Source() const { return source_; }

    int RecordCount() const { return abierto_ ? static_cast<int>(filas_.size()) : 0; }
    int AbsolutePosition() const;
    void SetAbsolutePosition(int posicion);
    bool Eof() const { return !abierto_ || pos_ >= filas_.size(); }
    bool Bof() const { return !abierto_ || pos_ < 0; }
    void MoveFirst() { pos_ = 0; }
    void MoveLast() { pos_ = filas_.size() - 1; }
    void MoveNext();
    void MovePrevious();

    int FieldCount() const { return static_cast<int>(nombres_.size()); }
    QString NombreCampo(int i) const { return nombres_.value(i); }
    const QStringList& NombresCampos() const { return nombres_; }
    int IndiceCampo(const QString& nombre) const; // -1 when the column does not exist
    // The current row's value; an invalid QVariant for NULL, an unknown column or no current row.
    QVariant Campo(const QString& nombre) const;
    QVariant Campo(int indice) const;
    QString Texto(const QString& nombre) const; // NULL and missing as empty text

    // Direct row access for list models that show every row without moving the cursor.
    const QVector<QVariant>& Fila(int i) const { return filas_[i]; }

    void Cerrar();

    // Filled by the data-access module.
    void Abrir(const QString& source, QStringList nombres, QVector<QVector<QVariant>> filas);

private:
    bool abierto_ = false;
    QString source_;
    QStringList nombres_;
    mutable QHash<QString, int> indices_; // lower-case name → column, built on first use
    QVector<QVector<QVariant>> filas_;
    qsizetype pos_ = 0;
};
