#pragma once

#include "FilasCompactas.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class RecordsetEditable;

// A static, client-side, read-only snapshot of the rows an SQL text produced. Positions are
// 1-based as callers expect: AbsolutePosition() > 0 means "there is a current row". The rows are
// kept compact (FilasCompactas) and each value is made when it is asked for: a caller reading
// many cells reads them where they are, by Valor or Campo, rather than copying rows by Fila.
class Recordset {
public:
    Recordset() = default;

    bool Abierto() const { return abierto_; }
    const QString& Source() const { return source_; }

    int RecordCount() const { return abierto_ ? static_cast<int>(filas_.size()) : 0; }
    int AbsolutePosition() const;
    // A position outside 1..RecordCount() leaves the cursor where it is.
    void SetAbsolutePosition(int posicion);
    bool Eof() const { return !abierto_ || pos_ >= filas_.size(); }
    void MoveFirst() { pos_ = 0; }
    void MoveLast() { pos_ = filas_.size() - 1; }
    void MoveNext();
    void MovePrevious();

    QString NombreCampo(int i) const { return nombres_.value(i); }
    const QStringList& NombresCampos() const { return nombres_; }
    int IndiceCampo(const QString& nombre) const; // -1 when the column does not exist
    // The current row's value; an invalid QVariant for NULL, an unknown column or no current row.
    QVariant Campo(const QString& nombre) const;
    QVariant Campo(int indice) const;
    QString Texto(const QString& nombre) const; // NULL and missing as empty text

    // Any row's value without moving the cursor, for lists that show every row; invalid outside
    // the rows and columns.
    QVariant Valor(int fila, int columna) const;
    // A copy of a whole row, for callers that keep it apart from the record set.
    QVector<QVariant> Fila(int i) const { return filas_.Fila(i); }

    void Cerrar();

    // Filled by the data-access module, or by a caller that has rows of its own to show.
    void Abrir(const QString& source, QStringList nombres, const QVector<QVector<QVariant>>& filas);
    void Abrir(const QString& source, QStringList nombres, FilasCompactas filas);

private:
    // The editable record set keeps its rows as read or written here, and moves this cursor.
    friend class RecordsetEditable;

    bool abierto_ = false;
    QString source_;
    QStringList nombres_;
    mutable QHash<QString, int> indices_; // lower-case name → column, built on first use
    FilasCompactas filas_;
    qsizetype pos_ = 0;
};
