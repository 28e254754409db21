#pragma once

#include <QString>

// The server's client library, loaded the first time the program needs it rather than with the
// program: a database file never does, and libpq brings TLS, Kerberos and LDAP with it, which
// cost a sixth of the time to the first window. Libpq.cpp defines the functions the program
// calls under libpq's own names, so the code that talks to the server reads as plain libpq.
namespace Libpq {
// Whether the library is there (loading it if need be); `causa` says in Spanish why not.
bool Disponible(QString* causa = nullptr);
} // namespace Libpq
