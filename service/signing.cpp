// The maker's update signing key and the publishing of an update.
#include "service/signing.h"

#include "online/platform/qthttpclient.h"
#include "online/updater.h"
#include "online/updatesignature.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>

#include <sodium.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <limits>

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

// The version updates.ini in the folder announces now; 0 when none.
qint64 announcedVersion(const QString& filesDir)
{
    QFile ini(QDir(filesDir).filePath(QStringLiteral("updates.ini")));
    if (!ini.open(QIODevice::ReadOnly))
        return 0;
    return IniFile(ini.readAll()).readString(QStringLiteral("Zelmora"), QStringLiteral("Version"), QString()).toLongLong();
}

// Whether the address serves exactly `data`, fetched as the program fetches it.
bool served(const QString& url, const QByteArray& data, QString* error)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("fetched"));
    QtHttpClient client;
    QFile fetched(copy);
    if (dir.isValid() && client.download(url, copy) && fetched.open(QIODevice::ReadOnly) && fetched.readAll() == data)
        return true;
    *error = url + QStringLiteral(" does not serve the file (publish it where that address reads from,"
                                  " or give --no-check when the folder is copied there afterwards);"
                                  " updates.ini is unchanged");
    return false;
}

} // namespace

std::optional<QString> publishableVersion(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,10}$"));
    const qint64 value = digits.match(text).hasMatch() ? text.toLongLong() : 0;
    if (value < 1 || value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return QString::number(value);
}

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
    const QString name = QFileInfo(r.file).fileName();
    // As it stands in File= and in the request line: nothing to escape.
    static const QRegularExpression safeName(QStringLiteral("^[A-Za-z0-9_.-]+$"));
    if (!safeName.match(name).hasMatch()) {
        *error = QStringLiteral("the update file's name %1 does not go into an address as it is;"
                                " rename it (letters A-Z, digits, '.', '-', '_')").arg(name);
        return false;
    }
    const qint64 announced = announcedVersion(r.filesDir);
    if (!r.force && r.version.toLongLong() <= announced) {
        *error = QStringLiteral("version %1 is not higher than the announced %2 (--force announces it all the same)")
                     .arg(r.version).arg(announced);
        return false;
    }
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
    if (name.compare(QLatin1String("updates.ini"), Qt::CaseInsensitive) == 0 || name.startsWith(QLatin1Char('.'))) {
        *error = QStringLiteral("the update file cannot be named ") + name;
        return false;
    }
    QString base = r.baseUrl;
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const QDir dir(r.filesDir);
    return writeWhole(dir.filePath(name), data, error) && (!r.check || served(base + name, data, error))
        && writeWhole(dir.filePath(QStringLiteral("updates.ini")), updatesIni(r.version, base + name, signature),
                      error);
}

} // namespace zel::service
