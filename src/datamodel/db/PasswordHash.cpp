#include "datamodel/db/PasswordHash.h"

#include <sodium.h>

#include <stdexcept>

namespace talvor {

namespace {

void initSodium() {
    static const int ready = sodium_init();
    if (ready < 0) throw std::runtime_error("libsodium cannot start");
}

}  // namespace

QString hashPassword(const QString& password) {
    initSodium();
    const QByteArray utf8 = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(
            hash, utf8.constData(), size_t(utf8.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
            crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return QString::fromLatin1(hash);
}

bool isPasswordHash(const QString& stored) {
    return stored.startsWith(QLatin1String(crypto_pwhash_argon2id_STRPREFIX));
}

bool passwordMatches(const QString& stored, const QString& typed) {
    if (!isPasswordHash(stored)) return stored == typed;
    initSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray utf8 = typed.toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), utf8.constData(), size_t(utf8.size())) == 0;
}

}  // namespace talvor
