#pragma once

#include <QString>
#include <QStringList>

// The states an order passes through, as stored in OrdEstado and shown in the lists.
namespace EstadosOrden {

inline const QString kPendiente = QStringLiteral("Pendiente");
inline const QString kEnTramite = QStringLiteral("En trámite");
inline const QString kCumplida = QStringLiteral("Cumplida");
inline const QString kAnulada = QStringLiteral("Anulada");

// In the order the lists offer them.
inline QStringList Todos() {
    return {kPendiente, kEnTramite, kCumplida, kAnulada};
}

// An order reaches these states only once someone has authorised it.
inline bool ExigeAutorizacion(const QString& estado) {
    return estado == kEnTramite || estado == kCumplida;
}

} // namespace EstadosOrden
