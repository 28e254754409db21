#pragma once

struct sqlite3;

// What the engine needs so that the program's SQL texts behave as its users expect: text that
// compares without regard to letter case for every Spanish letter (á and Á, ñ and Ñ) in =,
// LIKE, INSTR, DISTINCT and ORDER BY. Registered on every connection the program opens.
namespace Dialecto {
inline constexpr const char* kCollation = "ES_CI";
bool Registrar(sqlite3* db);
// Case-folded comparison used by the collation; exposed for tests.
int Comparar(const char* a, int na, const char* b, int nb);
} // namespace Dialecto
