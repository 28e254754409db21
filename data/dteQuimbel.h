#pragma once

#include "Recordset.h"
#include "RecordsetEditable.h"

#include <QHash>
#include <QString>

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
    [[nodiscard]] bool SetComandoSql(const QString& comando, const QString& sql);
    QString ComandoSqlOriginal(const QString& comando) const;
    void RestaurarComandos();
    // CProductos for every product, or for those whose description contains `texto` (bound as a
    // value, so a quote typed is only a character).
    void TodosLosProductos();
    void BuscarProductos(const QString& texto);
    // CCategoriasActivas also for the deactivated categories that a product still has.
    void IncluirCategoriasUsadas();

    // Closes the command's record set if it is open and opens it with the command's text.
    [[nodiscard]] bool Abrir(const QString& comando);
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
