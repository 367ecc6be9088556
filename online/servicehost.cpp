// The maker's hosts and the addresses of every service request.
#include "online/servicehost.h"

#include "shell/commatext.h"
#include "online/webtext.h"

#include <QUrl>

#ifndef ZELMORA_SERVICE_HOST
#define ZELMORA_SERVICE_HOST "zelmora.halvane.example"
#endif
#ifndef ZELMORA_UPDATE_HOST
#define ZELMORA_UPDATE_HOST "updates.halvane.example"
#endif
#ifndef ZELMORA_EXCLUDED_ADDRESS
#define ZELMORA_EXCLUDED_ADDRESS "192.0.2.1"
#endif
#ifndef ZELMORA_UPDATE_KEY
#define ZELMORA_UPDATE_KEY ""
#endif
#ifndef ZELMORA_PRODUCT_VERSION
#define ZELMORA_PRODUCT_VERSION "105"
#endif

namespace zel {

const QString ServiceHost = QStringLiteral(ZELMORA_SERVICE_HOST);
const QString UpdateHost = QStringLiteral(ZELMORA_UPDATE_HOST);
const QString ExcludedAddress = QStringLiteral(ZELMORA_EXCLUDED_ADDRESS);
const QString UpdateKey = QStringLiteral(ZELMORA_UPDATE_KEY);
const QString ProductVersionNumber = QStringLiteral(ZELMORA_PRODUCT_VERSION);

QString serviceUrl(const QString& host, const QString& pathAndQuery)
{
    return QStringLiteral("http://") + host + pathAndQuery;
}

QString sendLogUrl(const QString& host, const QString& logText)
{
    return serviceUrl(host, QStringLiteral("/sp/sendlog.php?text=") + escapeQueryValue(logText, false));
}

QStringList newestLinesThatFit(const QStringList& lines, const std::function<QString(const QStringList&)>& address,
                               int maxAddress, bool* cut)
{
    // Measured as sent: a Cyrillic letter left as it is in the address
    // travels as six characters ("%D0%96").
    const auto fits = [&](const QStringList& kept) {
        return QUrl(address(kept)).toEncoded().size() <= maxAddress;
    };
    if (cut)
        *cut = false;
    if (lines.isEmpty() || fits(lines))
        return lines;
    if (cut)
        *cut = true;
    // The address shrinks as older lines are left out: find the first line
    // from which the rest still fits.
    qsizetype lo = 1, hi = lines.size(); // lines.mid(hi) is empty and fits
    while (lo < hi) {
        const qsizetype mid = lo + (hi - lo) / 2;
        if (fits(lines.mid(mid)))
            hi = mid;
        else
            lo = mid + 1;
    }
    if (lo < lines.size())
        return lines.mid(lo);
    // Not even the newest line fits: as much of its start as does.
    const QString last = lines.last();
    qsizetype keep = 0, over = last.size();
    while (keep + 1 < over) {
        const qsizetype mid = keep + (over - keep) / 2;
        if (fits({last.left(mid)}))
            keep = mid;
        else
            over = mid;
    }
    return {last.left(keep)};
}

QString sendLogUrl(const QString& host, const QStringList& lines, int maxAddress)
{
    return sendLogUrl(host, CommaText(newestLinesThatFit(
                                lines, [&](const QStringList& kept) { return sendLogUrl(host, CommaText(kept)); },
                                maxAddress)));
}

QString createIdUrl(const QString& host)
{
    return serviceUrl(host, QStringLiteral("/sp/zm.php?query=createID"));
}

QString getMessageUrl(const QString& host, std::int32_t id)
{
    return serviceUrl(host, QStringLiteral("/sp/zm.php?query=getmessage&ID=") + QString::number(id));
}

QString sendMessageUrl(const QString& host, std::int32_t id, const QString& theme,
                       const QString& email, const QString& message)
{
    return serviceUrl(host, QStringLiteral("/sp/zm.php?query=sendmessage&ID=") + QString::number(id)
                                + QStringLiteral("&theme=") + escapeQueryValue(theme, true)
                                + QStringLiteral("&email=") + escapeQueryValue(email, true)
                                + QStringLiteral("&message=") + escapeQueryValue(message, true));
}

QString ipUrl(const QString& host)
{
    return serviceUrl(host, QStringLiteral("/ip.html"));
}

QString statisticsUrl(const QString& host, const QString& name)
{
    return serviceUrl(host, QStringLiteral("/send.php?file=") + name);
}

QString updatesIniUrl(const QString& host)
{
    return serviceUrl(host, QStringLiteral("/updates/updates.ini"));
}

} // namespace zel
