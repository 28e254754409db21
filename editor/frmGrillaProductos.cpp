#include "frmGrillaProductos.h"

#include "Conexiones.h"

frmGrillaProductos::frmGrillaProductos(QWidget* parent)
    : GrillaBusqueda(QStringLiteral("dtgProductos"), QStringLiteral("LISTA DE PRODUCTOS"), parent),
      dtgProductos(Grilla()) {
    setObjectName(QStringLiteral("frmGrillaProductos"));
}

void frmGrillaProductos::Buscar() {
    proid = 0;
    // The search text is bound, never pasted into the SQL: names such as "Tuerca 3/8'' zincada"
    // must find themselves, and % or _ typed by a person are plain characters.
    AbrirRecordset(QStringLiteral("select p.*, c.CatDescripcion from productos p left join "
                                  "categorias c on c.CatId=p.CatId where "
                                  "instr(p.ProDescripcion, ?) > 0 order by p.ProId"),
                   rs_, {descripcion});
    MostrarResultado({{QStringLiteral("Descripción"), QStringLiteral("ProDescripcion")},
                      {QStringLiteral("Unidad de Medida"), QStringLiteral("ProUnidadMedida")},
                      {QStringLiteral("Categoría"), QStringLiteral("CatDescripcion")}});
}

void frmGrillaProductos::TomarFila() {
    proid = rs_.Campo(QStringLiteral("ProId")).toInt();
    descripcion = rs_.Texto(QStringLiteral("ProDescripcion"));
}
