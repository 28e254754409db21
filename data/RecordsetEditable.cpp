#include "RecordsetEditable.h"

#include "Conexiones.h"
#include "Ejecutor.h"
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
    if (AbrirRecordset(sql, guardadas_, valores) && guardadas_.Abierto())
        return true;
    guardadas_.source_ = sql;
    return false;
}

void RecordsetEditable::Cerrar() {
    guardadas_.Cerrar();
    editada_ = -1;
    nueva_ = false;
    cambios_.clear();
}

qsizetype RecordsetEditable::Actual() const {
    return guardadas_.pos_;
}

int RecordsetEditable::AbsolutePosition() const {
    return nueva_ ? RecordCount() : guardadas_.AbsolutePosition();
}

void RecordsetEditable::SetAbsolutePosition(int posicion) {
    if (posicion < 1 || posicion > RecordCount() || posicion - 1 == Actual())
        return;
    Soltar();
    guardadas_.SetAbsolutePosition(posicion);
}

void RecordsetEditable::MoveFirst() {
    Soltar();
    guardadas_.MoveFirst();
}

void RecordsetEditable::MoveLast() {
    Soltar();
    guardadas_.MoveLast();
}

void RecordsetEditable::MoveNext() {
    Soltar();
    guardadas_.MoveNext();
}

void RecordsetEditable::MovePrevious() {
    Soltar();
    guardadas_.MovePrevious();
}

// Leaving a row drops what was pending on it. A dropped new row leaves the cursor past the last
// row, where it stood, for the move to start from.
void RecordsetEditable::Soltar() {
    if (editada_ < 0)
        return;
    if (nueva_) {
        nueva_ = false;
        editada_ = -1;
        cambios_.clear();
    } else {
        CancelarCambios();
    }
}

QVariant RecordsetEditable::Campo(const QString& nombre) const {
    return Campo(IndiceCampo(nombre));
}

QVariant RecordsetEditable::Campo(int indice) const {
    if (AbsolutePosition() <= 0 || indice < 0 || indice >= NombresCampos().size())
        return {};
    if (Actual() == editada_) {
        const auto it = cambios_.constFind(indice);
        if (it != cambios_.constEnd())
            return *it;
    }
    return nueva_ ? QVariant() : guardadas_.Campo(indice);
}

QString RecordsetEditable::Texto(const QString& nombre) const {
    const QVariant v = Campo(nombre);
    return v.isNull() ? QString() : v.toString();
}

QVector<QVariant> RecordsetEditable::Editada() const {
    QVector<QVariant> fila =
        nueva_ ? QVector<QVariant>(NombresCampos().size()) : guardadas_.Fila(editada_);
    for (auto it = cambios_.constBegin(); it != cambios_.constEnd(); ++it)
        fila[it.key()] = it.value();
    return fila;
}

bool RecordsetEditable::AgregarNuevo(const QVariantMap& valores) {
    if (!Abierto())
        return false;
    const qsizetype anterior = Actual();
    CancelarCambios();
    posAnterior_ = anterior;
    guardadas_.pos_ = guardadas_.filas_.size();
    editada_ = guardadas_.pos_;
    nueva_ = true;
    bool todos = true;
    for (auto it = valores.constBegin(); it != valores.constEnd(); ++it)
        todos = SetCampo(it.key(), it.value()) && todos;
    return todos;
}

bool RecordsetEditable::SetCampo(const QString& nombre, const QVariant& valor) {
    const int i = IndiceCampo(nombre);
    if (AbsolutePosition() <= 0 || i < 0)
        return false;
    if (editada_ != Actual()) {
        CancelarCambios();
        editada_ = Actual();
        nueva_ = false;
    }
    cambios_.insert(i, valor);
    return true;
}

void RecordsetEditable::CancelarCambios() {
    if (editada_ < 0)
        return;
    if (nueva_)
        guardadas_.pos_ = qBound<qsizetype>(0, posAnterior_, guardadas_.filas_.size());
    editada_ = -1;
    nueva_ = false;
    cambios_.clear();
}

