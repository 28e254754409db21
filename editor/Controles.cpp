#include "Controles.h"

#include "Formato.h"

#include <QLineEdit>
#include <QLocale>

QString Tag(const QObject* control) {
    return control->property("Tag").toString();
}

void SetTag(QObject* control, const QString& valor) {
    control->setProperty("Tag", valor);
}

ListaEnlazada::ListaEnlazada(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
}

void ListaEnlazada::Enlazar(const Recordset& rs, const QString& mostrada, const QString& valor) {
    clear();
    extra_ = false;
    const int iMostrada = rs.IndiceCampo(mostrada);
    const int iValor = rs.IndiceCampo(valor);
    if (iMostrada < 0 || iValor < 0)
        return;
    for (int i = 0; i < rs.RecordCount(); ++i) {
        const QVector<QVariant>& fila = rs.Fila(i);
        const QString texto = Formato::Valor(fila[iMostrada]);
        if (isEditable() && texto.isEmpty())
            continue;
        addItem(texto, isEditable() ? QVariant(texto) : QVariant(fila[iValor].toString()));
    }
    setCurrentIndex(-1);
}

QString ListaEnlazada::Valor() const {
    if (isEditable())
        return currentText();
    return currentIndex() >= 0 ? itemData(currentIndex()).toString() : QString();
}

void ListaEnlazada::QuitarExtra() {
    if (extra_) {
        extra_ = false;
        removeItem(count() - 1);
    }
}

void ListaEnlazada::SetValor(const QString& valor) {
    QuitarExtra();
    if (isEditable()) {
        const int i = findText(valor, Qt::MatchFixedString);
        setCurrentIndex(i >= 0 && itemText(i) == valor ? i : -1);
        setEditText(valor);
        return;
    }
    setCurrentIndex(valor.isEmpty() ? -1 : findData(valor));
}

void ListaEnlazada::SetValorGuardado(const QString& valor) {
    SetValor(valor);
    if (isEditable() || valor.isEmpty() || currentIndex() >= 0 || !buscarRetirado_)
        return;
    bool esNumero = false;
    const int id = valor.toInt(&esNumero);
    if (!esNumero || id <= 0)
        return;
    QString nombre;
    if (buscarRetirado_(id, &nombre)) {
        addItem(nombre, valor);
        extra_ = true;
        setCurrentIndex(count() - 1);
    }
}

QString FormatoFecha() {
    QString f = QLocale().dateFormat(QLocale::ShortFormat);
    if (!f.contains(QLatin1String("yyyy")))
        f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return f;
}

SelectorFecha::SelectorFecha(QWidget* parent) : QDateEdit(parent) {
    setCalendarPopup(true);
    setDisplayFormat(FormatoFecha());
}

void SelectorFecha::SetMomento(const QDateTime& momento) {
    setDate(momento.date());
    hora_ = momento.isValid() ? momento.time() : QTime(0, 0);
}
