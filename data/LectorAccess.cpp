#include "LectorAccess.h"

#include "Libmdb.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cmath>
// libmdb's header opens an extern "C" block around its own include of glib, whose C++ parts
// must be seen first.
#include <glib.h>
#include <mdbtools.h>

namespace {

// Bytes 4 to 18 of the first page: the engine's signature, the same in both formats.
constexpr char kFirmaJet[] = "Standard Jet DB";
constexpr char kFirmaAce[] = "Standard ACE DB";
// The room libmdb gives a value's text; a memo that needs more is given room of its own.
constexpr size_t kTextoMaximo = 1 << 20;

QString Nombre(const QString& ruta) {
    return QStringLiteral("«") + QDir::toNativeSeparators(ruta) + QStringLiteral("»");
}

MdbColumn* Columna(MdbTableDef* t, unsigned i) {
    return static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
}

// Days since 30 December 1899, the time of day as the fraction; before that day the whole part
// counts back while the fraction still counts forward.
QDateTime FechaJet(double dias) {
    const double entero = std::trunc(dias);
    qint64 segundos = std::llround(std::fabs(dias - entero) * 86400.0);
    QDate d = QDate(1899, 12, 30).addDays(qint64(entero));
    if (segundos >= 86400) {
        d = d.addDays(1);
        segundos -= 86400;
    }
    return QDateTime(d, QTime(0, 0).addSecs(int(segundos)));
}

} // namespace

struct LectorAccess::Estado {
    QString ruta;
    QString error;
    MdbHandle* mdb = nullptr;
    MdbTableDef* tabla = nullptr;
    qint64 leidas = 0;
    qint64 bytesArchivo = 0; // no value stored in the file is longer
    bool enUso = false;

    ~Estado() {
        CerrarTabla();
        if (mdb)
            mdb_close(mdb);
    }
    void CerrarTabla() {
        if (tabla)
            mdb_free_tabledef(tabla);
        tabla = nullptr;
    }
    bool Falla(const QString& causa) {
        error = causa;
        return false;
    }
    bool Danado(const QString& detalle) {
        return Falla(QStringLiteral("El archivo de Access %1 está dañado o incompleto (%2).")
                         .arg(Nombre(ruta), detalle));
    }
    bool Valor(MdbColumn* c, const MdbField& f, QVariant* v);
};

LectorAccess::LectorAccess() : e_(std::make_unique<Estado>()) {}

LectorAccess::~LectorAccess() = default;

bool LectorAccess::EsArchivoAccess(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray inicio = f.read(20);
    return inicio.size() == 20 && inicio.startsWith(QByteArray("\x00\x01\x00\x00", 4)) &&
           (inicio.mid(4, 15) == kFirmaJet || inicio.mid(4, 15) == kFirmaAce);
}

QString LectorAccess::Error() const {
    return e_->error;
}

bool LectorAccess::EnUso() const {
    return e_->enUso;
}

bool LectorAccess::Abrir(const QString& ruta) {
    e_->ruta = ruta;
    const QFileInfo info(ruta);
    if (!info.isFile())
        return e_->Falla(QStringLiteral("No existe el archivo %1.").arg(Nombre(ruta)));
    if (!EsArchivoAccess(ruta))
        return e_->Falla(QStringLiteral("%1 no es una base de datos de Access.").arg(Nombre(ruta)));
    // The engine keeps a lock file beside a database that some program has open, and removes
    // it when the last one closes it.
    for (const char* extension : {".ldb", ".laccdb"}) {
        const QString bloqueo = info.dir().filePath(info.completeBaseName() + extension);
        e_->enUso = QFileInfo::exists(bloqueo);
        if (e_->enUso)
            return e_->Falla(
                QStringLiteral("Otro programa tiene abierto el archivo de Access %1 (existe %2). "
                               "Ciérrelo y vuelva a intentarlo; si ningún programa lo usa, borre "
                               "%2.")
                    .arg(Nombre(ruta), Nombre(bloqueo)));
    }
    // Texts arrive in UTF-8, and the older format's single-byte ones are read in the code page
    // its header names (below), whatever the environment says.
    qputenv("MDBICONV", "UTF-8");
    if (QString causa; !Libmdb::Disponible(&causa))
        return e_->Falla(causa);
    e_->mdb = mdb_open(QFile::encodeName(ruta).constData(), MDB_NOFLAGS);
    if (!e_->mdb)
        return e_->Falla(
            QStringLiteral("No se pudo abrir el archivo de Access %1.").arg(Nombre(ruta)));
    e_->bytesArchivo = info.size();
    const qint64 pagina = e_->mdb->fmt->pg_size;
    if (info.size() < 2 * pagina || info.size() % pagina != 0)
        return e_->Danado(QStringLiteral("su tamaño no es un número entero de páginas"));
    if (e_->mdb->f->jet_version == MDB_VER_JET3) {
        const int codigo = e_->mdb->f->code_page ? e_->mdb->f->code_page : 1252;
        qputenv("MDB_JET3_CHARSET", "CP" + QByteArray::number(codigo));
        mdb_iconv_close(e_->mdb);
        mdb_iconv_init(e_->mdb);
    }
    mdb_set_bind_size(e_->mdb, kTextoMaximo);
    if (!mdb_read_catalog(e_->mdb, MDB_TABLE) || !CatalogoEntero())
        return e_->Danado(QStringLiteral("no se puede leer su catálogo"));
    return true;
}

