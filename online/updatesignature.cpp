// The maker's signature of an update file.
#include "online/updatesignature.h"

#include <QFile>

#include <sodium.h>

namespace zel {
namespace {

QByteArray strictBase64(const QString& text)
{
    const auto decoded = QByteArray::fromBase64Encoding(text.trimmed().toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}

} // namespace

bool signatureVerifies(const QByteArray& data, const QString& signature, const QString& publicKey)
{
    if (sodium_init() < 0)
        return false;
    const QByteArray sig = strictBase64(signature);
    const QByteArray key = strictBase64(publicKey);
    if (sig.size() != crypto_sign_BYTES || key.size() != crypto_sign_PUBLICKEYBYTES)
        return false;
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(sig.constData()),
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
