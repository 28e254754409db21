#pragma once

#include <QString>

struct sqlite3;

// The engine's error as the user reads it: a Spanish description of the common cases, followed
// by the engine's own text in brackets, which support needs to tell one fault from another.
// Errors without a Spanish description keep the engine's text alone.
QString DescribirErrorMotor(int codigo, const QString& textoMotor);
// The same for the last error of a connection.
QString DescribirErrorMotor(sqlite3* db);
