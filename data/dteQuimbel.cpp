#include "dteQuimbel.h"

#include "Conexiones.h"
#include "Mensajes.h"
#include "Motor.h"

#include <sqlite3.h>

namespace {

// Quoted in lower case: the file engine compares names without regard to case, and the server
// folds the unquoted names of the schema to lower case.
QString Nombre(const QString& identificador) {
    QString r = identificador.toLower();
    return QLatin1Char('"') + r.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// Failures found here rather than by the engine get the same report the data-access module gives.
void ReportarError(const QString& descripcion) {
    Mensajes::MsgBox(QStringLiteral("Error número: ") + QString::number(SQLITE_ERROR) +
                     QLatin1Char('\r') + descripcion);
}

} // namespace

RecordsetEditable::RecordsetEditable(QString tabla, QString clave)
    : tabla_(std::move(tabla)), clave_(std::move(clave)) {}

bool RecordsetEditable::Abrir(const QString& sql, const QVariantList& valores) {
    Cerrar();
    source_ = sql;
    Recordset rs;
    if (!AbrirRecordset(sql, rs, valores) || !rs.Abierto())
        return false;
    nombres_ = rs.NombresCampos();
    indices_.clear();
    for (int i = 0; i < nombres_.size(); ++i)
        if (!indices_.contains(nombres_[i].toLower()))
            indices_.insert(nombres_[i].toLower(), i);
    filas_.reserve(rs.RecordCount());
    for (int i = 0; i < rs.RecordCount(); ++i)
        filas_.append(rs.Fila(i));
    pos_ = 0;
    abierto_ = true;
    return true;
}

void RecordsetEditable::Cerrar() {
    abierto_ = false;
    filas_.clear();
    pos_ = 0;
    editada_ = -1;
    nueva_ = false;
    cambios_.clear();
}

int RecordsetEditable::AbsolutePosition() const {
    if (!abierto_ || filas_.isEmpty() || pos_ < 0 || pos_ >= filas_.size())
        return -1;
    return static_cast<int>(pos_) + 1;
}

void RecordsetEditable::SetAbsolutePosition(int posicion) {
    if (posicion < 1 || posicion > filas_.size() || posicion - 1 == pos_)
        return;
    Soltar();
    pos_ = qMin<qsizetype>(posicion - 1, filas_.size() - 1);
}

void RecordsetEditable::MoveFirst() {
    Soltar();
    pos_ = 0;
}

void RecordsetEditable::MoveLast() {
    Soltar();
    pos_ = filas_.size() - 1;
}

void RecordsetEditable::MoveNext() {
    Soltar();
    if (pos_ < filas_.size())
        ++pos_;
}

void RecordsetEditable::MovePrevious() {
    Soltar();
    if (pos_ >= 0)
        --pos_;
}

// Leaving a row drops what was pending on it; a dropped new row also shifts nothing before it,
// because it is always the last row.
void RecordsetEditable::Soltar() {
    if (editada_ < 0)
        return;
    if (nueva_) {
        const qsizetype destino = pos_;
        CancelarCambios();
        pos_ = destino;
    } else {
        CancelarCambios();
    }
}

int RecordsetEditable::IndiceCampo(const QString& nombre) const {
    return indices_.value(nombre.toLower(), -1);
}

QVariant RecordsetEditable::Campo(const QString& nombre) const {
    return Campo(IndiceCampo(nombre));
}

QVariant RecordsetEditable::Campo(int indice) const {
    if (AbsolutePosition() <= 0 || indice < 0 || indice >= nombres_.size())
        return {};
    if (pos_ == editada_) {
        const auto it = cambios_.constFind(indice);
        if (it != cambios_.constEnd())
            return *it;
    }
    return filas_[pos_][indice];
}

QString RecordsetEditable::Texto(const QString& nombre) const {
    const QVariant v = Campo(nombre);
    return v.isNull() ? QString() : v.toString();
}

QVector<QVariant> RecordsetEditable::Fila(int i) const {
    QVector<QVariant> fila = filas_.value(i);
    if (i == editada_)
        for (auto it = cambios_.constBegin(); it != cambios_.constEnd(); ++it)
            fila[it.key()] = it.value();
    return fila;
}

bool RecordsetEditable::AgregarNuevo(const QVariantMap& valores) {
    if (!abierto_)
        return false;
    const qsizetype anterior = pos_;
    CancelarCambios();
    filas_.append(QVector<QVariant>(nombres_.size()));
    posAnterior_ = anterior;
    pos_ = filas_.size() - 1;
    editada_ = pos_;
    nueva_ = true;
    for (auto it = valores.constBegin(); it != valores.constEnd(); ++it)
        SetCampo(it.key(), it.value());
    return true;
}

bool RecordsetEditable::SetCampo(const QString& nombre, const QVariant& valor) {
    const int i = IndiceCampo(nombre);
    if (AbsolutePosition() <= 0 || i < 0)
        return false;
    if (editada_ != pos_) {
        CancelarCambios();
        editada_ = pos_;
        nueva_ = false;
    }
    cambios_.insert(i, valor);
    return true;
}

void RecordsetEditable::CancelarCambios() {
    if (editada_ < 0)
        return;
    if (nueva_) {
        filas_.removeAt(editada_);
        pos_ = qBound<qsizetype>(0, posAnterior_, filas_.size());
    }
    editada_ = -1;
    nueva_ = false;
    cambios_.clear();
}

bool RecordsetEditable::Grabar(const std::function<bool(const QVariant& clave)>& ademas) {
    if (editada_ < 0 || editada_ != pos_)
        return true;
    const QSqlDatabase& db = gConexion;
    const int iClave = IndiceCampo(clave_);
    QStringList columnas;
    QVariantList valores;
    for (auto it = cambios_.constBegin(); it != cambios_.constEnd(); ++it) {
        if (it.key() == iClave)
            continue;
        columnas << Nombre(nombres_[it.key()]);
        valores << it.value();
    }
    Recordset rs;
    QVariant clave;
    if (nueva_) {
        QString sql = QStringLiteral("INSERT INTO ") + Nombre(tabla_);
        if (columnas.isEmpty()) {
            sql += QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList marcas;
            for (int i = 0; i < columnas.size(); ++i)
                marcas << QStringLiteral("?");
            sql += QStringLiteral(" (") + columnas.join(QLatin1Char(',')) +
                   QStringLiteral(") VALUES (") + marcas.join(QLatin1Char(',')) + QLatin1Char(')');
        }
        if (!InsertarEn(db, sql, Nombre(clave_), valores, &clave))
            return false;
    } else {
        clave = filas_[editada_].value(iClave);
        if (iClave < 0 || !clave.isValid()) {
            ReportarError(QStringLiteral("No se sabe qué fila de \"%1\" actualizar.").arg(tabla_));
            return false;
        }
        if (!columnas.isEmpty()) {
            QStringList asignaciones;
            for (const QString& c : columnas)
                asignaciones << c + QStringLiteral("=?");
            const QString sql = QStringLiteral("UPDATE ") + Nombre(tabla_) +
                                QStringLiteral(" SET ") + asignaciones.join(QLatin1Char(',')) +
                                QStringLiteral(" WHERE ") + Nombre(clave_) + QStringLiteral("=?");
            if (!AbrirRecordsetEn(db, sql, rs, valores + QVariantList{clave}))
                return false;
            if (Motor::Cambios(db) == 0) {
                ReportarError(QStringLiteral("La fila que se quería actualizar ya no existe: "
                                             "puede que otro puesto la haya eliminado."));
                return false;
            }
        }
    }
    // The row as stored, defaults of the table included.
    QVector<QVariant> fila = Fila(static_cast<int>(editada_));
    Recordset leida;
    if (AbrirRecordsetEn(db,
                         QStringLiteral("SELECT * FROM ") + Nombre(tabla_) +
                             QStringLiteral(" WHERE ") + Nombre(clave_) + QStringLiteral("=?"),
                         leida, {clave}) &&
        leida.AbsolutePosition() > 0) {
        for (int i = 0; i < nombres_.size(); ++i) {
            const int j = leida.IndiceCampo(nombres_[i]);
            if (j >= 0)
                fila[i] = leida.Campo(j);
        }
    } else if (iClave >= 0) {
        fila[iClave] = clave;
    }
    if (ademas && !ademas(clave))
        return false;
    filas_[editada_] = fila;
    editada_ = -1;
    nueva_ = false;
    cambios_.clear();
    return true;
}

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
    SetComandoSql(c, ComandoSqlOriginal(c));
}

void dteQuimbel::BuscarProductos(const QString& texto) {
    const QString c = Clave(QLatin1String(kCProductos));
    SetComandoSql(c, QStringLiteral("SELECT * FROM PRODUCTOS WHERE INSTR(PRODESCRIPCION,?)"));
    valores_.insert(c, {texto});
}

void dteQuimbel::IncluirCategoriasUsadas() {
    SetComandoSql(QLatin1String(kCCategoriasActivas),
                  QStringLiteral("SELECT * FROM CATEGORIAS WHERE CATDESACTIVADA=FALSE OR CATID "
                                 "IN(SELECT CATID FROM PRODUCTOS) ORDER BY CATDESCRIPCION ASC"));
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
