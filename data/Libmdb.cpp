#include "Libmdb.h"

#include "BibliotecaDiferida.h"

// libmdb's header opens an extern "C" block around its own include of glib, whose C++ parts
// must be seen first.
#include <glib.h>
#include <mdbtools.h>

namespace {

BibliotecaDiferida& Biblioteca() {
    static BibliotecaDiferida b(QStringLiteral("mdb"), 3, QStringLiteral("libmdb"));
    return b;
}

} // namespace

namespace Libmdb {

bool Disponible(QString* causa) {
    if (!Biblioteca().Cargada())
        *causa = QStringLiteral("No se encuentra la biblioteca libmdb, que el programa necesita "
                                "para leer archivos de Access. Instale el paquete libmdb3 (%1).")
                     .arg(Biblioteca().Error());
    return Biblioteca().Cargada();
}

} // namespace Libmdb

// The reader asks Disponible before opening a file; without the library no handle exists, and
// every function answers as for nothing read.
#define LIBMDB(funcion) QUIMBEL_DIFERIDA(Biblioteca(), funcion)

extern "C" {

MdbHandle* mdb_open(const char* filename, MdbFileFlags flags) {
    LIBMDB(mdb_open);
    return f ? f(filename, flags) : nullptr;
}

void mdb_close(MdbHandle* mdb) {
    LIBMDB(mdb_close);
    if (f)
        f(mdb);
}

void mdb_iconv_init(MdbHandle* mdb) {
    LIBMDB(mdb_iconv_init);
    if (f)
        f(mdb);
}

void mdb_iconv_close(MdbHandle* mdb) {
    LIBMDB(mdb_iconv_close);
    if (f)
        f(mdb);
}

void mdb_set_bind_size(MdbHandle* mdb, size_t bind_size) {
    LIBMDB(mdb_set_bind_size);
    if (f)
        f(mdb, bind_size);
}

GPtrArray* mdb_read_catalog(MdbHandle* mdb, int obj_type) {
    LIBMDB(mdb_read_catalog);
    return f ? f(mdb, obj_type) : nullptr;
}

int mdb_is_user_table(MdbCatalogEntry* entry) {
    LIBMDB(mdb_is_user_table);
    return f ? f(entry) : 0;
}

MdbTableDef* mdb_read_table(MdbCatalogEntry* entry) {
    LIBMDB(mdb_read_table);
    return f ? f(entry) : nullptr;
}

MdbTableDef* mdb_read_table_by_name(MdbHandle* mdb, gchar* table_name, int obj_type) {
    LIBMDB(mdb_read_table_by_name);
    return f ? f(mdb, table_name, obj_type) : nullptr;
}

GPtrArray* mdb_read_columns(MdbTableDef* table) {
    LIBMDB(mdb_read_columns);
    return f ? f(table) : nullptr;
}

void mdb_free_tabledef(MdbTableDef* table) {
    LIBMDB(mdb_free_tabledef);
    if (f)
        f(table);
}

int mdb_rewind_table(MdbTableDef* table) {
    LIBMDB(mdb_rewind_table);
    return f ? f(table) : 0;
}

int mdb_fetch_row(MdbTableDef* table) {
    LIBMDB(mdb_fetch_row);
    return f ? f(table) : 0;
}

ssize_t mdb_read_pg(MdbHandle* mdb, unsigned long pg) {
    LIBMDB(mdb_read_pg);
    return f ? f(mdb, pg) : 0;
}

int mdb_find_row(MdbHandle* mdb, int row, int* start, size_t* len) {
    LIBMDB(mdb_find_row);
    return f ? f(mdb, row, start, len) : -1;
}

int mdb_crack_row(MdbTableDef* table, int row_start, size_t row_size, MdbField* fields) {
    LIBMDB(mdb_crack_row);
    return f ? f(table, row_start, row_size, fields) : 0;
}

char* mdb_col_to_string(MdbHandle* mdb, void* buf, int start, int datatype, int size) {
    LIBMDB(mdb_col_to_string);
    return f ? f(mdb, buf, start, datatype, size) : nullptr;
}

} // extern "C"
