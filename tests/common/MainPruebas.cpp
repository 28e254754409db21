#include "RegistroPruebas.h"

#include "Accesibilidad.h"
#include "Mensajes.h"
#include "PresentadorMensajes.h"

#include <QApplication>
#include <QLocale>
#include <QTest>
#include <memory>
#include <vector>

namespace {
struct Registrada {
    const char* nombre;
    std::function<QObject*()> crear;
};
std::vector<Registrada>& registradas() {
    static std::vector<Registrada> r;
    return r;
}
} // namespace

int RegistrarPrueba(const char* nombre, std::function<QObject*()> crear) {
    registradas().push_back({nombre, std::move(crear)});
    return static_cast<int>(registradas().size());
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The same locale on every machine, so numbers and dates read the same in every run.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    Mensajes::InstalarPresentadorWidgets();
    Mensajes::ModoPrueba(true);
    Accesibilidad::Instalar();
    int fallos = 0;
    for (const Registrada& r : registradas()) {
        std::unique_ptr<QObject> prueba(r.crear());
        fallos += QTest::qExec(prueba.get(), argc, argv);
    }
    return fallos == 0 ? 0 : 1;
}
