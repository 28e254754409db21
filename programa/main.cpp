#include "Main.h"
#include "Programa.h"
#include "Reloj.h"

#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <cstring>

namespace {

const char kAyuda[] =
    "Uso: quimbel [OPCIÓN]\n"
    "Órdenes de compra con cotizaciones y autorización.\n"
    "\n"
    "  -h, --help     muestra esta ayuda y termina\n"
    "      --version  muestra la versión y termina\n"
    "\n"
    "La base de datos es el valor db_path de /etc/xdg/Tolvanex/Quimbel.conf, o del archivo\n"
    "INI que indique la variable QUIMBEL_SETTINGS. Las bases se crean con quimbel-db(1).\n";

// Answered before the application object exists, which needs a display: these work in a
// terminal without one. -1 when the program is to start.
int OpcionSinPantalla(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", qPrintable(Programa::Titulo()), qPrintable(Programa::Version()));
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kAyuda, stdout);
            return 0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (const int codigo = OpcionSinPantalla(argc, argv); codigo >= 0)
        return codigo;
    Reloj::PrepararZonaHoraria();
    QApplication app(argc, argv);
    // A machine without regional settings (the C locale) gets the program's own language for
    // dates and numbers rather than the engine's neutral format.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    return Main(app);
}
