#include "frmGrillaProveedores.h"

#include "Listas.h"

frmGrillaProveedores::frmGrillaProveedores(QWidget* parent)
    : GrillaBusqueda(QStringLiteral("dtgProveedores"), QStringLiteral("LISTA DE PROVEEDORES"),
                     parent),
      dtgProveedores(Grilla()) {
    setObjectName(QStringLiteral("frmGrillaProveedores"));
}

void frmGrillaProveedores::Buscar() {
    empid = 0;
    // A failed search was told to the person; the list then shows no rows.
    static_cast<void>(Listas::BuscarProveedores(nombrefantasia, rs_));
    MostrarResultado({{QStringLiteral("Nombre"), QStringLiteral("EmpNombreFantasia")},
                      {QStringLiteral("Razón Social"), QStringLiteral("EmpRazonSocial")},
                      {QStringLiteral("Dirección"), QStringLiteral("EmpDireccion")},
                      {QStringLiteral("Teléfono 1"), QStringLiteral("EmpTelefono1")},
                      {QStringLiteral("Teléfono 2"), QStringLiteral("EmpTelefono2")}});
}

void frmGrillaProveedores::TomarFila() {
    empid = rs_.Campo(QStringLiteral("EmpId")).toInt();
    nombrefantasia = rs_.Texto(QStringLiteral("EmpNombreFantasia"));
}
