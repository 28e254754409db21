#include "Main.h"

#include <QApplication>

int main(int argc, char* argv[]) {
#if defined(Q_OS_LINUX)
    // Without TZ, glibc re-reads the time zone file on every local-time conversion, and the
    // order list converts one date per row.
    if (qEnvironmentVariableIsEmpty("TZ"))
        qputenv("TZ", ":/etc/localtime");
#endif
    QApplication app(argc, argv);
    return Main(app);
}
