#include "Esquema.h"

#include "CadenaHistorial.h"
#include "Contrasena.h"
#include "Dialecto.h"
#include "ErrorMotor.h"
#include "EsquemaDefinicion.h"
#include "Origen.h"

#include <QFileInfo>
#include <sqlite3.h>

namespace Esquema {

// Text columns compare without regard to case for every Spanish letter (collation ES_CI).
const char* const kTablas = R"SQL(
CREATE TABLE ordenes (
    OrdId INTEGER PRIMARY KEY AUTOINCREMENT,
    OrdFecha DATETIME,
    OrdCantidad DOUBLE,
    OrdUnidadMedida TEXT COLLATE ES_CI,
    ProId INTEGER,
    OrdComentario TEXT COLLATE ES_CI,
    OrdLugarEntrega TEXT COLLATE ES_CI,
    OrdPrioridad TEXT COLLATE ES_CI,
    SecId INTEGER,
    CenCosId INTEGER,
    SolicitanteId INTEGER,
    AutorizanteId INTEGER DEFAULT 0,
    UsuLogin TEXT COLLATE ES_CI,
    OrdEstado TEXT COLLATE ES_CI NOT NULL DEFAULT 'Pendiente',
    ProcesadoId INTEGER DEFAULT 0
);
CREATE INDEX ordenes_estado ON ordenes (OrdEstado);
CREATE TABLE precios (
    PreId INTEGER PRIMARY KEY AUTOINCREMENT,
    OrdId INTEGER NOT NULL,
    EmpId INTEGER,
    PreContacto TEXT COLLATE ES_CI,
    PrePrecio DOUBLE,
    PreMoneda TEXT COLLATE ES_CI,
    PreFormaPago TEXT COLLATE ES_CI,
    PreFecha DATE,
    PreFecVigencia DATE,
    PreAceptado BOOLEAN NOT NULL DEFAULT 0
);
CREATE INDEX precios_orden ON precios (OrdId, PreAceptado);
CREATE TABLE proveedores (
    EmpId INTEGER PRIMARY KEY AUTOINCREMENT,
    EmpNombreFantasia TEXT COLLATE ES_CI,
    EmpRazonSocial TEXT COLLATE ES_CI,
    EmpRuc TEXT COLLATE ES_CI,
    EmpDireccion TEXT COLLATE ES_CI,
    EmpCodigoPostal TEXT COLLATE ES_CI,
    EmpTelefono1 TEXT COLLATE ES_CI,
    EmpTelefono2 TEXT COLLATE ES_CI,
    EmpFax TEXT COLLATE ES_CI,
    EmpEmail TEXT COLLATE ES_CI,
    EmpURL TEXT COLLATE ES_CI,
    EmpZona TEXT COLLATE ES_CI,
    EmpCiudad TEXT COLLATE ES_CI,
    EmpProvinciaEstado TEXT COLLATE ES_CI,
    EmpPais TEXT COLLATE ES_CI,
    EmpDesactivado BOOLEAN NOT NULL DEFAULT 0
);
CREATE TABLE productos (
    ProId INTEGER PRIMARY KEY AUTOINCREMENT,
    ProDescripcion TEXT COLLATE ES_CI,
    ProCodigo TEXT COLLATE ES_CI,
    CatId INTEGER,
    ProUnidadMedida TEXT COLLATE ES_CI,
    ProMoneda TEXT COLLATE ES_CI,
    ProCosto DOUBLE,
    ProPrecio DOUBLE,
    ProMinimo DOUBLE,
    ProSinVencimiento BOOLEAN NOT NULL DEFAULT 0,
    ProDesactivado BOOLEAN NOT NULL DEFAULT 0
);
CREATE TABLE categorias (
    CatId INTEGER PRIMARY KEY AUTOINCREMENT,
    CatDescripcion TEXT COLLATE ES_CI,
    CatDesactivada BOOLEAN NOT NULL DEFAULT 0
);
CREATE TABLE sectores (
    SecId INTEGER PRIMARY KEY AUTOINCREMENT,
    SecDescripcion TEXT COLLATE ES_CI,
    SecDesactivado BOOLEAN NOT NULL DEFAULT 0
);
CREATE TABLE centrosdecosto (
    CenCosId INTEGER PRIMARY KEY AUTOINCREMENT,
    CenCosDescripcion TEXT COLLATE ES_CI,
    CenCosDesactivado INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE usuarios (
    UsuId INTEGER PRIMARY KEY AUTOINCREMENT,
    UsuLogin TEXT COLLATE ES_CI,
    UsuPassword TEXT NOT NULL DEFAULT '',
    UsuNombre TEXT COLLATE ES_CI,
    UsuPuedeSolicitar INTEGER NOT NULL DEFAULT 0,
    UsuPuedeAutorizar INTEGER NOT NULL DEFAULT 0,
    UsuPuedeCumplir INTEGER NOT NULL DEFAULT 0,
    UsuDesactivado INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE comandos (
    nombre TEXT PRIMARY KEY COLLATE NOCASE,
    parametros TEXT NOT NULL,
    sentencias TEXT NOT NULL
);
)SQL";

// One row per order, accepted quote or not; the order's number is the view's own order.
const char* const kVistas = R"SQL(
CREATE VIEW v_ordenes_preciosaceptados AS
SELECT o.OrdId, o.OrdFecha, o.OrdCantidad, o.OrdUnidadMedida, o.ProId, o.OrdComentario,
       o.OrdLugarEntrega, o.OrdPrioridad, o.SecId, o.CenCosId, o.SolicitanteId,
       o.AutorizanteId, o.UsuLogin, o.OrdEstado, o.ProcesadoId,
       p.ProDescripcion, p.ProDescripcion AS OrdDescripcion,
       pr.PreId, pr.PrePrecio, pr.PreMoneda, pr.PreFormaPago, pr.PreFecha, pr.PreFecVigencia,
       e.EmpNombreFantasia AS Proveedor,
       s.SecDescripcion, c.CenCosDescripcion,
       us.UsuNombre AS NomSolicitante, ua.UsuNombre AS NomAutorizante
FROM ordenes o
LEFT JOIN productos p ON p.ProId = o.ProId
LEFT JOIN precios pr ON pr.PreId = (SELECT MIN(x.PreId) FROM precios x
                                     WHERE x.OrdId = o.OrdId AND x.PreAceptado <> 0)
LEFT JOIN proveedores e ON e.EmpId = pr.EmpId
LEFT JOIN sectores s ON s.SecId = o.SecId
LEFT JOIN centrosdecosto c ON c.CenCosId = o.CenCosId
LEFT JOIN usuarios us ON us.UsuId = o.SolicitanteId
LEFT JOIN usuarios ua ON ua.UsuId = o.AutorizanteId AND o.AutorizanteId > 0
ORDER BY o.OrdId;
CREATE VIEW v_precios_proveedores AS
SELECT pr.PreId, pr.OrdId, pr.EmpId, e.EmpNombreFantasia AS Proveedor, pr.PreContacto,
       pr.PrePrecio, pr.PreMoneda, pr.PreFormaPago, pr.PreFecha, pr.PreFecVigencia,
       pr.PreAceptado
FROM precios pr
LEFT JOIN proveedores e ON e.EmpId = pr.EmpId
ORDER BY pr.PreId;
)SQL";

// What each version adds to the one before it. A new version appends its step here; Crear runs
// them all, Actualizar those a database lacks. Written once in the file engine's DDL; the server
// gets the same step through its type translation.
// The order history: one row per changed field, quote or state, never updated nor deleted.
// HisCambio ties the rows of one change to the first of them (empty on that first row).
const Paso kPasos[] = {
    {2, R"SQL(
CREATE TABLE historial (
    HisId INTEGER PRIMARY KEY AUTOINCREMENT,
    HisCambio INTEGER,
    HisFecha DATETIME NOT NULL,
    HisLogin TEXT,
    HisTipo TEXT NOT NULL,
    HisTabla TEXT NOT NULL,
    HisClave INTEGER,
    HisOrdId INTEGER,
    HisCampo TEXT,
    HisAnterior TEXT,
    HisNuevo TEXT
);
CREATE INDEX historial_orden ON historial (HisOrdId, HisId);
)SQL"},
    // The office's approval rules (a row per rule; a missing row is off) and each authoriser's
    // limit per currency.
    {3, R"SQL(
CREATE TABLE reglas (
    ReglaNombre TEXT PRIMARY KEY COLLATE NOCASE,
    ReglaActiva INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE limitesautorizacion (
    UsuId INTEGER NOT NULL,
    LimMoneda TEXT COLLATE ES_CI NOT NULL,
    LimImporte DOUBLE NOT NULL,
    PRIMARY KEY (UsuId, LimMoneda)
);
)SQL"},
    // Every history line carries the hash that chains it to the one before (CadenaHistorial), and
    // the history only ever grows: the engine itself refuses to change or remove a line.
    {4, "ALTER TABLE historial ADD COLUMN HisHuella TEXT;\n", R"SQL(
CREATE TRIGGER historial_sin_modificar BEFORE UPDATE ON historial BEGIN
    SELECT RAISE(ABORT, 'El historial solo admite líneas nuevas: sus líneas no se pueden modificar.');
END;
CREATE TRIGGER historial_sin_borrar BEFORE DELETE ON historial BEGIN
    SELECT RAISE(ABORT, 'El historial solo admite líneas nuevas: sus líneas no se pueden borrar.');
END;
)SQL"},
    // Passwords become hashes: the rows change, the tables do not.
    {5, ""},
    // The server's order list reads the accepted quotes another way; the file is unchanged.
    {6, ""},
    // The server computes the history's hashes faster; the file is unchanged.
    {7, ""},
    // The server saves an order in one call; the file is unchanged.
    {8, ""},
    // The server's one-call save costs it less; the file is unchanged.
    {9, ""},
    // The server chains a save's history at a lower cost; the file is unchanged.
    {10, ""},
    // The server finds the caller of its protected functions faster; the file is unchanged.
    {11, ""},
    // The server writes the history of the maintained tables' rows; the file is unchanged.
    {12, ""},
    // The server may hash the history in C; the file is unchanged.
    {13, ""},
    // The server may take the chain's lock in C; the file is unchanged.
    {14, ""},
};

const QList<Paso>& Pasos() {
    static const QList<Paso> p(std::begin(kPasos), std::end(kPasos));
    return p;
}

const DefComando kComandos[] = {
    {"orden_insertar",
     "DATETIME,DOUBLE,TEXT,INTEGER,TEXT,TEXT,TEXT,INTEGER,INTEGER,INTEGER,INTEGER,TEXT",
     "INSERT INTO ordenes (OrdFecha, OrdCantidad, OrdUnidadMedida, ProId, OrdComentario, "
     "OrdLugarEntrega, OrdPrioridad, SecId, CenCosId, SolicitanteId, AutorizanteId, UsuLogin, "
     "OrdEstado, ProcesadoId) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, "
     "'Pendiente', 0);\nSELECT last_insert_rowid() AS OrdId;",
     "INSERT INTO ordenes (OrdFecha, OrdCantidad, OrdUnidadMedida, ProId, OrdComentario, "
     "OrdLugarEntrega, OrdPrioridad, SecId, CenCosId, SolicitanteId, AutorizanteId, UsuLogin, "
     "OrdEstado, ProcesadoId) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, "
     "'Pendiente', 0) RETURNING OrdId;"},
    {"orden_actualizar",
     "INTEGER,DATETIME,DOUBLE,TEXT,INTEGER,TEXT,TEXT,TEXT,INTEGER,INTEGER,INTEGER,INTEGER",
     "UPDATE ordenes SET OrdFecha = ?2, OrdCantidad = ?3, OrdUnidadMedida = ?4, ProId = ?5, "
     "OrdComentario = ?6, OrdLugarEntrega = ?7, OrdPrioridad = ?8, SecId = ?9, CenCosId = ?10, "
     "SolicitanteId = ?11, AutorizanteId = ?12 WHERE OrdId = ?1;"},
    {"orden_eliminar", "INTEGER",
     "DELETE FROM precios WHERE OrdId = ?1;\nDELETE FROM ordenes WHERE OrdId = ?1;"},
    {"precio_Insertar", "INTEGER,INTEGER,TEXT,DOUBLE,TEXT,TEXT,DATETIME,DATETIME,SMALLINT",
     "INSERT INTO precios (OrdId, EmpId, PreContacto, PrePrecio, PreMoneda, PreFormaPago, "
     "PreFecha, PreFecVigencia, PreAceptado) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9);"},
    {"proveedor_insertar", "TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT",
     "INSERT INTO proveedores (EmpNombreFantasia, EmpRazonSocial, EmpRuc, EmpDireccion, "
     "EmpCodigoPostal, EmpTelefono1, EmpTelefono2, EmpFax, EmpEmail, EmpURL, EmpZona, EmpCiudad, "
     "EmpProvinciaEstado, EmpPais, EmpDesactivado) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, "
     "?10, ?11, ?12, ?13, ?14, 0);"},
    {"proveedor_actualizar",
     "INTEGER,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,TEXT,SMALLINT",
     "UPDATE proveedores SET EmpNombreFantasia = ?2, EmpRazonSocial = ?3, EmpRuc = ?4, "
     "EmpDireccion = ?5, EmpCodigoPostal = ?6, EmpTelefono1 = ?7, EmpTelefono2 = ?8, EmpFax = ?9, "
     "EmpEmail = ?10, EmpURL = ?11, EmpZona = ?12, EmpCiudad = ?13, EmpProvinciaEstado = ?14, "
     "EmpPais = ?15, EmpDesactivado = ?16 WHERE EmpId = ?1;"},
    {"sector_insertar", "TEXT",
     "INSERT INTO sectores (SecDescripcion, SecDesactivado) VALUES (?1, 0);"},
    {"sector_actualizar", "INTEGER,TEXT,SMALLINT",
     "UPDATE sectores SET SecDescripcion = ?2, SecDesactivado = ?3 WHERE SecId = ?1;"},
    {"centrodecosto_insertar", "TEXT",
     "INSERT INTO centrosdecosto (CenCosDescripcion, CenCosDesactivado) VALUES (?1, 0);"},
    {"centrodecosto_actualizar", "INTEGER,TEXT,SMALLINT",
     "UPDATE centrosdecosto SET CenCosDescripcion = ?2, CenCosDesactivado = ?3 "
     "WHERE CenCosId = ?1;"},
    {"categoria_insertar", "TEXT",
     "INSERT INTO categorias (CatDescripcion, CatDesactivada) VALUES (?1, 0);"},
    {"categoria_actualizar", "INTEGER,TEXT,SMALLINT",
     "UPDATE categorias SET CatDescripcion = ?2, CatDesactivada = ?3 WHERE CatId = ?1;"},
    {"usuario_insertar", "TEXT,TEXT,TEXT,SMALLINT,SMALLINT,SMALLINT",
     "INSERT INTO usuarios (UsuLogin, UsuPassword, UsuNombre, UsuPuedeSolicitar, "
     "UsuPuedeAutorizar, UsuPuedeCumplir, UsuDesactivado) VALUES (?1, ?2, ?3, ?4, ?5, ?6, 0);"},
    {"usuario_actualizar", "INTEGER,TEXT,TEXT,TEXT,SMALLINT,SMALLINT,SMALLINT,SMALLINT",
     "UPDATE usuarios SET UsuLogin = ?2, UsuPassword = ?3, UsuNombre = ?4, "
     "UsuPuedeSolicitar = ?5, UsuPuedeAutorizar = ?6, UsuPuedeCumplir = ?7, "
     "UsuDesactivado = ?8 WHERE UsuId = ?1;"},
};

const QList<DefComando>& Comandos() {
    static const QList<DefComando> c(std::begin(kComandos), std::end(kComandos));
    return c;
}

const QList<DefTabla>& Tablas() {
    static const QList<DefTabla> t = {
        {"ordenes",
         {"OrdId", "OrdFecha", "OrdCantidad", "OrdUnidadMedida", "ProId", "OrdComentario",
          "OrdLugarEntrega", "OrdPrioridad", "SecId", "CenCosId", "SolicitanteId", "AutorizanteId",
          "UsuLogin", "OrdEstado", "ProcesadoId"}},
        {"precios",
         {"PreId", "OrdId", "EmpId", "PreContacto", "PrePrecio", "PreMoneda", "PreFormaPago",
          "PreFecha", "PreFecVigencia", "PreAceptado"}},
        {"proveedores",
         {"EmpId", "EmpNombreFantasia", "EmpRazonSocial", "EmpRuc", "EmpDireccion",
          "EmpCodigoPostal", "EmpTelefono1", "EmpTelefono2", "EmpFax", "EmpEmail", "EmpURL",
          "EmpZona", "EmpCiudad", "EmpProvinciaEstado", "EmpPais", "EmpDesactivado"}},
        {"productos",
         {"ProId", "ProDescripcion", "ProCodigo", "CatId", "ProUnidadMedida", "ProMoneda",
          "ProCosto", "ProPrecio", "ProMinimo", "ProSinVencimiento", "ProDesactivado"}},
        {"categorias", {"CatId", "CatDescripcion", "CatDesactivada"}},
        {"sectores", {"SecId", "SecDescripcion", "SecDesactivado"}},
        {"centrosdecosto", {"CenCosId", "CenCosDescripcion", "CenCosDesactivado"}},
        {"usuarios",
         {"UsuId", "UsuLogin", "UsuPassword", "UsuNombre", "UsuPuedeSolicitar", "UsuPuedeAutorizar",
          "UsuPuedeCumplir", "UsuDesactivado"}},
        {"v_ordenes_preciosaceptados",
         {"OrdId", "OrdFecha", "OrdCantidad", "OrdUnidadMedida", "OrdComentario", "OrdLugarEntrega",
          "OrdPrioridad", "OrdEstado", "AutorizanteId", "ProDescripcion", "OrdDescripcion",
          "PrePrecio", "PreMoneda", "Proveedor", "SecDescripcion", "CenCosDescripcion",
          "NomSolicitante", "NomAutorizante"}},
        {"v_precios_proveedores",
         {"PreId", "OrdId", "EmpId", "Proveedor", "PreContacto", "PrePrecio", "PreMoneda",
          "PreFormaPago", "PreFecha", "PreFecVigencia", "PreAceptado"}},
        {"historial",
         {"HisId", "HisCambio", "HisFecha", "HisLogin", "HisTipo", "HisTabla", "HisClave",
          "HisOrdId", "HisCampo", "HisAnterior", "HisNuevo"},
         2},
        {"historial", {"HisHuella"}, 4},
        {"reglas", {"ReglaNombre", "ReglaActiva"}, 3},
        {"limitesautorizacion", {"UsuId", "LimMoneda", "LimImporte"}, 3},
    };
    return t;
}

QStringList FaltantesEnTablas(int version,
                              const std::function<QStringList(const DefTabla&)>& columnasDe) {
    QStringList faltan;
    for (const DefTabla& t : Tablas()) {
        if (t.desde > version)
            continue;
        const QStringList hay = columnasDe(t);
        if (hay.isEmpty()) {
            faltan << QStringLiteral("falta la tabla o vista %1").arg(QLatin1String(t.nombre));
            continue;
        }
        for (const QString& c : t.columnas)
            if (!hay.contains(c, Qt::CaseInsensitive))
                faltan << QStringLiteral("falta la columna %1.%2").arg(QLatin1String(t.nombre), c);
    }
    return faltan;
}

QStringList Columnas() {
    QStringList r;
    for (const DefTabla& t : Tablas())
        r << t.columnas;
    r.removeDuplicates();
    return r;
}

namespace {

bool Exec(sqlite3* db, const char* sql, QString* error) {
    char* msg = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &msg) == SQLITE_OK)
        return true;
    if (error)
        *error = QString::fromUtf8(msg ? msg : sqlite3_errmsg(db));
    sqlite3_free(msg);
    return false;
}

bool LeerVersion(sqlite3* db, int* version, QString* error) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &st, nullptr) != SQLITE_OK) {
        if (error)
            *error = DescribirErrorMotor(db);
        sqlite3_finalize(st);
        return false;
    }
    *version = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : 0;
    sqlite3_finalize(st);
    return true;
}

