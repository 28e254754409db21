#include "frmMantSectores.h"

#include "Disenos.h"

namespace {

ConfiguracionMant Config() {
    ConfiguracionMant c;
    c.nombre = QStringLiteral("frmMantSectores");
    c.tabla = QStringLiteral("sectores");
    c.titulo = QStringLiteral("Mantenimiento de Sectores");
    c.tituloLista = QStringLiteral("LISTA DE SECTORES");
    c.columnas = {{QStringLiteral("Código"), QStringLiteral("SecId")},
                  {QStringLiteral("Descripción"), QStringLiteral("SecDescripcion")},
                  {QStringLiteral("Desactivado"), QStringLiteral("SecDesactivado"), true}};
    c.campos = {{QStringLiteral("Código:"), QStringLiteral("SecId")},
                {QStringLiteral("Descripción:"), QStringLiteral("SecDescripcion"), 50}};
    c.campoDesactivado = QStringLiteral("SecDesactivado");
    c.botones = BotonMant::Comunes(QStringLiteral("Ingresar un nuevo sector"),
                                   QStringLiteral("Modificar el sector seleccionada"),
                                   QStringLiteral("Imprimir la lista de sectores"));
    c.comandoInsertar = QStringLiteral("sector_insertar");
    c.comandoActualizar = QStringLiteral("sector_actualizar");
    c.mensajeObligatorio = QStringLiteral("Debe ingresar la descripción del sector");
    c.informe = &dtrSectores;
    return c;
}

VentanaUnica<frmMantSectores> gSectores;

} // namespace

frmMantSectores::frmMantSectores() : frmMantenimiento(Config()) {}

frmMantSectores* frmMantSectores::Instancia() {
    return MostrarUnica(gSectores);
}
