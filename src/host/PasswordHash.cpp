#include "PasswordHash.h"

#include <QByteArray>

#include <sodium.h>

#include <mutex>

namespace {

// Wipes the UTF-8 copy of a password when it goes out of scope.
class SecretBytes
{
public:
    explicit SecretBytes(const QString &text)
        : m_bytes(text.toUtf8())
    {}
    ~SecretBytes() { sodium_memzero(m_bytes.data(), size_t(m_bytes.size())); }
    SecretBytes(const SecretBytes &) = delete;
    SecretBytes &operator=(const SecretBytes &) = delete;

    const char *data() const { return m_bytes.constData(); }
    unsigned long long size() const { return static_cast<unsigned long long>(m_bytes.size()); }

private:
    QByteArray m_bytes;
};

} // namespace

bool PasswordHash::initialise()
{
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = sodium_init() >= 0; });
    return ready;
}

Result<QString> PasswordHash::hash(const QString &password)
{
    if (!initialise())
        return fail(QStringLiteral("密码模块无法初始化"));
    const SecretBytes secret(password);
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, secret.data(), secret.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0) {
        return fail(QStringLiteral("内存不足，无法计算密码摘要"));
    }
    return QString::fromLatin1(out);
}

bool PasswordHash::verify(const QString &storedHash, const QString &password)
{
    if (!initialise())
        return false;
    const QByteArray stored = storedHash.toLatin1();
    // crypto_pwhash_str_verify reads a NUL-terminated text of at most crypto_pwhash_STRBYTES.
    if (stored.isEmpty() || stored.size() >= int(crypto_pwhash_STRBYTES))
        return false;
    const SecretBytes secret(password);
    return crypto_pwhash_str_verify(stored.constData(), secret.data(), secret.size()) == 0;
}

void PasswordHash::verifyNothing(const QString &password)
{
    // A hash of a random secret, made once: no password ever matches it.
    static const QString decoy = [] {
        unsigned char random[32];
        if (!initialise())
            return QString();
        randombytes_buf(random, sizeof random);
        const auto made
            = hash(QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(random), sizeof random).toHex()));
        sodium_memzero(random, sizeof random);
        return made ? *made : QString();
    }();
    verify(decoy, password);
}
