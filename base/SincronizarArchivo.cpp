#include "SincronizarArchivo.h"

#include <cerrno>
#include <cstring>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <unistd.h>
#endif

bool SincronizarArchivo(int descriptor, QString* error) {
    if (descriptor < 0)
        return true;
#if defined(Q_OS_WIN)
    const int r = _commit(descriptor);
#else
    int r = 0;
    do
        r = fsync(descriptor);
    while (r != 0 && errno == EINTR);
    // A file system without sync (some special ones) has nothing more to do.
    if (r != 0 && errno == EINVAL)
        return true;
#endif
    if (r != 0 && error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    return r == 0;
}
