#pragma once

#include "Usuarios.h"

#include <QString>

// The sign-ins a protected server turned away, kept on this workstation until a sign-in the
// server accepts can hand them in: the refused session could not write them, and nothing else
// may write to the server's history. Kept in the person's own settings with the address of the
// database they were for; never the password.
namespace IngresosPendientes {

// Keeps one more for the database at `base`; the oldest go once there are too many.
void Guardar(const QString& base, const Usuarios::IngresoRechazado& intento);
// Those kept for the database at `base`, oldest first.
QList<Usuarios::IngresoRechazado> Pendientes(const QString& base);
// Hands those of `base` in on the open connection and forgets them; when they cannot be
// written (the person told) they stay for the next sign-in.
void Entregar(const QString& base);

} // namespace IngresosPendientes
