// How many logs, replies and new IDs one address, and one user ID, may send
// in an hour.
#include "service/ratelimit.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstdio>

namespace zel::service {
namespace {

// Past this many senders in one hour new ones are refused, so that a flood
// from ever new addresses cannot grow the table without end (some 5 MB).
constexpr size_t kMaxSenders = 50000;

} // namespace

std::string senderKey(const QString& address)
{
    const QByteArray text = address.toLatin1();
    unsigned char bytes[16];
    if (inet_pton(AF_INET6, text.constData(), bytes) != 1)
        return text.toStdString();
    static const unsigned char mappedV4[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    char out[48];
    if (std::equal(bytes, bytes + 12, mappedV4))
        std::snprintf(out, sizeof out, "%u.%u.%u.%u", bytes[12], bytes[13], bytes[14], bytes[15]);
    else
        std::snprintf(out, sizeof out, "%02x%02x:%02x%02x:%02x%02x:%02x%02x::/64", bytes[0], bytes[1], bytes[2],
                      bytes[3], bytes[4], bytes[5], bytes[6], bytes[7]);
    return out;
}

RateLimiter::RateLimiter(const Limits& limits)
    : m_limits(limits)
{
}

int RateLimiter::limitOf(Limited what) const
{
    switch (what) {
    case Limited::Logs:
        return m_limits.logsPerHour;
    case Limited::Replies:
        return m_limits.repliesPerHour;
    case Limited::Ids:
        return m_limits.idsPerHour;
    }
    return 0;
}

bool RateLimiter::allow(Limited what, const QString& address, std::optional<std::int32_t> id, const QDateTime& now)
{
    const int limit = limitOf(what);
    if (limit <= 0)
        return true;
    const std::string kind(1, char('0' + int(what)));
    std::string keys[2] = {kind + 'a' + senderKey(address), id ? kind + 'i' + std::to_string(*id) : std::string()};
    std::lock_guard<std::mutex> lock(m_mutex);
    const qint64 hour = now.toSecsSinceEpoch() / 3600;
    if (hour != m_hour) {
        m_counts.clear();
        m_hour = hour;
    }
    for (const std::string& key : keys) {
        if (key.empty())
            continue;
        const auto it = m_counts.find(key);
        if (it == m_counts.end() ? m_counts.size() >= kMaxSenders : it->second >= limit)
            return false;
    }
    for (const std::string& key : keys)
        if (!key.empty())
            ++m_counts[key];
    return true;
}

} // namespace zel::service
