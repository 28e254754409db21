#include "Contrasena.h"

#include "PaginaCodigos.h"

#include <sodium.h>

namespace Contrasena {
namespace {

// The interactive cost: a sign-in or a confirmation waits a fraction of a second for it.
unsigned long long gOperaciones = crypto_pwhash_OPSLIMIT_INTERACTIVE;
size_t gMemoria = crypto_pwhash_MEMLIMIT_INTERACTIVE;

bool Iniciada() {
    static const bool lista = sodium_init() >= 0;
    return lista;
}

} // namespace

QString Cifrar(const QString& clave) {
    const QByteArray texto = clave.toUtf8();
    char guardada[crypto_pwhash_STRBYTES];
    if (!Iniciada() ||
        crypto_pwhash_str_alg(guardada, texto.constData(),
                              static_cast<unsigned long long>(texto.size()), gOperaciones, gMemoria,
                              crypto_pwhash_ALG_ARGON2ID13) != 0)
        return {};
    return QString::fromLatin1(guardada);
}

bool EsCifrada(const QString& guardada) {
    return guardada.startsWith(QLatin1String(crypto_pwhash_argon2id_STRPREFIX));
}

bool Coincide(const QString& guardada, const QString& clave) {
    if (!Iniciada() || !EsCifrada(guardada))
        return false;
    const QByteArray texto = clave.toUtf8();
    return crypto_pwhash_str_verify(guardada.toLatin1().constData(), texto.constData(),
                                    static_cast<unsigned long long>(texto.size())) == 0;
}

QString DescifrarAntigua(const QString& codificada) {
    QString clave;
    clave.reserve(codificada.size());
    for (QChar c : codificada) {
        const int b = PaginaCodigos::AWindows1252(c);
        clave.append(b > 0 ? PaginaCodigos::DeWindows1252(static_cast<unsigned char>(b - 1)) : c);
    }
    return clave;
}

void CostoMinimoParaPruebas() {
    gOperaciones = crypto_pwhash_OPSLIMIT_MIN;
    gMemoria = crypto_pwhash_MEMLIMIT_MIN;
}

} // namespace Contrasena
