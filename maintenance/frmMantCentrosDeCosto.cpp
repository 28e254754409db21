#include "frmMantCentrosDeCosto.h"

#include "Disenos.h"

namespace {

ConfiguracionMant Config() {
    ConfiguracionMant c;
    c.nombre = QStringLiteral("frmMantCentrosDeCosto");
    c.tabla = QStringLiteral("centrosdecosto");
    c.titulo = QStringLiteral("Mantenimiento de Centros de Costo");
    c.tituloLista = QStringLiteral("LISTA DE CENTROS DE COSTO");
    c.columnas = {{QStringLiteral("Código"), QStringLiteral("CenCosId")},
                  {QStringLiteral("Descripción"), QStringLiteral("CenCosDescripcion")},
                  {QStringLiteral("Desactivado"), QStringLiteral("CenCosDesactivado"), true}};
    c.campos = {{QStringLiteral("Código:"), QStringLiteral("CenCosId")},
                {QStringLiteral("Descripción:"), QStringLiteral("CenCosDescripcion"), 50}};
    c.campoDesactivado = QStringLiteral("CenCosDesactivado");
    c.botones = BotonMant::Comunes(QStringLiteral("Ingresar un nuevo Centro de Costo"),
                                   QStringLiteral("Modificar el Centro de Costo seleccionado"),
                                   QStringLiteral("Imprimir la lista de Centros de Costo"));
    c.comandoInsertar = QStringLiteral("centrodecosto_insertar");
    c.comandoActualizar = QStringLiteral("centrodecosto_actualizar");
    c.mensajeObligatorio = QStringLiteral("Debe ingresar la descripción del Centro de Costo");
    c.informe = &dtrCentrosDeCosto;
    return c;
}

VentanaUnica<frmMantCentrosDeCosto> gCentrosDeCosto;

} // namespace

frmMantCentrosDeCosto::frmMantCentrosDeCosto() : frmMantenimiento(Config()) {}

frmMantCentrosDeCosto* frmMantCentrosDeCosto::Instancia() {
    return MostrarUnica(gCentrosDeCosto);
}
