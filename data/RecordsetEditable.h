#pragma once

#include "Recordset.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <functional>

// A record set whose rows can also be added to and changed, and written back to one table by
// its key, one row at a time. The rows as read or last written are a Recordset of their own,
// with its cursor; the row being changed, or the new one, stays apart until Grabar() writes it
// or CancelarCambios() drops it. Leaving the row (any Move or SetAbsolutePosition) drops it too:
// an entry is only ever written on purpose, never because the person clicked another row.
class RecordsetEditable {
public:
    RecordsetEditable(QString tabla, QString clave);

    // Opens (again) for an SQL text on the shared connection, `valores` bound to its ? marks;
    // errors are reported to the user.
    [[nodiscard]] bool Abrir(const QString& sql, const QVariantList& valores = {});
    void Cerrar();

    bool Abierto() const { return guardadas_.Abierto(); }
    const QString& Source() const { return guardadas_.Source(); }
    const QString& Tabla() const { return tabla_; }
    // The rows as read or last written: no pending change, no new row. What a list shows.
    const Recordset& Guardadas() const { return guardadas_; }

    // A new row counts, after the others.
    int RecordCount() const { return guardadas_.RecordCount() + (nueva_ ? 1 : 0); }
    int AbsolutePosition() const;
    void SetAbsolutePosition(int posicion);
    bool Eof() const { return !nueva_ && guardadas_.Eof(); }
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();

    const QStringList& NombresCampos() const { return guardadas_.NombresCampos(); }
    int IndiceCampo(const QString& nombre) const { return guardadas_.IndiceCampo(nombre); }
    // The current row's value, pending change included; invalid for NULL or no current row.
    QVariant Campo(const QString& nombre) const;
    QVariant Campo(int indice) const;
    QString Texto(const QString& nombre) const;

    // AddNew: an empty row at the end, made current, with the given starting values. False when
    // the record set is not open, or when a starting value names no column (the row is added).
    [[nodiscard]] bool AgregarNuevo(const QVariantMap& valores = {});
    bool SetCampo(const QString& nombre, const QVariant& valor);
    bool Modificado() const { return editada_ >= 0; }
    bool EsNuevo() const { return nueva_; }
    // Writes the current row: an INSERT for a new row (which then carries its key and the
    // table's defaults), an UPDATE by key otherwise. One statement: on failure nothing is
    // written, the error is reported and the pending changes stay for another try.
    // `ademas`, given the row's key, runs after the statement and before the row counts as
    // written; when it gives false Grabar does too, and the caller's transaction undoes both.
    [[nodiscard]] bool Grabar(const std::function<bool(const QVariant& clave)>& ademas = {});
    // Drops the pending changes; a new row disappears and the row current before it returns.
    void CancelarCambios();

private:
    // Where the cursor stands, counted from 0: a new row stands one past the rows read.
    qsizetype Actual() const;
    QVector<QVariant> Editada() const;
    void Soltar();
    // The row written by the server's function (clave 0: a new one), giving its key.
    [[nodiscard]] bool GuardarEnServidor(const QStringList& columnas, const QVariantList& valores,
                                         int clave, QVariant* guardada);
    [[nodiscard]] bool Insertar(const QStringList& columnas, const QVariantList& valores,
                                QVariant* clave);
    [[nodiscard]] bool Actualizar(const QStringList& columnas, const QVariantList& valores,
                                  int iClave, QVariant* clave);

    QString tabla_;
    QString clave_;
    Recordset guardadas_;
    // The row being changed (Actual() when it is), or -1; a new row is one past the rows read,
    // where the cursor of guardadas_ then stands.
    qsizetype editada_ = -1;
    bool nueva_ = false;
    qsizetype posAnterior_ = 0; // the cursor before the new row was added
    QHash<int, QVariant> cambios_;
};
