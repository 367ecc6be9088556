// The maker's update signing key and the publishing of an update.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace zel::service {

// A new Ed25519 key: the secret written to `secretFile` (base64, created new
// with mode 0600, never over an existing file), the public key returned in
// base64. Empty, with `error` set, on failure.
QString generateKey(const QString& secretFile, QString* error);

// The base64 signature of `data` with the secret key read from `secretFile`;
// empty, with `error` set, when the key cannot be read.
QString signData(const QByteArray& data, const QString& secretFile, QString* error);

// The updates.ini text announcing `version` of the product with the file's
// address and signature.
QByteArray updatesIni(const QString& version, const QString& fileUrl, const QString& signature);

struct PublishRequest {
    QString file;       // the new program file
    QString version;    // digits, 1 to 2147483647 (see publishableVersion)
    QString secretFile;
    QString filesDir;
    QString baseUrl;    // the update file's address is this + its name
    bool force = false; // announce a version not higher than the one announced
    bool check = true;  // fetch the file from its address before announcing it
};

// The version as updates.ini gives it, when `text` is one the program can
// compare: digits only, 1 to 2147483647 (its signed 32-bit number).
std::optional<QString> publishableVersion(const QString& text);

// Copies the file into the folder, signs it and writes updates.ini; each file
// takes its place at once (written aside, then renamed), the description
// last, so that the program never reads an announcement of a file that is
// not there yet, nor of one its address does not serve: before the
// description is written the file is downloaded from there, as the program
// downloads it, and compared. Refuses a version not higher than the one
// announced (unless `force`) and a file name that an address would have to
// escape. False, with `error` set, on failure.
bool publishUpdate(const PublishRequest& request, QString* error);

} // namespace zel::service
