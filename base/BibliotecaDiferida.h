#pragma once

#include <QLibrary>
#include <QString>

// A shared library loaded the first time the program calls into it rather than with the program,
// for one that only some work needs: loading it and what it pulls in costs the start-up of every
// run. Such a library is not linked; one file per library defines the functions the program
// calls under the library's own names, each a call through the pointer found here, so the code
// that uses it reads as plain calls to the library. The program exports none of those
// definitions: a plugin of Qt linked to the same library, and the library itself, still reach
// the library's own functions.
class BibliotecaDiferida {
public:
    // The library's file: `nombre` with its major `version` on Unix ("pq", 5: libpq.so.5), and
    // `nombreWindows` on Windows.
    BibliotecaDiferida(const QString& nombre, int version, const QString& nombreWindows);

    bool Cargada() const { return cargada_; }
    // Why it could not be loaded, as the system says.
    QString Error() const { return error_; }
    // The library's function `simbolo` as a pointer of type F; nullptr when it is not there.
    template <typename F> F Funcion(const char* simbolo) {
        return cargada_ ? reinterpret_cast<F>(biblioteca_.resolve(simbolo)) : nullptr;
    }

private:
    QLibrary biblioteca_;
    bool cargada_ = false;
    QString error_;
};

// Inside a function defined under the library's name: `f`, the library's own, found once.
#define QUIMBEL_DIFERIDA(biblioteca, funcion)                                                      \
    static const auto f = (biblioteca).Funcion<decltype(&funcion)>(#funcion)