// libmdb stops reading the catalog at the first page it cannot read, and would give the tables
// after it as missing: every row the catalog declares has to be there.
bool LectorAccess::CatalogoEntero() {
    MdbCatalogEntry entrada{};
    entrada.mdb = e_->mdb;
    entrada.object_type = MDB_TABLE;
    entrada.table_pg = 2; // the catalog's own definition, in both formats
    qstrncpy(entrada.object_name, "MSysObjects", sizeof entrada.object_name);
    MdbTableDef* t = mdb_read_table(&entrada);
    if (!t)
        return false;
    mdb_read_columns(t);
    mdb_rewind_table(t);
    unsigned filas = 0;
    while (mdb_fetch_row(t))
        ++filas;
    const bool entero = filas == t->num_rows;
    mdb_free_tabledef(t);
    return entero;
}

QStringList LectorAccess::Tablas() const {
    QStringList r;
    for (unsigned i = 0; e_->mdb && i < e_->mdb->num_catalog; ++i) {
        auto* entrada = static_cast<MdbCatalogEntry*>(g_ptr_array_index(e_->mdb->catalog, i));
        if (mdb_is_user_table(entrada))
            r << QString::fromUtf8(entrada->object_name);
    }
    return r;
}

bool LectorAccess::AbrirTabla(const QString& tabla, QStringList* columnas, qint64* filasDeclaradas,
                              qint64* siguienteClave) {
    e_->CerrarTabla();
    e_->leidas = 0;
    QByteArray nombre;
    for (const QString& t : Tablas())
        if (t.compare(tabla, Qt::CaseInsensitive) == 0)
            nombre = t.toUtf8();
    if (nombre.isEmpty())
        return e_->Falla(QStringLiteral("El archivo no tiene la tabla %1.").arg(tabla));
    e_->tabla = mdb_read_table_by_name(e_->mdb, nombre.data(), MDB_TABLE);
    if (!e_->tabla || !mdb_read_columns(e_->tabla))
        return e_->Danado(
            QStringLiteral("no se puede leer la definición de la tabla %1").arg(tabla));
    // The counter follows the row count in the definition's first page, which libmdb does not
    // keep.
    bool autonumerada = false;
    for (unsigned i = 0; i < e_->tabla->num_cols; ++i)
        autonumerada = autonumerada || Columna(e_->tabla, i)->is_long_auto;
    if (siguienteClave) {
        const int donde = e_->mdb->fmt->tab_num_rows_offset + 4;
        *siguienteClave = autonumerada && mdb_read_pg(e_->mdb, e_->tabla->entry->table_pg) ==
                                              e_->mdb->fmt->pg_size
                              ? qFromLittleEndian<quint32>(e_->mdb->pg_buf + donde)
                              : 0;
    }
    mdb_rewind_table(e_->tabla);
    columnas->clear();
    for (unsigned i = 0; i < e_->tabla->num_cols; ++i)
        *columnas << QString::fromUtf8(Columna(e_->tabla, i)->name);
    *filasDeclaradas = e_->tabla->num_rows;
    return true;
}

