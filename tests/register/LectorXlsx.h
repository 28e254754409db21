#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVector>

// Reads back the first sheet of an XLSX file as a spreadsheet program sees it: texts, numbers,
// booleans, and dates (numbers whose cell format is a date format). Empty on any damage.
namespace LectorXlsx {
QByteArray Entrada(const QString& archivo, const QString& nombre); // one member of the zip
QVector<QVector<QVariant>> Hoja(const QString& archivo);
} // namespace LectorXlsx
