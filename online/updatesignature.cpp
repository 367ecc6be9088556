// The maker's signature of an update file.
#include "online/updatesignature.h"

#include <QFile>

#include <dlfcn.h>
#include <sodium.h>

namespace zel {
namespace {

// The two calls the check makes, from libsodium opened at the first check:
// loading it with the program cost every start for a check made once a day
// at most. Null when the library cannot be opened, and then no signature
// verifies.
struct Sodium {
    decltype(&sodium_init) init = nullptr;
    decltype(&crypto_sign_verify_detached) verify = nullptr;
};

const Sodium* sodium()
{
    static const Sodium library = [] {
        Sodium s;
        if (void* handle = dlopen(ZELMORA_SODIUM_SONAME, RTLD_NOW | RTLD_LOCAL)) {
            s.init = reinterpret_cast<decltype(s.init)>(dlsym(handle, "sodium_init"));
            s.verify = reinterpret_cast<decltype(s.verify)>(dlsym(handle, "crypto_sign_verify_detached"));
        }
        return s;
    }();
    return library.init && library.verify ? &library : nullptr;
}

QByteArray strictBase64(const QString& text)
{
    const auto decoded = QByteArray::fromBase64Encoding(text.trimmed().toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}

} // namespace

bool signatureVerifies(const QByteArray& data, const QString& signature, const QString& publicKey)
{
    const Sodium* lib = sodium();
    if (!lib || lib->init() < 0)
        return false;
    const QByteArray sig = strictBase64(signature);
    const QByteArray key = strictBase64(publicKey);
    if (sig.size() != crypto_sign_BYTES || key.size() != crypto_sign_PUBLICKEYBYTES)
        return false;
    return lib->verify(reinterpret_cast<const unsigned char*>(sig.constData()),
                                       reinterpret_cast<const unsigned char*>(data.constData()),
                                       static_cast<unsigned long long>(data.size()),
                                       reinterpret_cast<const unsigned char*>(key.constData()))
        == 0;
}

QByteArray signedUpdateData(const QString& version, const QByteArray& file)
{
    return QByteArrayLiteral("Zelmora update ") + version.trimmed().toUtf8() + '\n' + file;
}

bool updateFileAccepted(const QString& path, const QString& version, const QString& signature,
                        const QString& publicKey)
{
    if (publicKey.trimmed().isEmpty())
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return signatureVerifies(signedUpdateData(version, file.readAll()), signature, publicKey);
}

} // namespace zel
