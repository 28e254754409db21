#include "Main.h"
#include "Programa.h"
#include "Reloj.h"

#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    // Answered before the application object exists, which needs a display.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", qPrintable(Programa::Titulo()), qPrintable(Programa::Version()));
            return 0;
        }
    Reloj::PrepararZonaHoraria();
    QApplication app(argc, argv);
    // A machine without regional settings (the C locale) gets the program's own language for
    // dates and numbers rather than the engine's neutral format.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    return Main(app);
}
