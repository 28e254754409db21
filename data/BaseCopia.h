#pragma once

#include "Copia.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>
#include <memory>

// Where a table or column name is in `nombres`, letter case aside as the engines take it; -1
// when it is not.
qsizetype PosicionNombre(const QStringList& nombres, const QString& nombre);

// One side of a whole-database copy: a database of the program on a connection of its own,
// whose failures go into the copy's result in words for the user.
class BaseCopia {
public:
    // `esOrigen`: what is read from rather than written to, so that damaged pages are told as a
    // damaged source and not as a failed write.
    BaseCopia(const QString& conexion, const QString& ruta, bool esOrigen, int esperaMs,
              ResultadoCopia* r);
    virtual ~BaseCopia();
    BaseCopia(const BaseCopia&) = delete;
    BaseCopia& operator=(const BaseCopia&) = delete;

    // Opens the connection and checks that it holds the whole schema.
    bool Abrir();
    // Starts the transaction that reads every table as of one moment.
    bool EmpezarLectura();
    bool EsServidor() const;
    QSqlDatabase& Db() { return db_; }
    const QString& Ruta() const { return ruta_; }
    // The database's name as the user's messages show it.
    QString Nombre() const;

    bool Falla(ResultadoCopia::Estado e, const QString& causa);
    bool FallaSql(const QSqlError& e, const QString& que);
    bool Sql(const QString& sql, const QString& que, const QVariantList& valores = {},
             QSqlQuery* salida = nullptr);
    bool Valor(const QString& sql, const QString& que, QVariant* v,
               const QVariantList& valores = {});
    bool Contar(const QString& tabla, qint64* filas);
    // The next key the table's counter would give, which may lie past the highest key when the
    // last rows were deleted.
    bool SiguienteClave(const QString& tabla, const QString& clave, qint64* siguiente);

protected:
    // Closes the connection, rolling back what is still open.
    void Cerrar();
    bool enTransaccion_ = false;
    const int esperaMs_;
    ResultadoCopia* r_;

private:
    QStringList VerificarServidor();

    const QString conexion_;
    const QString ruta_;
    const bool esOrigen_;
    QSqlDatabase db_;
};

// The side written to: created with the schema when it does not exist yet, filled in one
// transaction, left exactly as it was (or removed, when created here) unless Confirmar succeeds.
class DestinoCopia : public BaseCopia {
public:
    DestinoCopia(const QString& ruta, int esperaMs, ResultadoCopia* r);
    ~DestinoCopia() override;

    // Creates a missing file, gives an empty server database the schema, and opens it.
    bool Preparar();
    // Takes the write lock and refuses a database that already holds rows.
    bool Empezar();
    // The columns of a table as the destination has them, and its key column.
    bool Columnas(const QString& tabla, QStringList* nombres, QString* clave);
    // The kind of value each column keeps: the server's own column types, the file's declared
    // ones (which the file engine's driver reports as text for dates).
    QList<QMetaType::Type> Tipos(const QString& tabla, const QStringList& columnas);
    // Rows of one table, given in the order of `columnas` (all of Columnas when empty; those left
    // out take their defaults); batched into few statements. A row the destination refuses is
    // named by its key.
    bool EmpezarTabla(const QString& tabla, const QStringList& columnas = {});
    bool Agregar(const QVariantList& fila);
    // Writes what is left and compares the rows found in the destination with those read.
    bool TerminarTabla(qint64 leidas, qint64 enOrigen);
    // Sets the table's key counter so that the next key given is `siguiente` or more.
    bool FijarContador(const QString& tabla, const QString& clave, qint64 siguiente);
    bool Confirmar();
    bool Confirmada() const { return confirmada_; }

private:
    bool DestinoVacio();
    QString Insercion(int filas) const;
    bool Escribir(QSqlQuery& q);
    bool NombrarFilaRechazada(const QVariantList& lote, const QSqlError& error);

    struct Tabla;
    std::unique_ptr<Tabla> tabla_;
    bool creado_ = false;
    bool confirmada_ = false;
};
