#pragma once

#include <QtGlobal>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/resource.h>
#endif

// While it lives, no file can grow beyond `bytes`: a write past that point fails as on a full
// disk (short, then refused), for root too. A file size limit needs no spare file system; where
// there is none (Windows) the test that needs it is skipped.
class DiscoLleno {
public:
    static constexpr bool kDisponible =
#if defined(Q_OS_UNIX)
        true;
#else
        false;
#endif

    explicit DiscoLleno(long bytes) {
#if defined(Q_OS_UNIX)
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &antes_);
        rlimit limite = antes_;
        limite.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limite);
#else
        Q_UNUSED(bytes);
#endif
    }
    ~DiscoLleno() {
#if defined(Q_OS_UNIX)
        setrlimit(RLIMIT_FSIZE, &antes_);
#endif
    }
    DiscoLleno(const DiscoLleno&) = delete;
    DiscoLleno& operator=(const DiscoLleno&) = delete;

private:
#if defined(Q_OS_UNIX)
    rlimit antes_{};
#endif
};
