#include "ErrorMotor.h"

#include <sqlite3.h>

namespace {

const char* Restriccion(int extendido) {
    switch (extendido) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return "Ya existe un registro con ese valor.";
    case SQLITE_CONSTRAINT_FOREIGNKEY:
        return "El registro está relacionado con otros datos que faltan o que lo usan.";
    case SQLITE_CONSTRAINT_NOTNULL:
        return "Falta un dato obligatorio.";
    case SQLITE_CONSTRAINT_CHECK:
        return "Un dato no cumple las condiciones de la base de datos.";
    case SQLITE_CONSTRAINT_TRIGGER:
        return nullptr; // the database's own message, written for the user
    default:
        return "Los datos no cumplen una restricción de la base de datos.";
    }
}

const char* Descripcion(int codigo) {
    switch (codigo & 0xff) {
    case SQLITE_ERROR:
        return "Error en la instrucción enviada a la base de datos.";
    case SQLITE_PERM:
        return "No tiene permiso para realizar esta operación en la base de datos.";
    case SQLITE_BUSY:
        return "La base de datos está siendo utilizada por otro usuario; inténtelo de nuevo en "
               "unos momentos.";
    case SQLITE_LOCKED:
        return "La tabla está bloqueada por otra operación en curso.";
    case SQLITE_NOMEM:
        return "No hay memoria suficiente.";
    case SQLITE_READONLY:
        return "La base de datos es de solo lectura: no se pueden guardar cambios.";
    case SQLITE_ABORT:
        return "Un error anterior anuló la operación: no se guardó ningún cambio.";
    case SQLITE_INTERRUPT:
        return "La operación fue interrumpida.";
    case SQLITE_IOERR:
        return "Error de lectura o escritura en el archivo de la base de datos.";
    case SQLITE_CORRUPT:
        return "La base de datos está dañada.";
    case SQLITE_FULL:
        return "El disco está lleno: no se pudieron guardar los datos.";
    case SQLITE_CANTOPEN:
        return "No se puede abrir el archivo de la base de datos.";
    case SQLITE_PROTOCOL:
        return "No se pudo coordinar el acceso con otro usuario de la base de datos.";
    case SQLITE_SCHEMA:
        return "La estructura de la base de datos cambió; repita la operación.";
    case SQLITE_TOOBIG:
        return "El dato es demasiado grande.";
    case SQLITE_CONSTRAINT:
        return Restriccion(codigo);
    case SQLITE_MISMATCH:
        return "Un dato no es del tipo esperado.";
    case SQLITE_AUTH:
        return "No está autorizado a realizar esta operación.";
    case SQLITE_NOTADB:
        return "El archivo no es una base de datos o está dañado.";
    default:
        return nullptr;
    }
}

} // namespace

QString DescribirErrorMotor(int codigo, const QString& textoMotor) {
    const char* es = Descripcion(codigo);
    if (!es)
        return textoMotor;
    const QString texto = QString::fromUtf8(es);
    return textoMotor.isEmpty() ? texto : texto + QStringLiteral(" (") + textoMotor + u')';
}

QString DescribirErrorMotor(sqlite3* db) {
    return DescribirErrorMotor(sqlite3_extended_errcode(db), QString::fromUtf8(sqlite3_errmsg(db)));
}
