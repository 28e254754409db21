#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>

class QAbstractItemModel;

// A list as it goes into a spreadsheet: its column headers and, per row, one value per column.
// Values keep their type (numbers, dates, texts); an invalid or null value is an empty cell.
struct Tabla {
    QString nombre; // sheet name
    QStringList encabezados;
    QVector<QVector<QVariant>> filas;
};

// Asked of a list model for the value a cell holds, rather than the text it shows: a number
// stays a number. A model that does not answer it is exported with its display text.
inline constexpr int kRolValorExportado = Qt::UserRole + 0x5100;

// The rows and columns of a list model, headers as the list shows them.
Tabla TablaDeModelo(const QAbstractItemModel& modelo, const QString& nombre);

// Told the number of rows written so far; false stops the writing (nothing is then written).
using AvanceEscritura = std::function<bool(int filas)>;

// The outcome of writing a file: the file is either written whole or left as it was.
struct ResultadoEscritura {
    bool escrito = false;
    bool cancelado = false;
    QString error;
};
