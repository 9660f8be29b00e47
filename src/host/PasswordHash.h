#pragma once

#include "platform/Result.h"

#include <QString>

// Salted, slow password hashes (libsodium's crypto_pwhash_str, Argon2id). The stored text carries
// the algorithm, its limits and the salt, so a hash made with other limits still verifies. The
// password is only held in buffers that are wiped after use; nothing here logs it.
class PasswordHash
{
public:
    // A new hash of the password; two calls with the same password give different texts (new salt).
    // Fails only when libsodium cannot start or runs out of memory.
    static Result<QString> hash(const QString &password);

    // Whether the password matches a stored hash. A malformed or empty hash never matches.
    static bool verify(const QString &storedHash, const QString &password);

    // Spends about the time of one verify() without a real hash, so that a caller refusing an
    // unknown user takes as long as one refusing a wrong password.
    static void verifyNothing(const QString &password);

    // Starts libsodium once per process; false when it cannot be used.
    static bool initialise();
};