QStringList Columnas(sqlite3* db, const char* tabla) {
    QStringList r;
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QByteArray("PRAGMA table_info(\"") + tabla + "\")";
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        return r;
    while (sqlite3_step(st) == SQLITE_ROW)
        r << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)));
    sqlite3_finalize(st);
    return r;
}

bool HayTabla(sqlite3* db, const char* tabla) {
    return sqlite3_table_column_metadata(db, "main", tabla, nullptr, nullptr, nullptr, nullptr,
                                         nullptr, nullptr) == SQLITE_OK;
}

// The program's own text of view `nombre` as the engine keeps it: from CREATE to its end.
QByteArray DefinicionDeVista(const char* nombre) {
    const QByteArray todas(kVistas);
    const qsizetype desde = todas.indexOf("CREATE VIEW " + QByteArray(nombre) + " AS");
    const qsizetype hasta = desde < 0 ? -1 : todas.indexOf(';', desde);
    return hasta < 0 ? QByteArray() : todas.mid(desde, hasta - desde);
}

// A view kept with the program's own text has the columns that text gives it. Listing them
// otherwise means compiling the view, which costs more than looking at every table.
bool VistaPropia(sqlite3* db, const char* nombre) {
    sqlite3_stmt* st = nullptr;
    bool propia = false;
    if (sqlite3_prepare_v2(db, "SELECT sql FROM sqlite_master WHERE type = 'view' AND name = ?", -1,
                           &st, nullptr) == SQLITE_OK &&
        sqlite3_bind_text(st, 1, nombre, -1, SQLITE_STATIC) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW) {
        const auto* texto = static_cast<const char*>(sqlite3_column_blob(st, 0));
        const QByteArray esperado = DefinicionDeVista(nombre);
        propia = texto && !esperado.isEmpty() &&
                 QByteArray::fromRawData(texto, sqlite3_column_bytes(st, 0)) == esperado;
    }
    sqlite3_finalize(st);
    return propia;
}

