#include "dteQuimbel.h"

#include "Conexiones.h"

dteQuimbel& dteQuimbel::Instancia() {
    static dteQuimbel d;
    return d;
}

dteQuimbel::dteQuimbel() : productos_(QStringLiteral("productos"), QStringLiteral("ProId")) {
    RestaurarComandos();
}

QString dteQuimbel::ComandoSqlOriginal(const QString& comando) const {
    const QString c = Clave(comando);
    if (c == QLatin1String("cproductos"))
        return QStringLiteral("SELECT * FROM PRODUCTOS ORDER BY PRODESCRIPCION ASC");
    if (c == QLatin1String("monedas"))
        return QStringLiteral("SELECT DISTINCT ProMoneda FROM PRODUCTOS ORDER BY ProMoneda ASC");
    if (c == QLatin1String("unidadesdemedida"))
        return QStringLiteral(
            "SELECT DISTINCT ProUnidadMedida FROM PRODUCTOS ORDER BY ProUnidadMedida ASC");
    if (c == QLatin1String("ccategoriasactivas"))
        return QStringLiteral(
            "SELECT * FROM CATEGORIAS WHERE CATDESACTIVADA=FALSE order BY CatDescripcion ASC");
    return {};
}

QString dteQuimbel::Clave(const QString& comando) const {
    return comando.toLower();
}

void dteQuimbel::RestaurarComandos() {
    for (const char* c : {kCProductos, kMonedas, kUnidadesDeMedida, kCCategoriasActivas})
        sql_.insert(Clave(QLatin1String(c)), ComandoSqlOriginal(QLatin1String(c)));
    valores_.clear();
}

void dteQuimbel::TodosLosProductos() {
    const QString c = Clave(QLatin1String(kCProductos));
    static_cast<void>(SetComandoSql(c, ComandoSqlOriginal(c)));
}

void dteQuimbel::BuscarProductos(const QString& texto) {
    const QString c = Clave(QLatin1String(kCProductos));
    static_cast<void>(
        SetComandoSql(c, QStringLiteral("SELECT * FROM PRODUCTOS WHERE INSTR(PRODESCRIPCION,?)")));
    valores_.insert(c, {texto});
}

void dteQuimbel::IncluirCategoriasUsadas() {
    static_cast<void>(SetComandoSql(
        QLatin1String(kCCategoriasActivas),
        QStringLiteral("SELECT * FROM CATEGORIAS WHERE CATDESACTIVADA=FALSE OR CATID "
                       "IN(SELECT CATID FROM PRODUCTOS) ORDER BY CATDESCRIPCION ASC")));
}

QString dteQuimbel::ComandoSql(const QString& comando) const {
    return sql_.value(Clave(comando));
}

bool dteQuimbel::SetComandoSql(const QString& comando, const QString& sql) {
    if (!sql_.contains(Clave(comando)))
        return false;
    sql_.insert(Clave(comando), sql);
    valores_.remove(Clave(comando));
    return true;
}

bool dteQuimbel::Abrir(const QString& comando) {
    const QString c = Clave(comando);
    const QString sql = sql_.value(c);
    const QVariantList valores = valores_.value(c);
    if (c == QLatin1String("cproductos"))
        return productos_.Abrir(sql, valores);
    Recordset* rs = c == QLatin1String("monedas")              ? &monedas_
                    : c == QLatin1String("unidadesdemedida")   ? &unidades_
                    : c == QLatin1String("ccategoriasactivas") ? &categorias_
                                                               : nullptr;
    if (!rs)
        return false;
    CerrarRecordset(*rs, true);
    return AbrirRecordset(sql, *rs, valores);
}

void dteQuimbel::Cerrar(const QString& comando) {
    const QString c = Clave(comando);
    if (c == QLatin1String("cproductos"))
        productos_.Cerrar();
    else if (c == QLatin1String("monedas"))
        CerrarRecordset(monedas_, true);
    else if (c == QLatin1String("unidadesdemedida"))
        CerrarRecordset(unidades_, true);
    else if (c == QLatin1String("ccategoriasactivas"))
        CerrarRecordset(categorias_, true);
}

void dteQuimbel::CerrarTodo() {
    for (const char* c : {kCProductos, kMonedas, kUnidadesDeMedida, kCCategoriasActivas})
        Cerrar(QLatin1String(c));
}