bool LectorAccess::Estado::Valor(MdbColumn* c, const MdbField& f, QVariant* v) {
    const unsigned char* p = mdb->pg_buf + f.start;
    auto fijoDesde = [&](int tamano) {
        return f.siz >= tamano && f.start >= 0 && f.start + tamano <= mdb->fmt->pg_size;
    };
    auto fijo = [&](int tamano) { return f.siz == tamano && fijoDesde(tamano); };
    if (c->col_type == MDB_BOOL) {
        *v = !f.is_null;
        return true;
    }
    *v = QVariant();
    if (f.is_null)
        return true;
    switch (c->col_type) {
    case MDB_BYTE:
        return fijo(1) && (*v = qint64(p[0]), true);
    case MDB_INT:
        return fijo(2) && (*v = qint64(qFromLittleEndian<qint16>(p)), true);
    case MDB_LONGINT:
        return fijo(4) && (*v = qint64(qFromLittleEndian<qint32>(p)), true);
    case MDB_MONEY: // ten-thousandths
        return fijo(8) && (*v = double(qFromLittleEndian<qint64>(p)) / 10000.0, true);
    case MDB_FLOAT:
        return fijo(4) && (*v = double(qFromLittleEndian<float>(p)), true);
    case MDB_DOUBLE:
        return fijo(8) && (*v = qFromLittleEndian<double>(p), true);
    case MDB_DATETIME:
        return fijo(8) && (*v = FechaJet(qFromLittleEndian<double>(p)), true);
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_NUMERIC: {
        // libmdb hands back at most its bind size: a longer memo gets room for the whole of it,
        // each stored byte at most three in UTF-8, and the usual size after.
        const size_t memo = c->col_type == MDB_MEMO && fijoDesde(4)
                                ? qFromLittleEndian<quint32>(p) & 0x3fffffff
                                : 0;
        // A length past the file's own is damage, and libmdb would first ask for that much.
        if (memo > size_t(bytesArchivo))
            return false;
        const bool largo = 3 * memo + 1 > kTextoMaximo;
        if (largo)
            mdb_set_bind_size(mdb, 3 * memo + 1);
        char* texto = mdb_col_to_string(mdb, mdb->pg_buf, f.start, c->col_type, f.siz);
        if (largo)
            mdb_set_bind_size(mdb, kTextoMaximo);
        if (!texto)
            return false;
        const QString s = QString::fromUtf8(texto);
        g_free(texto);
        *v = c->col_type == MDB_NUMERIC ? QVariant(s.toDouble()) : QVariant(s);
        return true;
    }
    default: // kept as it is: no column of the program's tables has such a type
        *v = QByteArray(reinterpret_cast<const char*>(p), f.siz);
        return true;
    }
}

bool LectorAccess::Siguiente(QVariantList* fila) {
    MdbTableDef* t = e_->tabla;
    if (!t || !mdb_fetch_row(t)) {
        if (t && e_->leidas != qint64(t->num_rows))
            return e_->Danado(QStringLiteral("la tabla %1 declara %2 filas y se leyeron %3")
                                  .arg(QString::fromUtf8(t->name))
                                  .arg(t->num_rows)
                                  .arg(e_->leidas));
        return false;
    }
    ++e_->leidas;
    MdbHandle* mdb = e_->mdb;
    int inicio = 0;
    size_t largo = 0;
    MdbField campos[MDB_MAX_COLS];
    const QString enTabla =
        QStringLiteral("fila %1 de la tabla %2").arg(e_->leidas).arg(QString::fromUtf8(t->name));
    if (mdb_find_row(mdb, int(t->cur_row) - 1, &inicio, &largo) != 0 ||
        mdb_crack_row(t, inicio, largo, campos) != int(t->num_cols))
        return e_->Danado(enTabla);
    fila->resize(t->num_cols);
    // Memos last: reading one brings other pages in, and libmdb puts the row's page back only
    // afterwards.
    for (int pasada = 0; pasada < 2; ++pasada) {
        for (unsigned i = 0; i < t->num_cols; ++i) {
            MdbColumn* c = Columna(t, i);
            if ((c->col_type == MDB_MEMO) != (pasada == 1))
                continue;
            if (!e_->Valor(c, campos[i], &(*fila)[i]))
                return e_->Danado(enTabla + QStringLiteral(", columna ") +
                                  QString::fromUtf8(c->name));
        }
    }
    return true;
}
