#include "frmGrillaProductos.h"

#include "Listas.h"

frmGrillaProductos::frmGrillaProductos(QWidget* parent)
    : GrillaBusqueda(QStringLiteral("dtgProductos"), QStringLiteral("LISTA DE PRODUCTOS"), parent),
      dtgProductos(Grilla()) {
    setObjectName(QStringLiteral("frmGrillaProductos"));
}

void frmGrillaProductos::Buscar() {
    proid = 0;
    // Names such as "Tuerca 3/8'' zincada" must find themselves.
    // A failed search was told to the person; the list then shows no rows.
    static_cast<void>(Listas::BuscarProductos(descripcion, rs_));
    MostrarResultado({{QStringLiteral("Descripción"), QStringLiteral("ProDescripcion")},
                      {QStringLiteral("Unidad de Medida"), QStringLiteral("ProUnidadMedida")},
                      {QStringLiteral("Categoría"), QStringLiteral("CatDescripcion")}});
}

void frmGrillaProductos::TomarFila() {
    proid = rs_.Campo(QStringLiteral("ProId")).toInt();
    descripcion = rs_.Texto(QStringLiteral("ProDescripcion"));
}
