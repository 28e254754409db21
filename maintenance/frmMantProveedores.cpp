#include "frmMantProveedores.h"

#include "Disenos.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

ConfiguracionMant Config() {
    ConfiguracionMant c;
    c.nombre = QStringLiteral("frmMantProveedores");
    c.tabla = QStringLiteral("proveedores");
    c.titulo = QStringLiteral("Mantenimiento de Proveedores");
    c.tituloLista = QStringLiteral("LISTA DE PROVEEDORES");
    c.columnas = {{QStringLiteral("Nombre"), QStringLiteral("EmpNombreFantasia")},
                  {QStringLiteral("Razón Social"), QStringLiteral("EmpRazonSocial")},
                  {QStringLiteral("Ruc"), QStringLiteral("EmpRuc")},
                  {QStringLiteral("Dirección"), QStringLiteral("EmpDireccion")},
                  {QStringLiteral("Código Postal"), QStringLiteral("EmpCodigoPostal")},
                  {QStringLiteral("Telefono 1"), QStringLiteral("EmpTelefono1")},
                  {QStringLiteral("Telefono 2"), QStringLiteral("EmpTelefono2")},
                  {QStringLiteral("Fax"), QStringLiteral("EmpFax")},
                  {QStringLiteral("E-mail"), QStringLiteral("EmpEmail")},
                  {QStringLiteral("URL"), QStringLiteral("EmpURL")},
                  {QStringLiteral("Zona"), QStringLiteral("EmpZona")},
                  {QStringLiteral("Ciudad"), QStringLiteral("EmpCiudad")},
                  {QStringLiteral("Provincia/Estado"), QStringLiteral("EmpProvinciaEstado")},
                  {QStringLiteral("País"), QStringLiteral("EmpPais")}};
    c.campos = {{QStringLiteral("Código:"), QStringLiteral("EmpId")},
                {QStringLiteral("Nombre:"), QStringLiteral("EmpNombreFantasia"), 30},
                {QStringLiteral("Razón Social:"), QStringLiteral("EmpRazonSocial"), 30},
                {QStringLiteral("Dirección:"), QStringLiteral("EmpDireccion"), 50},
                {QStringLiteral("Código Postal:"), QStringLiteral("EmpCodigoPostal"), 10},
                {QStringLiteral("Teléfono 1:"), QStringLiteral("EmpTelefono1"), 20},
                {QStringLiteral("Teléfono 2:"), QStringLiteral("EmpTelefono2"), 20},
                {QStringLiteral("Fax:"), QStringLiteral("EmpFax"), 20},
                {QStringLiteral("Ruc:"), QStringLiteral("EmpRuc"), 20},
                {QStringLiteral("E.Mail:"), QStringLiteral("EmpEmail"), 50},
                {QStringLiteral("Página Web:"), QStringLiteral("EmpURL"), 50},
                {QStringLiteral("Zona:"), QStringLiteral("EmpZona"), 50},
                {QStringLiteral("Ciudad:"), QStringLiteral("EmpCiudad"), 50},
                {QStringLiteral("Provincia/Estado:"), QStringLiteral("EmpProvinciaEstado"), 50},
                {QStringLiteral("País:"), QStringLiteral("EmpPais"), 50}};
    c.campoDesactivado = QStringLiteral("EmpDesactivado");
    c.botones = BotonMant::Comunes(QStringLiteral("Ingresar un nuevo proveedor"),
                                   QStringLiteral("Modificar el proveedor seleccionado"),
                                   QStringLiteral("Imprimir la lista de proveedores"));
    c.tituloBuscar = QStringLiteral("Buscar por Nombre");
    c.comandoInsertar = QStringLiteral("proveedor_insertar");
    c.comandoActualizar = QStringLiteral("proveedor_actualizar");
    c.mensajeObligatorio = QStringLiteral("Debe ingresar el Nombre del Proveedor");
    c.informe = &dtrProveedores;
    c.informeModal = true;
    c.nuevoVaciaCampos = true;
    c.cancelarRecarga = true;
    c.camposPorFila = 2;
    c.anchoTwips = 11400;
    c.altoTwips = 9600;
    return c;
}

// The stored commands take the tax number right after the company name.
constexpr int kOrdenComando[] = {1, 2, 8, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14};

VentanaUnica<frmMantProveedores> gProveedores;

} // namespace

frmMantProveedores::frmMantProveedores() : frmMantenimiento(Config()) {}

frmMantProveedores* frmMantProveedores::Instancia() {
    return MostrarUnica(gProveedores);
}

QVariantList frmMantProveedores::ValoresInsertar() const {
    QVariantList v;
    for (int i : kOrdenComando)
        v << txtFields(i)->text();
    return v;
}

QVariantList frmMantProveedores::ValoresActualizar() const {
    QVariantList v{txtFields(0)->text()};
    v << ValoresInsertar() << Marca(chkDesactivado());
    return v;
}
