#pragma once

#include "frmMantenimiento.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// Working a maintenance window the way a person does.
namespace AyudaMant {

inline void Pulsar(frmMantenimiento* f, int indice) {
    QTest::mouseClick(f->cmdMenu(indice), Qt::LeftButton);
}

inline void Escribir(QLineEdit* txt, const QString& texto) {
    txt->selectAll();
    QTest::keyClick(txt, Qt::Key_Delete);
    for (QChar c : texto) {
        if (c.unicode() < 128)
            QTest::keyClick(txt, c.toLatin1());
        else // accented letters have no key code of their own
            QTest::sendKeyEvent(QTest::Click, txt, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

inline void ElegirFila(frmMantenimiento* f, int fila) {
    QTableView* v = f->dtgLista();
    const QRect r = v->visualRect(v->model()->index(fila, 0));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
}

// What a column of the list shows, top to bottom.
inline QStringList Columna(frmMantenimiento* f, int columna) {
    QStringList r;
    const QAbstractItemModel* m = f->dtgLista()->model();
    for (int i = 0; i < m->rowCount(); ++i)
        r << m->index(i, columna).data().toString();
    return r;
}

inline bool Habilitados(frmMantenimiento* f, const QList<int>& indices) {
    for (int i = 0; i < f->Configuracion().botones.size(); ++i)
        if (f->cmdMenu(i)->isEnabled() != indices.contains(i))
            return false;
    return true;
}

} // namespace AyudaMant
