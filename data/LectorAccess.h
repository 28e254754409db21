#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>

// A database file of the Jet engine (the older and the newer format) read through libmdb: its
// tables, their columns and their rows as the program's values. The file is opened for reading
// only and never written.
class LectorAccess {
public:
    LectorAccess();
    ~LectorAccess();
    LectorAccess(const LectorAccess&) = delete;
    LectorAccess& operator=(const LectorAccess&) = delete;

    // Whether the file begins as a Jet database does, whatever its name.
    static bool EsArchivoAccess(const QString& ruta);

    // False, with the reason in Error(), when the file cannot be read as a whole: not a Jet
    // database, cut short, or held open by the engine of another program.
    bool Abrir(const QString& ruta);
    QString Error() const;
    // The failure was a lock held by another program, which may end.
    bool EnUso() const;
    // The tables the file's users made, as the file spells them.
    QStringList Tablas() const;

    // Starts reading a table (named without regard to case): its columns in the file's order,
    // the rows its definition says it holds and the number its counter would give next (0 when
    // it has none).
    bool AbrirTabla(const QString& tabla, QStringList* columnas, qint64* filasDeclaradas,
                    qint64* siguienteClave = nullptr);
    // The next row, one value per column: empty for null, bool for yes/no, qint64 for whole
    // numbers, double for decimal numbers and currency, QDateTime, QString. False at the end or
    // on a failure, which leaves Error() set.
    bool Siguiente(QVariantList* fila);

private:
    bool CatalogoEntero();

    struct Estado;
    std::unique_ptr<Estado> e_;
};
