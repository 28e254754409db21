#include "Modulos.h"

#include "Mensajes.h"
#include "Modulo.h"
#include "ModuloGraficos.h"
#include "ModuloImpresion.h"

namespace {

template <typename Interfaz> const Interfaz* Cargar(const char* nombre, const char* queNo) {
    QString error;
    const auto* modulo = qobject_cast<Interfaz*>(Modulo::Cargar(QLatin1String(nombre), &error));
    if (!modulo)
        Mensajes::MsgBox(Modulo::FaltaModulo(QString::fromUtf8(queNo), error),
                         Mensajes::Botones::OK, Mensajes::Icono::Exclamacion,
                         QStringLiteral("Atención"));
    return modulo;
}

} // namespace

const ModuloGraficos* ModuloDeGraficos() {
    return Cargar<ModuloGraficos>("quimbel-graficos", "No se pueden mostrar los gráficos");
}

const ModuloImpresion* ModuloDeImpresion() {
    return Cargar<ModuloImpresion>("quimbel-impresion",
                                   "No se puede mostrar la vista previa del informe");
}
