#include "PaginaCodigos.h"

namespace PaginaCodigos {

namespace {

// Bytes 0x80..0x9F; the others are the Unicode characters of the same number.
constexpr char16_t kAlto[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

QChar DeWindows1252(unsigned char byte) {
    return QChar(byte >= 0x80 && byte < 0xA0 ? kAlto[byte - 0x80] : char16_t(byte));
}

int AWindows1252(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kAlto[i] == u)
            return 0x80 + i;
    return -1;
}

} // namespace PaginaCodigos
