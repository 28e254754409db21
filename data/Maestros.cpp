#include "Maestros.h"

#include "Conexiones.h"
#include "Historial.h"

namespace Maestros {
namespace {

// A window's three list texts: its first load, its reloads, and its search, whose ? takes the
// text.
struct TextosLista {
    const char* tabla;
    const char* alAbrir;
    const char* todos;
    const char* busqueda; // nullptr: the window has no search
};

constexpr TextosLista kListas[] = {
    {"categorias", "select * from categorias order by catdescripcion asc",
     "SELECT * FROM CATEGORIAS ORDER BY CATDESCRIPCION ASC",
     "SELECT * FROM CATEGORIAS WHERE INSTR(CATDESCRIPCION,?)"},
    {"centrosdecosto", "select * from centrosdecosto order by CenCosDescripcion ASC",
     "SELECT * FROM centrosdecosto ORDER BY CenCosDescripcion ASC",
     "SELECT * FROM centrosdecosto WHERE INSTR(CenCosDescripcion,?)"},
    {"proveedores", "select * from proveedores order by EmpNombreFantasia ASC",
     "SELECT * FROM proveedores ORDER BY EmpNombreFantasia ASC",
     "SELECT * FROM proveedores WHERE INSTR(EmpNombreFantasia,?)"},
    {"sectores", "select * from sectores order by SecDescripcion ASC",
     "SELECT * FROM SECTORES ORDER BY SECDESCRIPCION ASC",
     "SELECT * FROM SECTORES WHERE INSTR(SECDESCRIPCION,?)"},
    {"usuarios", "select * from usuarios order by UsuNombre ASC",
     "SELECT * FROM usuarios ORDER BY UsuNombre ASC", nullptr},
};

const TextosLista* TextosDe(const QString& tabla) {
    for (const TextosLista& t : kListas)
        if (tabla.compare(QLatin1String(t.tabla), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

} // namespace

bool AbrirLista(const QString& tabla, const SeleccionLista& seleccion, Recordset& rs) {
    const TextosLista* t = TextosDe(tabla);
    if (!t)
        return false;
    switch (seleccion.tipo) {
    case SeleccionLista::Tipo::AlAbrir:
        return AbrirRecordset(QString::fromLatin1(t->alAbrir), rs);
    case SeleccionLista::Tipo::Todos:
        return AbrirRecordset(QString::fromLatin1(t->todos), rs);
    case SeleccionLista::Tipo::Busqueda:
        return t->busqueda &&
               AbrirRecordset(QString::fromLatin1(t->busqueda), rs, {seleccion.texto});
    }
    return false;
}

bool AbrirProductosParaImprimir(Recordset& rs) {
    return AbrirRecordset(QStringLiteral("select * from productos order by ProDescripcion ASC"),
                          rs);
}

bool Insertar(const QString& comando, const QVariantList& valores, QVariant* id) {
    Recordset rs;
    if (!EjecutarComando(comando, rs, valores))
        return false;
    if (!id)
        return true;
    *id = QVariant();
    Recordset ultimo;
    if (AbrirRecordset(QStringLiteral("SELECT last_insert_rowid()"), ultimo) &&
        ultimo.RecordCount() > 0)
        *id = ultimo.Campo(0);
    CerrarRecordset(ultimo, true);
    return true;
}

bool Actualizar(const QString& comando, const QVariantList& valores) {
    Recordset rs;
    return EjecutarComando(comando, rs, valores);
}

bool EliminarCategoriasDesactivadas(const QString& login) {
    Recordset rs;
    if (BaseProtegida()) {
        // The server records each deleted category itself.
        const bool ok = AbrirRecordset(QStringLiteral("SELECT quimbel_categorias_purgar()"), rs);
        CerrarRecordset(rs, true);
        return ok;
    }
    // Each category deleted leaves its lines, as any other deleted record does: the rows
    // recorded are the ones the statement deleted. A product without a category must not make
    // NOT IN unknown for every row (and purge nothing).
    Transaccion t;
    if (!t.Activa() ||
        !AbrirRecordset(QStringLiteral("DELETE FROM CATEGORIAS WHERE CatDesactivada=True AND "
                                       "CatId NOT IN (SELECT CatId FROM PRODUCTOS WHERE CatId IS "
                                       "NOT NULL) RETURNING *"),
                        rs))
        return false;
    for (int i = 0; i < rs.RecordCount(); ++i)
        if (!Historial::RegistrarRegistro(login, QStringLiteral("categorias"),
                                          QStringLiteral("CatId"),
                                          {rs.NombresCampos(), {}, rs.Fila(i)}, {}))
            return false;
    CerrarRecordset(rs, true);
    return t.Confirmar();
}

} // namespace Maestros
