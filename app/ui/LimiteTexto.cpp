#include "LimiteTexto.h"

#include <QLineEdit>
#include <QTextBoundaryFinder>
#include <QValidator>

namespace {

// Where each character seen ends, in UTF-16 positions.
QList<qsizetype> FinesDeCaracter(const QString& texto) {
    QList<qsizetype> fines;
    QTextBoundaryFinder f(QTextBoundaryFinder::Grapheme, texto);
    while (f.toNextBoundary() > 0)
        fines << f.position();
    return fines;
}

class ValidadorLargo : public QValidator {
public:
    ValidadorLargo(int maximo, QObject* padre) : QValidator(padre), maximo_(maximo) {}

    // What does not fit is dropped from what was just typed or pasted, before the cursor,
    // as QLineEdit's own limit does.
    State validate(QString& texto, int& pos) const override {
        const QList<qsizetype> fines = FinesDeCaracter(texto);
        const qsizetype sobra = fines.size() - maximo_;
        if (sobra <= 0)
            return Acceptable;
        qsizetype hasta = fines.indexOf(pos);
        if (hasta < sobra - 1)
            hasta = fines.size() - 1;
        const qsizetype desde = hasta - sobra < 0 ? 0 : fines[hasta - sobra];
        texto.remove(desde, fines[hasta] - desde);
        pos = int(desde);
        return Acceptable;
    }

private:
    int maximo_;
};

} // namespace

void LimitarCaracteres(QLineEdit* campo, int maximo) {
    campo->setMaxLength(32767);
    campo->setValidator(new ValidadorLargo(maximo, campo));
}
