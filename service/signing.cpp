// The maker's update signing key and the publishing of an update.
#include "service/signing.h"

#include "online/updatesignature.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sodium.h>

#include <fcntl.h>
#include <unistd.h>

namespace zel::service {
namespace {

const unsigned char* bytes(const QByteArray& b)
{
    return reinterpret_cast<const unsigned char*>(b.constData());
}

bool writeWhole(const QString& path, const QByteArray& data, QString* error)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit())
        return true;
    *error = QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString();
    return false;
}

} // namespace

QString generateKey(const QString& secretFile, QString* error)
{
    if (sodium_init() < 0) {
        *error = QStringLiteral("libsodium cannot start");
        return QString();
    }
    unsigned char pk[crypto_sign_PUBLICKEYBYTES];
    unsigned char sk[crypto_sign_SECRETKEYBYTES];
    crypto_sign_keypair(pk, sk);
    const QByteArray text = QByteArray(reinterpret_cast<const char*>(sk), sizeof sk).toBase64() + '\n';
    sodium_memzero(sk, sizeof sk);
    // Created new and private from the start: the key is never readable by
    // others, not even for a moment, and an existing key is never overwritten.
    const int fd = ::open(QFile::encodeName(secretFile).constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        *error = QStringLiteral("cannot create ") + secretFile + QStringLiteral(": ")
               + QString::fromLocal8Bit(strerror(errno));
        return QString();
    }
    const bool written = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(QFile::encodeName(secretFile).constData());
        *error = QStringLiteral("cannot write ") + secretFile;
        return QString();
    }
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(pk), sizeof pk).toBase64());
}

QString signData(const QByteArray& data, const QString& secretFile, QString* error)
{
    if (sodium_init() < 0) {
        *error = QStringLiteral("libsodium cannot start");
        return QString();
    }
    QFile file(secretFile);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read ") + secretFile + QStringLiteral(": ") + file.errorString();
        return QString();
    }
    const auto sk = QByteArray::fromBase64Encoding(file.readAll().trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!sk || sk.decoded.size() != crypto_sign_SECRETKEYBYTES) {
        *error = secretFile + QStringLiteral(" holds no secret key");
        return QString();
    }
    unsigned char sig[crypto_sign_BYTES];
    crypto_sign_detached(sig, nullptr, bytes(data), static_cast<unsigned long long>(data.size()), bytes(sk.decoded));
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(sig), sizeof sig).toBase64());
}

QByteArray updatesIni(const QString& version, const QString& fileUrl, const QString& signature)
{
    return QStringLiteral("[Zelmora]\r\nVersion=%1\r\nFile=%2\r\nSignature=%3\r\n")
        .arg(version, fileUrl, signature)
        .toLatin1();
}

bool publishUpdate(const PublishRequest& r, QString* error)
{
    QFile source(r.file);
    if (!source.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read ") + r.file + QStringLiteral(": ") + source.errorString();
        return false;
    }
    const QByteArray data = source.readAll();
    const QString signature = signData(signedUpdateData(r.version, data), r.secretFile, error);
    if (signature.isEmpty())
        return false;
    if (!QDir().mkpath(r.filesDir)) {
        *error = QStringLiteral("cannot create ") + r.filesDir;
        return false;
    }
    const QString name = QFileInfo(r.file).fileName();
    if (name.compare(QLatin1String("updates.ini"), Qt::CaseInsensitive) == 0 || name.startsWith(QLatin1Char('.'))) {
        *error = QStringLiteral("the update file cannot be named ") + name;
        return false;
    }
    QString base = r.baseUrl;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const QDir dir(r.filesDir);
    return writeWhole(dir.filePath(name), data, error)
        && writeWhole(dir.filePath(QStringLiteral("updates.ini")), updatesIni(r.version, base + name, signature),
                      error);
}

} // namespace zel::service
