#include "Entorno.h"

#include "Conexiones.h"
#include "Esquema.h"
#include "Mensajes.h"
#include "Usuario.h"

#include <QtGlobal>

Entorno::Entorno(bool abrir) {
    ruta_ = dir_.filePath(QStringLiteral("bdquimbel.mdb"));
    ajustes_ = dir_.filePath(QStringLiteral("quimbel.ini"));
    qputenv("QUIMBEL_SETTINGS", ajustes_.toUtf8());
    Mensajes::Limpiar();
    QString error;
    if (!Esquema::Crear(ruta_, &error))
        qFatal("No se pudo crear la base de pruebas: %s", qPrintable(error));
    CrearOrigenDeDatos(QString::fromLatin1(kOrigenDeDatos), ruta_);
    if (!AbrirConexion(QString::fromLatin1(kOrigenDeDatos), QString()))
        qFatal("No se pudo abrir la base de pruebas");
    Insertar("usuario_insertar",
             {QStringLiteral("korva"), QString(), QStringLiteral("Korva Administrador"), 1, 1, 1});
    gLogin = QStringLiteral("korva");
    if (!abrir)
        CerrarConexion();
}

Entorno::~Entorno() {
    CerrarConexion();
    Mensajes::Limpiar();
}

Recordset Entorno::Sql(const QString& sql, const QVariantList& valores) {
    Recordset rs;
    if (!AbrirRecordset(sql, rs, valores))
        qFatal("SQL rechazado en la prueba: %s", qPrintable(sql));
    return rs;
}

QVariant Entorno::Valor(const QString& sql, const QVariantList& valores) {
    Recordset rs = Sql(sql, valores);
    return rs.AbsolutePosition() > 0 ? rs.Campo(0) : QVariant();
}

int Entorno::Insertar(const char* comando, const QVariantList& valores) {
    Recordset rs;
    if (!EjecutarComando(QString::fromLatin1(comando), rs, valores))
        qFatal("Comando rechazado en la prueba: %s", comando);
    return Valor(QStringLiteral("SELECT last_insert_rowid()")).toInt();
}

int Entorno::Usuario(const QString& login, const QString& clave, const QString& nombre,
                     int solicitar, int autorizar, int cumplir) {
    return Insertar("usuario_insertar",
                    {login, CodificarClave(clave), nombre, solicitar, autorizar, cumplir});
}

int Entorno::Producto(const QString& descripcion, int catId) {
    Sql(QStringLiteral("INSERT INTO productos (ProDescripcion, CatId, ProUnidadMedida, ProMoneda, "
                       "ProCosto, ProPrecio, ProMinimo) VALUES (?, ?, 'Unidad', 'Pesos', 0, 0, 0)"),
        {descripcion, catId});
    return Valor(QStringLiteral("SELECT last_insert_rowid()")).toInt();
}

int Entorno::Proveedor(const QString& nombre, const QString& razon) {
    QVariantList v{nombre, razon};
    for (int i = 0; i < 12; ++i)
        v << QString();
    return Insertar("proveedor_insertar", v);
}
