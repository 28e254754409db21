// Start-up: from starting the program to its sign-in window on screen, on the demo database,
// against its floor: bench_arranque_piso, a bare Qt program linked to Qt Widgets alone showing a
// dialog with two line edits. Both end the moment their first window is exposed
// (QUIMBEL_MEDIR_ARRANQUE); runs alternate and the best of five counts. Without a display the
// offscreen platform is used.
// Run by hand: build/bin/bench_arranque
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

// Milliseconds from starting the program to its end; negative when it did not end by itself.
double Medir(const QString& programa, const QStringList& args, const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer reloj;
    reloj.start();
    p.start(programa, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(programa),
                     p.readAllStandardError().constData());
        p.kill();
        p.waitForFinished();
        return -1;
    }
    return reloj.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    const QString carpeta = QCoreApplication::applicationDirPath();
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("bdquimbel.mdb"));
    QProcess crear;
    crear.start(carpeta + QStringLiteral("/quimbel-db"),
                {QStringLiteral("crear"), QStringLiteral("--demo"), base});
    if (!crear.waitForFinished(120000) || crear.exitCode() != 0)
        return 1;
    const QString ini = dir.filePath(QStringLiteral("quimbel.ini"));
    QFile f(ini);
    if (!f.open(QIODevice::WriteOnly) || f.write("[General]\ndb_path=" + base.toUtf8() + "\n") < 0)
        return 1;
    f.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUIMBEL_MEDIR_ARRANQUE"), QStringLiteral("1"));
    env.insert(QStringLiteral("QUIMBEL_SETTINGS"), ini);

    double programa = 1e100, piso = 1e100;
    for (int vuelta = 0; vuelta < 5; ++vuelta) {
        const double a = Medir(carpeta + QStringLiteral("/quimbel"), {}, env);
        const double b = Medir(carpeta + QStringLiteral("/bench_arranque_piso"), {}, env);
        if (a < 0 || b < 0)
            return 1;
        programa = std::min(programa, a);
        piso = std::min(piso, b);
    }
    std::printf("inicio hasta la ventana de ingreso: %.0f ms\n", programa);
    std::printf("piso, un diálogo de Qt con dos campos: %.0f ms\n", piso);
    std::printf("proporción: %.2f×\n", programa / piso);
    return 0;
}
