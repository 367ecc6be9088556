// The maker's hosts and the addresses of every service request.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace zel {

// Build-time settings (CMake cache variables ZELMORA_SERVICE_HOST,
// ZELMORA_UPDATE_HOST, ZELMORA_EXCLUDED_ADDRESS, ZELMORA_UPDATE_KEY,
// ZELMORA_PRODUCT_VERSION). A host may carry a port.
extern const QString ServiceHost;
// The update host the updater reads from until told otherwise.
extern const QString UpdateHost;
// When "/ip.html" answers exactly this, the statistics requests are left out.
extern const QString ExcludedAddress;
// The maker's public key (base64) that a downloaded update must be signed
// with; empty when the program was built without one.
extern const QString UpdateKey;
// The version number the update compares with the announced one.
extern const QString ProductVersionNumber;
// How long a service request may move no byte: `fieldMs`, the client's own,
// but in a build that talks to a test's service on this machine.
int serviceIdleMs(int fieldMs);

// The hosts a window talks to; tests point them at a service of their own.
struct ServiceHosts {
    QString service = ServiceHost;
    QString update = UpdateHost;
    QString excluded = ExcludedAddress;
};

// "http://" + host + path and query.
QString serviceUrl(const QString& host, const QString& pathAndQuery);

// The log upload; the text escaped where it would break the query.
QString sendLogUrl(const QString& host, const QString& logText);
// Servers refuse request lines past 8 KB, the usual limit.
constexpr int kMaxAddress = 8000;
// As many of the newest of `lines` as keep the address `address` makes of
// them within `maxAddress` characters as sent (percent-encoded); a single line too long on its own is
// cut to what fits. `cut`, when given, says whether anything was left out.
QStringList newestLinesThatFit(const QStringList& lines, const std::function<QString(const QStringList&)>& address,
                               int maxAddress = kMaxAddress, bool* cut = nullptr);
// The upload of a log's lines as comma text, of as many of the newest lines
// as fit: the newest lines are the ones that tell what went wrong.
QString sendLogUrl(const QString& host, const QStringList& lines, int maxAddress = kMaxAddress);
QString createIdUrl(const QString& host);
QString getMessageUrl(const QString& host, std::int32_t id);
// The three texts come already through W1251toUTF8; what would still break
// the query is escaped here.
QString sendMessageUrl(const QString& host, std::int32_t id, const QString& theme,
                       const QString& email, const QString& message);
QString ipUrl(const QString& host);
// "/send.php?file=" + name ("check.log" or "down.log").
QString statisticsUrl(const QString& host, const QString& name);
QString updatesIniUrl(const QString& host);

} // namespace zel
