#pragma once

#include <QString>

// Two texts in the order the database sorts them: without regard to letter case for every
// Spanish letter, an accented letter beside the plain one, ñ after n. Negative, zero or positive
// as `a` comes before, with or after `b`.
int CompararTexto(const QString& a, const QString& b);
