#pragma once

#include <QString>

// libmdb, loaded when an Access file is first read rather than with the program (see
// BibliotecaDiferida); Libmdb.cpp defines the functions the reader calls under their own names.
namespace Libmdb {
// Whether the library is there (loading it if need be); `causa` says in Spanish why not.
bool Disponible(QString* causa);
} // namespace Libmdb
