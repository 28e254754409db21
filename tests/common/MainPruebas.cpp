#include "RegistroPruebas.h"

#include "Accesibilidad.h"
#include "Contrasena.h"
#include "Entorno.h"
#include "Mensajes.h"
#include "PresentadorMensajes.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QMetaMethod>
#include <QTest>
#include <cstdio>
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
// How many test functions a class has (its private slots, without Qt Test's own hooks).
int Funciones(const QObject& prueba) {
    const QMetaObject* m = prueba.metaObject();
    int n = 0;
    for (int i = m->methodOffset(); i < m->methodCount(); ++i) {
        const QMetaMethod f = m->method(i);
        const QByteArray nombre = f.name();
        if (f.methodType() == QMetaMethod::Slot && f.access() == QMetaMethod::Private &&
            !nombre.startsWith("init") && !nombre.startsWith("cleanup") &&
            !nombre.endsWith("_data"))
            ++n;
    }
    return n;
}

// One line per class run, for the run's summary: engine, class, functions, failed.
void Anotar(const char* clase, int funciones, int fallos) {
    const QByteArray archivo = qgetenv("QUIMBEL_PRUEBAS_CUENTA");
    if (archivo.isEmpty())
        return;
    QFile f(QString::fromLocal8Bit(archivo));
    if (f.open(QIODevice::Append | QIODevice::Text))
        f.write(Entorno::Motor() + ' ' + clase + ' ' + QByteArray::number(funciones) + ' ' +
                QByteArray::number(fallos) + '\n');
}

} // namespace

int RegistrarPrueba(const char* nombre, std::function<QObject*()> crear) {
    registradas().push_back({nombre, std::move(crear)});
    return static_cast<int>(registradas().size());
}

// With a class name as first argument, runs that class alone (the rest of the arguments go to
// Qt Test); --lista prints the names of the classes. A server run without a server to use is
// reported to CTest as skipped (77).
int main(int argc, char* argv[]) {
    if (argc > 1 && qstrcmp(argv[1], "--lista") == 0) {
        for (const Registrada& r : registradas())
            std::printf("%s\n", r.nombre);
        return 0;
    }
    const char* sola = nullptr;
    if (argc > 1)
        for (const Registrada& r : registradas())
            if (qstrcmp(argv[1], r.nombre) == 0)
                sola = r.nombre;
    if (sola) {
        argv[1] = argv[0];
        ++argv;
        --argc;
    }
    if (!Entorno::MotorDisponible()) {
        std::printf("No hay servidor PostgreSQL para las pruebas (QUIMBEL_PRUEBAS_PG).\n");
        return 77;
    }
    QApplication app(argc, argv);
    // The same locale on every machine, so numbers and dates read the same in every run.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    Mensajes::InstalarPresentadorWidgets();
    Mensajes::ModoPrueba(true);
    Accesibilidad::Instalar();
    // Tests sign in and make users by the hundred: the hashes' cost is the program's to bear.
    Contrasena::CostoMinimoParaPruebas();
    int fallos = 0;
    for (const Registrada& r : registradas()) {
        if (sola && qstrcmp(sola, r.nombre) != 0)
            continue;
        std::unique_ptr<QObject> prueba(r.crear());
        const int f = QTest::qExec(prueba.get(), argc, argv);
        Anotar(r.nombre, Funciones(*prueba), f);
        fallos += f;
    }
    return fallos == 0 ? 0 : 1;
}