// The columns of `t` the program expects and the file has. A table's are looked up in the schema
// the engine has already read, without a statement to prepare for each table: the check runs at
// every start. A view of another text, and a table with none of them, are listed whole, so that
// what they lack is named column by column.
QStringList ColumnasEsperadas(sqlite3* db, const DefTabla& t) {
    if (!HayTabla(db, t.nombre))
        return VistaPropia(db, t.nombre) ? t.columnas : Columnas(db, t.nombre);
    QStringList r;
    for (const QString& c : t.columnas)
        if (sqlite3_table_column_metadata(db, "main", t.nombre, c.toUtf8().constData(), nullptr,
                                          nullptr, nullptr, nullptr, nullptr) == SQLITE_OK)
            r << c;
    return r.isEmpty() ? Columnas(db, t.nombre) : r;
}

// Every password kept in the reversible form of older versions, hashed.
bool CifrarContrasenas(sqlite3* db, QString* error) {
    sqlite3_stmt* leer = nullptr;
    sqlite3_stmt* escribir = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT UsuId, UsuPassword FROM usuarios", -1, &leer, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, "UPDATE usuarios SET UsuPassword = ? WHERE UsuId = ?", -1,
                                &escribir, nullptr);
    QList<QPair<qint64, QString>> claves;
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        if ((rc = sqlite3_step(leer)) != SQLITE_ROW)
            break;
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(leer, 1));
        claves.append({sqlite3_column_int64(leer, 0),
                       QString::fromUtf8(t ? t : "", sqlite3_column_bytes(leer, 1))});
    }
    for (const auto& [usuId, guardada] : claves) {
        if (rc != SQLITE_DONE || Contrasena::EsCifrada(guardada))
            continue;
        const QByteArray cifrada =
            Contrasena::Cifrar(Contrasena::DescifrarAntigua(guardada)).toLatin1();
        if (cifrada.isEmpty()) {
            rc = SQLITE_NOMEM;
            break;
        }
        sqlite3_bind_text(escribir, 1, cifrada.constData(), int(cifrada.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(escribir, 2, usuId);
        rc = sqlite3_step(escribir);
        sqlite3_reset(escribir);
    }
    if (rc != SQLITE_DONE && error)
        *error = rc == SQLITE_NOMEM ? QStringLiteral("no hay memoria para cifrar las contraseñas")
                                    : QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(leer);
    sqlite3_finalize(escribir);
    return rc == SQLITE_DONE;
}

// What a version changes in the rows a database already holds.
bool ConvertirFilas(sqlite3* db, int version, QString* error) {
    if (version == kVersionCadena)
        return CadenaHistorial::EncadenarExistentes(db, error);
    if (version == kVersionContrasenas)
        return CifrarContrasenas(db, error);
    return true;
}

} // namespace

