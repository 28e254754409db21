#pragma once

#include "Recordset.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <QVector>
#include <functional>

// A snapshot like Recordset whose rows can also be added to and changed, and written back to
// one table by its key, one row at a time. Changes stay pending on the current row until
// Grabar() writes them or CancelarCambios() drops them. Leaving the row (any Move or
// SetAbsolutePosition) drops them too: an entry is only ever written on purpose, never because
// the person clicked another row.
class RecordsetEditable {
public:
    RecordsetEditable(QString tabla, QString clave);

    // Opens (again) for an SQL text on the shared connection, `valores` bound to its ? marks;
    // errors are reported to the user.
    bool Abrir(const QString& sql, const QVariantList& valores = {});
    void Cerrar();

    bool Abierto() const { return abierto_; }
    const QString& Source() const { return source_; }
    const QString& Tabla() const { return tabla_; }

    int RecordCount() const { return abierto_ ? static_cast<int>(filas_.size()) : 0; }
    int AbsolutePosition() const;
    void SetAbsolutePosition(int posicion);
    bool Eof() const { return !abierto_ || pos_ >= filas_.size(); }
    bool Bof() const { return !abierto_ || pos_ < 0; }
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();

    int FieldCount() const { return static_cast<int>(nombres_.size()); }
    const QStringList& NombresCampos() const { return nombres_; }
    int IndiceCampo(const QString& nombre) const;
    // The current row's value, pending change included; invalid for NULL or no current row.
    QVariant Campo(const QString& nombre) const;
    QVariant Campo(int indice) const;
    QString Texto(const QString& nombre) const;
    QVector<QVariant> Fila(int i) const;
    // The row as it was read or last written, without pending changes.
    QVector<QVariant> FilaGuardada(int i) const { return filas_.value(i); }

    // AddNew: an empty row at the end, made current, with the given starting values.
    bool AgregarNuevo(const QVariantMap& valores = {});
    bool SetCampo(const QString& nombre, const QVariant& valor);
    bool Modificado() const { return editada_ >= 0; }
    bool EsNuevo() const { return editada_ >= 0 && nueva_; }
    // Writes the current row: an INSERT for a new row (which then carries its key and the
    // table's defaults), an UPDATE by key otherwise. One statement: on failure nothing is
    // written, the error is reported and the pending changes stay for another try.
    // `ademas`, given the row's key, runs after the statement and before the row counts as
    // written; when it gives false Grabar does too, and the caller's transaction undoes both.
    bool Grabar(const std::function<bool(const QVariant& clave)>& ademas = {});
    // Drops the pending changes; a new row disappears and the row current before it returns.
    void CancelarCambios();

private:
    void Soltar();

    QString tabla_;
    QString clave_;
    bool abierto_ = false;
    QString source_;
    QStringList nombres_;
    QHash<QString, int> indices_;
    QVector<QVector<QVariant>> filas_;
    qsizetype pos_ = 0;
    qsizetype editada_ = -1;
    bool nueva_ = false;
    qsizetype posAnterior_ = 0;
    QHash<int, QVariant> cambios_;
};

// The named read queries that the products maintenance window binds to. Every command's record
// set carries its name with "rs" in front. They run on the program's shared connection, so they
// always see the database the rest of the program sees, also after it is reopened.
class dteQuimbel {
public:
    static dteQuimbel& Instancia();

    static constexpr const char* kCProductos = "CProductos";
    static constexpr const char* kMonedas = "Monedas";
    static constexpr const char* kUnidadesDeMedida = "UnidadesDeMedida";
    static constexpr const char* kCCategoriasActivas = "CCategoriasActivas";

    // The command's SQL text (name without regard to case); empty for an unknown command.
    QString ComandoSql(const QString& comando) const;
    bool SetComandoSql(const QString& comando, const QString& sql);
    QString ComandoSqlOriginal(const QString& comando) const;
    void RestaurarComandos();
    // CProductos for every product, or for those whose description contains `texto` (bound as a
    // value, so a quote typed is only a character).
    void TodosLosProductos();
    void BuscarProductos(const QString& texto);
    // CCategoriasActivas also for the deactivated categories that a product still has.
    void IncluirCategoriasUsadas();

    // Closes the command's record set if it is open and opens it with the command's text.
    bool Abrir(const QString& comando);
    void Cerrar(const QString& comando);
    void CerrarTodo();

    RecordsetEditable& rsCProductos() { return productos_; }
    Recordset& rsMonedas() { return monedas_; }
    Recordset& rsUnidadesDeMedida() { return unidades_; }
    Recordset& rsCCategoriasActivas() { return categorias_; }

private:
    dteQuimbel();
    QString Clave(const QString& comando) const;

    QHash<QString, QString> sql_;
    QHash<QString, QVariantList> valores_; // for a command's ? marks
    RecordsetEditable productos_;
    Recordset monedas_;
    Recordset unidades_;
    Recordset categorias_;
};