bool RecordsetEditable::GuardarEnServidor(const QStringList& columnas, const QVariantList& valores,
                                          int clave, QVariant* guardada) {
    QVariantList v{tabla_, clave};
    QStringList marcas;
    for (int i = 0; i < columnas.size(); ++i) {
        v << QString(columnas[i]).remove(QLatin1Char('"')) << valores.value(i);
        marcas << QStringLiteral("?,?");
    }
    Recordset rs;
    if (!AbrirRecordsetEn(
            Conexion(),
            QStringLiteral("SELECT quimbel_fila_guardar(?, ?, VARIADIC ARRAY[%1]::text[])")
                .arg(marcas.join(QLatin1Char(','))),
            rs, v))
        return false;
    *guardada = rs.Campo(0);
    return true;
}

bool RecordsetEditable::Insertar(const QStringList& columnas, const QVariantList& valores,
                                 QVariant* clave) {
    if (Motor::Protegida(Conexion()))
        return GuardarEnServidor(columnas, valores, 0, clave);
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
    return InsertarEn(Conexion(), sql, Nombre(clave_), valores, clave);
}

bool RecordsetEditable::Actualizar(const QStringList& columnas, const QVariantList& valores,
                                   int iClave, QVariant* clave) {
    *clave = guardadas_.Valor(static_cast<int>(editada_), iClave);
    if (iClave < 0 || !clave->isValid()) {
        ReportarError(QStringLiteral("No se sabe qué fila de \"%1\" actualizar.").arg(tabla_));
        return false;
    }
    if (columnas.isEmpty())
        return true;
    // A person's role of a protected server writes the row through the server's function.
    if (Motor::Protegida(Conexion())) {
        QVariant guardada;
        return GuardarEnServidor(columnas, valores, clave->toInt(), &guardada);
    }
    QStringList asignaciones;
    for (const QString& c : columnas)
        asignaciones << c + QStringLiteral("=?");
    const QString sql = QStringLiteral("UPDATE ") + Nombre(tabla_) + QStringLiteral(" SET ") +
                        asignaciones.join(QLatin1Char(',')) + QStringLiteral(" WHERE ") +
                        Nombre(clave_) + QStringLiteral("=?");
    Recordset rs;
    if (!AbrirRecordsetEn(Conexion(), sql, rs, valores + QVariantList{*clave}))
        return false;
    if (Motor::Cambios(Conexion()) == 0) {
        ReportarError(QStringLiteral("La fila que se quería actualizar ya no existe: puede que "
                                     "otro puesto la haya eliminado."));
        return false;
    }
    return true;
}

bool RecordsetEditable::Grabar(const std::function<bool(const QVariant& clave)>& ademas) {
    if (editada_ < 0 || editada_ != Actual())
        return true;
    const int iClave = IndiceCampo(clave_);
    QStringList columnas;
    QVariantList valores;
    for (auto it = cambios_.constBegin(); it != cambios_.constEnd(); ++it) {
        if (it.key() == iClave)
            continue;
        columnas << Nombre(NombresCampos()[it.key()]);
        valores << it.value();
    }
    QVariant clave;
    if (nueva_ ? !Insertar(columnas, valores, &clave)
               : !Actualizar(columnas, valores, iClave, &clave))
        return false;
    // The row as stored, defaults of the table included.
    QVector<QVariant> fila = Editada();
    Recordset leida;
    if (AbrirRecordsetEn(Conexion(),
                         QStringLiteral("SELECT * FROM ") + Nombre(tabla_) +
                             QStringLiteral(" WHERE ") + Nombre(clave_) + QStringLiteral("=?"),
                         leida, {clave}) &&
        leida.AbsolutePosition() > 0) {
        for (int i = 0; i < NombresCampos().size(); ++i) {
            const int j = leida.IndiceCampo(NombresCampos()[i]);
            if (j >= 0)
                fila[i] = leida.Campo(j);
        }
    } else if (iClave >= 0) {
        fila[iClave] = clave;
    }
    if (ademas && !ademas(clave))
        return false;
    if (nueva_)
        guardadas_.filas_.AgregarFila(fila);
    else
        guardadas_.filas_.CambiarFila(editada_, fila);
    editada_ = -1;
    nueva_ = false;
    cambios_.clear();
    return true;
}