sqlite3* AbrirArchivo(const QString& ruta, bool crear, QString* error) {
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (crear ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(ruta.toUtf8().constData(), &db, flags, nullptr) != SQLITE_OK) {
        if (error)
            *error = QString::fromUtf8(db ? sqlite3_errmsg(db) : "sin memoria");
        sqlite3_close(db);
        return nullptr;
    }
    // Without the dialect the program's own statements would not run on this file.
    if (!Dialecto::Registrar(db)) {
        if (error)
            *error = QStringLiteral("no se pudo preparar la conexión");
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 10000);
    return db;
}

bool Crear(const QString& ruta, QString* error) {
    if (Origen::EsServidor(ruta))
        return CrearEnServidor(ruta, error);
    if (QFileInfo::exists(ruta)) {
        if (error)
            *error = QStringLiteral("El archivo %1 ya existe; no se sobrescribe.").arg(ruta);
        return false;
    }
    sqlite3* db = AbrirArchivo(ruta, true, error);
    if (!db)
        return false;
    bool ok = Exec(db, "BEGIN", error) && Exec(db, kTablas, error) && Exec(db, kVistas, error);
    for (const Paso& p : Pasos())
        ok = ok && Exec(db, p.sql, error) && (!p.archivo || Exec(db, p.archivo, error));
    sqlite3_stmt* st = nullptr;
    if (ok)
        ok = sqlite3_prepare_v2(db,
                                "INSERT INTO comandos (nombre, parametros, sentencias) "
                                "VALUES (?, ?, ?)",
                                -1, &st, nullptr) == SQLITE_OK;
    for (const DefComando& c : Comandos()) {
        if (!ok)
            break;
        sqlite3_reset(st);
        sqlite3_bind_text(st, 1, c.nombre, -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 2, c.parametros, -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 3, c.sentencias, -1, SQLITE_STATIC);
        ok = sqlite3_step(st) == SQLITE_DONE;
    }
    if (!ok && error && error->isEmpty())
        *error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(st);
    const QByteArray version = "PRAGMA user_version = " + QByteArray::number(kVersion);
    ok = ok && Exec(db, version.constData(), error) && Exec(db, "COMMIT", error);
    sqlite3_close(db);
    if (!ok)
        QFile::remove(ruta);
    return ok;
}

