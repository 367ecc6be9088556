// The maker's hosts and the addresses of every service request.
#include "online/servicehost.h"
#include "online/webtext.h"

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
