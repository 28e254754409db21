#include "Clave.h"

#include "ErrorPrograma.h"

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 where the code page has no character (the byte then stands
// for the control character of the same number, as Windows converts it).
constexpr char16_t kAlto[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int AByte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kAlto[i] == c)
            return 0x80 + i;
    return -1;
}

char16_t DeByte(int b) {
    return b >= 0x80 && b < 0xA0 ? kAlto[b - 0x80] : char16_t(b);
}

} // namespace

QString CodificarClave(const QString& clave) {
    QString r;
    r.reserve(clave.size());
    for (QChar c : clave) {
        const int b = AByte(c.unicode());
        if (b < 0 || b >= 0xFF) {
            MostrarError({5, QStringLiteral("La contraseña contiene el carácter \"%1\", que no "
                                            "se puede codificar.")
                                 .arg(c)});
            return {};
        }
        r.append(QChar(DeByte(b + 1)));
    }
    return r;
}