Actualizacion Actualizar(sqlite3* db, QString* error) {
    int version = 0;
    if (!LeerVersion(db, &version, error))
        return Actualizacion::Fallida;
    if (version == kVersion)
        return Actualizacion::AlDia;
    if (version > kVersion)
        return Actualizacion::MasNueva;
    if (version < 1)
        return Actualizacion::SinVersion;
    // The write lock first: another workstation may be upgrading the same file right now.
    if (!Exec(db, "BEGIN IMMEDIATE", error))
        return Actualizacion::Fallida;
    bool ok = LeerVersion(db, &version, error);
    if (ok && version >= kVersion) {
        Exec(db, "ROLLBACK", nullptr);
        return version == kVersion ? Actualizacion::AlDia : Actualizacion::MasNueva;
    }
    for (const Paso& p : Pasos())
        if (p.version > version)
            ok = ok && Exec(db, p.sql, error) && ConvertirFilas(db, p.version, error) &&
                 (!p.archivo || Exec(db, p.archivo, error));
    const QByteArray nueva = "PRAGMA user_version = " + QByteArray::number(kVersion);
    ok = ok && Exec(db, nueva.constData(), error) && Exec(db, "COMMIT", error);
    if (!ok) {
        Exec(db, "ROLLBACK", nullptr);
        return Actualizacion::Fallida;
    }
    return Actualizacion::Actualizada;
}

