// The floor of bench_arranque: Qt Widgets alone, a dialog with two line edits, ended the moment
// it is exposed when QUIMBEL_MEDIR_ARRANQUE is set (as the program is). Nothing of the program
// is linked, so that the floor pays only for what any Qt dialog costs.
#include <QApplication>
#include <QDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QWindow>
#include <cstdlib>

namespace {

class AlPrimerExpose : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        const auto* ventana = qobject_cast<QWindow*>(objeto);
        if (evento->type() == QEvent::Expose && ventana && ventana->isExposed())
            std::_Exit(0);
        return false;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("QUIMBEL_MEDIR_ARRANQUE"))
        app.installEventFilter(new AlPrimerExpose(&app));
    QDialog dialogo;
    auto* capa = new QFormLayout(&dialogo);
    capa->addRow(QStringLiteral("Usuario:"), new QLineEdit(&dialogo));
    capa->addRow(QStringLiteral("Contraseña:"), new QLineEdit(&dialogo));
    dialogo.show();
    return app.exec();
}
