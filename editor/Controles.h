#pragma once

#include "Recordset.h"

#include <QComboBox>
#include <QDateEdit>
#include <QIcon>

// The id of the record chosen in a text box travels with the box as its "Tag" property.
QString Tag(const QObject* control);
void SetTag(QObject* control, const QString& valor);

// A list filled from a record set: each row shows one column and is worth another. An editable
// list shows and is worth the same column and also takes text that none of its rows has; the
// window's layout makes it editable without inserting what is typed, and the window offers its
// rows as suggestions (Sugerencias).
class ListaEnlazada : public QComboBox {
    Q_OBJECT
public:
    explicit ListaEnlazada(QWidget* parent = nullptr);

    void Enlazar(const Recordset& rs, const QString& mostrada, const QString& valor);
    // How to find the shown text of a value that is no longer among the rows (a retired user or
    // sector on an old order): false when no record has that id.
    using BuscarNombre = bool (*)(int id, QString* nombre);
    void SetBuscarRetirado(BuscarNombre buscar) { buscarRetirado_ = buscar; }

    // The current value, empty when no row is chosen.
    QString Valor() const;
    // Chooses the row worth `valor`; none (empty) when no row is.
    void SetValor(const QString& valor);
    // As SetValor, but a stored value missing from the rows is still kept and shown by its name
    // when its record exists, so that saving does not silently change it.
    void SetValorGuardado(const QString& valor);
    QString Texto() const { return currentText(); }
    int Filas() const { return count() - (extra_ ? 1 : 0); }

private:
    void QuitarExtra();
    BuscarNombre buscarRetirado_ = nullptr;
    bool extra_ = false;
};

// A date picker with a calendar that keeps the time of day it was given.
class SelectorFecha : public QDateEdit {
    Q_OBJECT
public:
    explicit SelectorFecha(QWidget* parent = nullptr);
    QDateTime Momento() const { return QDateTime(date(), hora_); }
    void SetMomento(const QDateTime& momento);

private:
    QTime hora_;
};

// The locale's short date with the whole year.
QString FormatoFecha();
