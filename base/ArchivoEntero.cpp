#include "ArchivoEntero.h"

#include "SincronizarArchivo.h"

namespace {
// Small writes (the PDF writer's) are gathered into writes of this size.
constexpr qsizetype kBloque = 64 * 1024;
} // namespace

ArchivoEntero::ArchivoEntero(const QString& ruta) : archivo_(ruta) {}

ArchivoEntero::~ArchivoEntero() {
    Descartar();
}

bool ArchivoEntero::Abrir() {
    // Unbuffered: each write reaches the system here and its answer is seen.
    if (!archivo_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Fallar(archivo_.errorString());
    return open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool ArchivoEntero::Escribir(const QByteArray& datos) {
    return write(datos) == datos.size();
}

qint64 ArchivoEntero::writeData(const char* datos, qint64 n) {
    if (!error_.isEmpty())
        return -1;
    pendiente_.append(datos, n);
    if (pendiente_.size() >= kBloque && !Vaciar())
        return -1;
    return n;
}

// A short write is tried again with the rest; the disk then says why it took no more.
bool ArchivoEntero::Vaciar() {
    while (!pendiente_.isEmpty()) {
        const qint64 escritos = archivo_.write(pendiente_);
        if (escritos <= 0)
            return Fallar(archivo_.errorString());
        pendiente_.remove(0, escritos);
    }
    return true;
}

bool ArchivoEntero::Fallar(const QString& error) {
    error_ = error.isEmpty() ? QStringLiteral("Error de escritura") : error;
    return false;
}

bool ArchivoEntero::Confirmar() {
    if (!isOpen() || !error_.isEmpty() || !Vaciar() || !archivo_.flush() ||
        !SincronizarArchivo(archivo_.handle(), &error_)) {
        if (error_.isEmpty())
            Fallar(archivo_.errorString());
        Descartar();
        return false;
    }
    close();
    if (!archivo_.commit())
        return Fallar(archivo_.errorString());
    return true;
}

void ArchivoEntero::Descartar() {
    pendiente_.clear();
    if (isOpen())
        close();
    if (archivo_.isOpen())
        archivo_.cancelWriting();
}
