#pragma once

struct sqlite3;

// What the engine needs so that the program's SQL texts behave as its users expect: text that
// compares without regard to letter case for every Spanish letter (á and Á, ñ and Ñ) in =,
// LIKE, INSTR, DISTINCT and ORDER BY; and ahora(), the moment a change is recorded at (the
// program's clock here; a server gives its own time). Registered on every connection.
namespace Dialecto {
inline constexpr const char* kCollation = "ES_CI";
[[nodiscard]] bool Registrar(sqlite3* db);
// Case-folded comparison used by the collation; exposed for tests.
int Comparar(const char* a, int na, const char* b, int nb);
} // namespace Dialecto
