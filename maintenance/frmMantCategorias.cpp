#include "frmMantCategorias.h"

#include "Disenos.h"

#include "Maestros.h"
#include "Mensajes.h"
#include "Usuario.h"

namespace {

ConfiguracionMant Config() {
    ConfiguracionMant c;
    c.nombre = QStringLiteral("frmMantCategorias");
    c.tabla = QStringLiteral("categorias");
    c.titulo = QStringLiteral("Mantenimiento de Categorías");
    c.tituloLista = QStringLiteral("LISTA DE CATEGORIAS");
    c.columnas = {{QStringLiteral("Código"), QStringLiteral("CatId")},
                  {QStringLiteral("Descripción"), QStringLiteral("CatDescripcion")},
                  {QStringLiteral("Desactivada"), QStringLiteral("CatDesactivada"), true}};
    c.campos = {{QStringLiteral("Código:"), QStringLiteral("CatId")},
                {QStringLiteral("Descripción:"), QStringLiteral("CatDescripcion"), 50}};
    c.etiquetaDesactivado = QStringLiteral("Desactivada:");
    c.campoDesactivado = QStringLiteral("CatDesactivada");
    c.botones = BotonMant::Comunes(QStringLiteral("Ingresar una nueva categoría"),
                                   QStringLiteral("Modificar la categoría seleccionada"),
                                   QStringLiteral("Imprimir la lista de categorías"));
    c.botones << BotonMant::De(QStringLiteral("Eliminar"), AccionMant::Eliminar,
                               QStringLiteral("Elimina las Categorías desactivadas"));
    c.comandoInsertar = QStringLiteral("categoria_insertar");
    c.comandoActualizar = QStringLiteral("categoria_actualizar");
    c.mensajeObligatorio = QStringLiteral("Debe ingresar la descripción de la categoría");
    c.informe = &dtrCategorias;
    c.nuevoVaciaCampos = true;
    c.desactivadoEditableAlCrear = true;
    c.cancelarVaciaCampos = true;
    return c;
}

VentanaUnica<frmMantCategorias> gCategorias;

} // namespace

frmMantCategorias::frmMantCategorias() : frmMantenimiento(Config()) {}

frmMantCategorias* frmMantCategorias::Instancia() {
    return MostrarUnica(gCategorias);
}

void frmMantCategorias::AbrirModal(QWidget* padre) {
    AbrirModalUnica(gCategorias, padre);
}

void frmMantCategorias::Eliminar() {
    if (Mensajes::MsgBox(
            QStringLiteral("¿Confirma que desea eliminar las Categorías desactivadas?"),
            Mensajes::Botones::SiNo, Mensajes::Icono::Pregunta,
            QStringLiteral("Confirme")) != Mensajes::Respuesta::Si)
        return;
    // A failure was told to the person, who must not then read "Listo".
    if (!Maestros::EliminarCategoriasDesactivadas(gLogin))
        return;
    Actualizar({});
    Mensajes::MsgBox(QStringLiteral("Listo. Puede que tenga que oprimir el botón Actualizar para "
                                    "ver reflejados los cambios."),
                     Mensajes::Botones::OK, Mensajes::Icono::Informacion, QStringLiteral("Listo"));
}
