#pragma once

#include "Recordset.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

// A test's own world: a temporary folder with a settings file and a fresh database holding the
// schema and the administrator "korva" (empty password), opened as the shared connection.
class Entorno {
public:
    explicit Entorno(bool abrir = true);
    ~Entorno();

    QString Carpeta() const { return dir_.path(); }
    QString RutaBase() const { return ruta_; }
    QString RutaAjustes() const { return ajustes_; }

    // Runs SQL on the shared connection; fails the test (qFatal) when the engine refuses it.
    Recordset Sql(const QString& sql, const QVariantList& valores = {});
    // First column of the first row, or an invalid QVariant.
    QVariant Valor(const QString& sql, const QVariantList& valores = {});
    int Insertar(const char* comando, const QVariantList& valores);

    // Master data helpers that give the new row's id.
    int Usuario(const QString& login, const QString& clave, const QString& nombre, int solicitar,
                int autorizar, int cumplir);
    int Producto(const QString& descripcion, int catId = 1);
    int Proveedor(const QString& nombre, const QString& razon = QString());

    // With the connection closed: fills "sectores" over several pages, then overwrites the
    // table's first page with rubbish. The schema stays readable, so the file still opens.
    void DanarSectores();

private:
    QTemporaryDir dir_;
    QString ruta_;
    QString ajustes_;
};
