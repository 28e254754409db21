#include "BibliotecaDiferida.h"

BibliotecaDiferida::BibliotecaDiferida(const QString& nombre, int version,
                                       const QString& nombreWindows) {
#ifdef Q_OS_WIN
    Q_UNUSED(nombre);
    Q_UNUSED(version);
    biblioteca_.setFileName(nombreWindows);
#else
    Q_UNUSED(nombreWindows);
    biblioteca_.setFileNameAndVersion(nombre, version);
#endif
    // Other code in the process (Qt's plugins) may hold the same library: it stays loaded.
    biblioteca_.setLoadHints(QLibrary::PreventUnloadHint);
    cargada_ = biblioteca_.load();
    if (!cargada_)
        error_ = biblioteca_.errorString();
}
