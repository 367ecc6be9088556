// The maker's update signing key and the publishing of an update.
#pragma once

#include <QByteArray>
#include <QString>

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
    QString version;    // a whole number
    QString secretFile;
    QString filesDir;
    QString baseUrl;    // the update file's address is this + its name
};

// Copies the file into the folder, signs it and writes updates.ini; each file
// takes its place at once (written aside, then renamed), the description
// last, so that the program never reads an announcement of a file that is
// not there yet. False, with `error` set, on failure.
bool publishUpdate(const PublishRequest& request, QString* error);

} // namespace zel::service
