#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QVariant>
#include <QVector>
#include <cstdint>
#include <memory>
#include <string_view>

// The rows a statement gave back, kept as the engine handed them over and turned into a QVariant
// only when a cell is asked for. A list of a hundred thousand orders has almost three million
// cells, most of them never shown: as QVariants they took five times the memory and most of the
// time of reading them. Numbers are kept as numbers, a date in the stored form as its day and
// second, texts as UTF-8 in one buffer per column where a text repeated down the column (units,
// sectors, products) is kept once. Whatever else a caller puts in is kept as the QVariant given.
//
// Filled a row at a time, before it is copied: one Agregar… per column, in column order, then
// TerminarFila(). Copies share the rows until one of them writes a row (AgregarFila, CambiarFila).
class FilasCompactas {
public:
    FilasCompactas();
    explicit FilasCompactas(int columnas);

    // Rows given as values, kept as given (types included).
    static FilasCompactas DeValores(int columnas, const QVector<QVector<QVariant>>& filas);

    int Columnas() const;
    qsizetype size() const;
    bool isEmpty() const { return size() == 0; }

    void AgregarNulo(int columna);
    void AgregarEntero(int columna, qint64 v); // an int when it fits, a qlonglong otherwise
    void AgregarDoble(int columna, double v);
    void AgregarBooleano(int columna, bool v);
    // The local date and time QDateTime(QDate(anio, mes, dia), QTime(hora, minuto, segundo))
    // gives; the parts must make a valid date and time.
    void AgregarFecha(int columna, int anio, int mes, int dia, int hora, int minuto, int segundo);
    void AgregarTexto(int columna, std::string_view utf8);
    void AgregarBytes(int columna, std::string_view bytes);
    void AgregarValor(int columna, const QVariant& v);
    void TerminarFila();
    // Lets go of what only filling needed.
    void Terminar();
    // The rows read so far, in a copy that does not see the rows added after.
    FilasCompactas Copia() const;

    // Invalid outside the rows and columns, and for NULL.
    QVariant Valor(qsizetype fila, int columna) const;
    QVector<QVariant> Fila(qsizetype fila) const;

    // A row of values written after the read: appended, or put in place of row `fila`.
    void AgregarFila(const QVector<QVariant>& valores);
    void CambiarFila(qsizetype fila, const QVector<QVariant>& valores);

private:
    struct Datos;
    void Separar();

    std::shared_ptr<Datos> d_;
};
