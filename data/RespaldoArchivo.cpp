#include "RespaldoArchivo.h"

#include "CopiaArchivo.h"

namespace RespaldoArchivo {

Resultado Copiar(const QString& origen, const QString& destino, int esperaMs,
                 const Progreso& progreso) {
    switch (Motor::CopiarArchivo(origen, destino, esperaMs, progreso)) {
    case Motor::CopiaArchivo::Hecha:
        return Resultado::Hecha;
    case Motor::CopiaArchivo::EnUso:
        return Resultado::EnUso;
    case Motor::CopiaArchivo::Fallo:
        break;
    }
    return Resultado::Fallo;
}

bool Sano(const QString& ruta) {
    return Motor::ArchivoSano(ruta);
}

} // namespace RespaldoArchivo
