#pragma once

#include <QIODevice>
#include <QSaveFile>

// A file written whole or not at all. What is written goes to a temporary file beside `ruta`,
// which replaces it only when Confirmar() finds every byte taken by the disk, the system's own
// buffers included; a full disk or any failure leaves an earlier file as it was and no half
// file. QSaveFile alone is not enough: its last buffered bytes and a short write are lost
// without a word. Every write here is checked, short ones too, so a writer that does not look
// at what write() answers (the PDF writer) cannot hide a failure either: the first one makes
// the file fail as a whole.
class ArchivoEntero : public QIODevice {
public:
    explicit ArchivoEntero(const QString& ruta);
    ~ArchivoEntero() override;
    ArchivoEntero(const ArchivoEntero&) = delete;
    ArchivoEntero& operator=(const ArchivoEntero&) = delete;

    [[nodiscard]] bool Abrir();
    // All of `datos`, or false.
    [[nodiscard]] bool Escribir(const QByteArray& datos);
    // Puts the file in place; false (and nothing in place) if anything failed.
    [[nodiscard]] bool Confirmar();
    // Drops what was written; an earlier file stays as it was.
    void Descartar();
    // The system's own text for what failed (for ErrorDeArchivo); empty while nothing did.
    QString Error() const { return error_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* datos, qint64 n) override;

private:
    bool Vaciar();
    bool Fallar(const QString& error);

    QSaveFile archivo_;
    QByteArray pendiente_;
    QString error_;
};
