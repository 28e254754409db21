#include "Entorno.h"

#include "Conexiones.h"
#include "Esquema.h"
#include "Mensajes.h"
#include "Usuario.h"

#include <QFile>
#include <QtGlobal>
#include <sqlite3.h>

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

void Entorno::DanarSectores() {
    sqlite3* db = Esquema::AbrirArchivo(ruta_, false, nullptr);
    sqlite3_stmt* st = nullptr;
    int pagina = 0;
    int tamano = 0;
    if (sqlite3_exec(db,
                     "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE i<400) "
                     "INSERT INTO sectores (SecDescripcion) SELECT printf('Sector %0200d', i) "
                     "FROM k",
                     nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db,
                           "SELECT rootpage, (SELECT page_size FROM pragma_page_size) FROM "
                           "sqlite_master WHERE name = 'sectores'",
                           -1, &st, nullptr) != SQLITE_OK ||
        sqlite3_step(st) != SQLITE_ROW)
        qFatal("No se pudo preparar la base dañada: %s", sqlite3_errmsg(db));
    pagina = sqlite3_column_int(st, 0);
    tamano = sqlite3_column_int(st, 1);
    sqlite3_finalize(st);
    sqlite3_close(db);
    QFile f(ruta_);
    if (!f.open(QIODevice::ReadWrite) || !f.seek(qint64(pagina - 1) * tamano) ||
        f.write(QByteArray(tamano, '\x5a')) != tamano)
        qFatal("No se pudo dañar la base de pruebas");
}
