#pragma once

#include <QString>

// How a password is kept: Argon2id (libsodium) in the library's own text form, which holds its
// salt and its cost, so that a kept value keeps verifying whatever the cost is set to later.
// Nothing here can turn a kept value back into the password.
namespace Contrasena {

// The kept form of a password; empty only when the system lacked the memory to make it.
QString Cifrar(const QString& clave);
// Whether `clave` is the password of the kept value `guardada`. A value in any other form
// (the reversible form of older versions) matches nothing.
bool Coincide(const QString& guardada, const QString& clave);
bool EsCifrada(const QString& guardada);

// The reversible form of older versions turned back into the password: each character one step
// down the Windows-1252 code page. Only an upgrade needs it, to hash what older versions kept.
QString DescifrarAntigua(const QString& codificada);

// The least cost libsodium allows, for a test suite that signs in many times; never in the
// program.
void CostoMinimoParaPruebas();

} // namespace Contrasena
