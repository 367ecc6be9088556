// The maker's signature of an update file (Ed25519).
#pragma once

#include <QByteArray>
#include <QString>

namespace zel {

// Whether `signature` (base64, from the description's "Signature") is the
// maker's signature of `data` under `publicKey` (base64). Anything that does
// not decode to a signature and a key of the right size is no signature.
bool signatureVerifies(const QByteArray& data, const QString& signature, const QString& publicKey);

// What the maker signs for an update: the version it is announced as, then
// the file. Binding the version keeps an older signed build from being
// offered again as a newer one.
QByteArray signedUpdateData(const QString& version, const QByteArray& file);

// The downloaded file at `path`, announced as `version`, may take the
// program's place: always when the program was built without a key,
// otherwise only with a verifying signature.
bool updateFileAccepted(const QString& path, const QString& version, const QString& signature,
                        const QString& publicKey);

} // namespace zel
