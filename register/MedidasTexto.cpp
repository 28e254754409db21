#include "MedidasTexto.h"

namespace {

// Enough for every distinct text of a large list; past it, the texts measured are forgotten.
constexpr qsizetype kRecordados = 50000;

} // namespace

MedidasTexto::MedidasTexto(const QFont& fuente)
    : fuente_(fuente), variantes_{Crear(fuente, false, false), Crear(fuente, true, false),
                                  Crear(fuente, false, true), Crear(fuente, true, true)} {}

MedidasTexto::Variante MedidasTexto::Crear(const QFont& base, bool negrita, bool cursiva) {
    QFont f = base;
    f.setBold(negrita);
    f.setItalic(cursiva);
    const QFontMetrics medidas(f);
    bool iguales = true;
    for (char16_t d = u'1'; d <= u'9'; ++d)
        iguales = iguales && medidas.horizontalAdvance(QChar(d)) == medidas.horizontalAdvance(u'0');
    return {medidas, iguales, {}};
}

int MedidasTexto::Ancho(const QString& texto, bool negrita, bool cursiva) {
    Variante& v = variantes_[(negrita ? 1 : 0) | (cursiva ? 2 : 0)];
    QString forma = texto;
    if (v.digitosIguales)
        for (QChar& c : forma)
            if (c >= u'1' && c <= u'9')
                c = u'0';
    if (const auto it = v.anchos.constFind(forma); it != v.anchos.constEnd())
        return it.value();
    if (v.anchos.size() >= kRecordados)
        v.anchos.clear();
    const int ancho = v.medidas.horizontalAdvance(forma);
    v.anchos.insert(forma, ancho);
    return ancho;
}