namespace {

QStringList VerificarEnTransaccion(sqlite3* db) {
    QStringList faltan;
    int version = 0;
    if (QString error; !LeerVersion(db, &version, &error))
        return {QStringLiteral("no se puede leer: ") + error};
    sqlite3_stmt* st = nullptr;
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
        SQLITE_OK)
        return {QStringLiteral("no se puede leer: ") + DescribirErrorMotor(db)};
    if (version > kVersion)
        faltan << QStringLiteral("versión de esquema %1, más nueva que la del programa (%2)")
                      .arg(version)
                      .arg(kVersion);
    faltan << FaltantesEnTablas(version >= 1 ? version : kVersion,
                                [db](const DefTabla& t) { return ColumnasEsperadas(db, t); });
    if (HayTabla(db, "comandos")) {
        // One statement for every command: it is checked at every start.
        if (sqlite3_prepare_v2(db, "SELECT 1 FROM comandos WHERE nombre = ?", -1, &st, nullptr) ==
            SQLITE_OK) {
            for (const DefComando& c : Comandos()) {
                sqlite3_bind_text(st, 1, c.nombre, -1, SQLITE_STATIC);
                if (sqlite3_step(st) != SQLITE_ROW)
                    faltan << QStringLiteral("falta el comando %1").arg(QLatin1String(c.nombre));
                sqlite3_reset(st);
            }
        }
        sqlite3_finalize(st);
    } else {
        faltan << QStringLiteral("falta la tabla comandos");
    }
    return faltan;
}

} // namespace

