// The floor of bench_arranque: Qt Widgets alone, a dialog with two line edits, ended the moment
// it is exposed when QUIMBEL_MEDIR_ARRANQUE is set, as the program is. Nothing of the program is
// linked, so that the floor pays only for what any Qt dialog costs.
#include "MedidaArranque.h"

#include <QApplication>
#include <QDialog>
#include <QFormLayout>
#include <QLineEdit>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    MedidaArranque::Instalar();
    QDialog dialogo;
    auto* capa = new QFormLayout(&dialogo);
    capa->addRow(QStringLiteral("Usuario:"), new QLineEdit(&dialogo));
    capa->addRow(QStringLiteral("Contraseña:"), new QLineEdit(&dialogo));
    dialogo.show();
    return app.exec();
}
