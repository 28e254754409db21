#pragma once

#include <QChar>

// Windows-1252, the single-byte code page of Spanish and Western European Windows: the one the
// reversible password form is defined on, and the one older Access files keep their texts in.
namespace PaginaCodigos {
// The character a byte stands for. The five bytes the code page leaves undefined stand for the
// control character of the same number, as Windows converts them.
QChar DeWindows1252(unsigned char byte);
// The byte of a character, or -1 when the code page has none for it.
int AWindows1252(QChar c);
} // namespace PaginaCodigos