QStringList Verificar(sqlite3* db) {
    // One read for the whole check, inside a transaction or not: without it each lookup takes
    // and gives back the file's lock, a handful of system calls, at every start.
    const bool leyendo = Exec(db, "SAVEPOINT verificar", nullptr);
    const QStringList faltan = VerificarEnTransaccion(db);
    if (leyendo)
        Exec(db, "RELEASE verificar", nullptr);
    return faltan;
}

int Version(sqlite3* db) {
    int version = 0;
    return LeerVersion(db, &version, nullptr) ? version : 0;
}

QStringList FaltaParaEstaVersion(sqlite3* db) {
    return FaltantesEnTablas(kVersion,
                             [db](const DefTabla& t) { return ColumnasEsperadas(db, t); });
}

QStringList TablasDeDatos() {
    QStringList r;
    for (const DefTabla& t : Tablas())
        if (!QLatin1String(t.nombre).startsWith(QLatin1String("v_")))
            r << QString::fromLatin1(t.nombre);
    r.removeDuplicates();
    return r;
}

QStringList RevisionRapida(sqlite3* db) {
    QStringList hallazgos;
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check(5)", -1, &st, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        const QString h =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        if (h != QLatin1String("ok")) // the first finding names the file's schema: noise here
            hallazgos << QString(h).remove(QStringLiteral("*** in database main ***\n"));
    }
    // A check that could not run (another workstation holding the file) says nothing of damage.
    const int primario = sqlite3_errcode(db) & 0xff;
    if (rc != SQLITE_DONE && (primario == SQLITE_CORRUPT || primario == SQLITE_NOTADB))
        hallazgos << DescribirErrorMotor(db);
    sqlite3_finalize(st);
    return hallazgos;
}

} // namespace Esquema
