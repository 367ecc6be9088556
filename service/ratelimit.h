// How many logs, replies and new IDs one address, and one user ID, may send
// in an hour.
#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace zel::service {

// Allowances per hour; 0 lifts a limit.
struct Limits {
    int logsPerHour = 60;
    int repliesPerHour = 60;
    int idsPerHour = 30;
};

enum class Limited { Logs, Replies, Ids };

// Counts in whole clock hours, in this process's memory. An IPv6 address
// counts by its /64, the block one subscriber is usually given.
class RateLimiter {
public:
    explicit RateLimiter(const Limits& limits);
    // True, and counted, when one more `what` from the address (and the ID,
    // when there is one) stays within the hour's allowance.
    bool allow(Limited what, const QString& address, std::optional<std::int32_t> id, const QDateTime& now);

private:
    int limitOf(Limited what) const;

    Limits m_limits;
    std::mutex m_mutex;
    qint64 m_hour = -1;
    std::unordered_map<std::string, int> m_counts;
};

// The part of an address that counts as one sender.
std::string senderKey(const QString& address);

} // namespace zel::service
