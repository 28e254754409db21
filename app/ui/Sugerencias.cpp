#include "Sugerencias.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>

namespace Sugerencias {
namespace {

// Enter in the popup takes the highlighted row, if any, and then counts as Enter in the box,
// so that the window moves on to the next control as it does from every field.
class EnterEnPopup : public QObject {
public:
    EnterEnPopup(QCompleter* completer, QComboBox* lista)
        : QObject(completer), completer_(completer), lista_(lista) {}

protected:
    bool eventFilter(QObject*, QEvent* ev) override {
        if (ev->type() != QEvent::KeyPress)
            return false;
        auto* k = static_cast<QKeyEvent*>(ev);
        if (k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter)
            return false;
        QAbstractItemView* popup = completer_->popup();
        const QModelIndex elegida = popup->currentIndex();
        if (elegida.isValid())
            lista_->setEditText(elegida.data(Qt::EditRole).toString());
        popup->hide();
        QApplication::sendEvent(lista_->lineEdit(), ev);
        return true;
    }

private:
    QCompleter* completer_;
    QComboBox* lista_;
};

} // namespace

void Ofrecer(QComboBox* lista) {
    QLineEdit* caja = lista->lineEdit();
    if (!caja)
        return;
    // Without a completer of its own the list matches typed text only when it is exactly a row.
    lista->setCompleter(nullptr);
    auto* completer = new QCompleter(lista->model(), lista);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    completer->setWidget(caja);
    completer->popup()->installEventFilter(new EnterEnPopup(completer, lista));
    QObject::connect(caja, &QLineEdit::textEdited, completer, [completer](const QString& texto) {
        completer->setCompletionPrefix(texto);
        if (texto.isEmpty())
            completer->popup()->hide();
        else
            completer->complete();
    });
    QObject::connect(completer, qOverload<const QString&>(&QCompleter::activated), lista,
                     [lista](const QString& texto) { lista->setEditText(texto); });
}

} // namespace Sugerencias
