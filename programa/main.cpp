#include "Main.h"
#include "Programa.h"

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
#if defined(Q_OS_LINUX)
    // Without TZ, glibc re-reads the time zone file on every local-time conversion, and the
    // order list converts one date per row.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime");
#endif
    QApplication app(argc, argv);
    // A machine without regional settings (the C locale) gets the program's own language for
    // dates and numbers rather than the engine's neutral format.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
    return Main(app);
}
