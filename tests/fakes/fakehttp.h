// An HTTP client in memory, for the message worker's tests: answers by the
// query of the address, records the addresses, can hold requests at a gate,
// and counts how many run at once. Safe from any thread.
#pragma once

#include "online/httpaccess.h"

#include <QString>
#include <QStringList>

#include <cerrno>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace zel {

class FakeHttpClient : public IHttpClient {
public:
    struct Reply {
        QString body;
        bool fails = false;
    };

    // The reply to every address that ends in `tail` ("query=createID").
    void answer(const QString& tail, const QString& body) { set(tail, Reply{body, false}); }
    void fail(const QString& tail) { set(tail, Reply{QString(), true}); }

    // While closed, requests wait at the gate.
    void closeGate()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_gateOpen = false;
    }
    void openGate()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_gateOpen = true;
        m_changed.notify_all();
    }
    // Blocks until `n` requests are waiting at the closed gate.
    void waitForWaiting(int n)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_waiting >= n; });
    }

    QString get(const QString& url) override
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_urls << url;
        ++m_waiting;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_gateOpen || m_down; });
        --m_waiting;
        ++m_inFlight;
        if (m_inFlight > m_maxInFlight)
            m_maxInFlight = m_inFlight;
        Reply reply{QString(), true};
        bool found = false;
        for (const auto& [tail, r] : m_replies)
            if (url.endsWith(tail)) {
                reply = r;
                found = true;
            }
        const bool down = m_down;
        // Let another request in while this one is "on the wire".
        lock.unlock();
        std::this_thread::yield();
        lock.lock();
        --m_inFlight;
        if (down)
            throw SocketError(ECANCELED, QStringLiteral("Operation canceled"));
        if (!found || reply.fails)
            throw SocketError(ECONNREFUSED, QStringLiteral("Connection refused"));
        return reply.body;
    }

    void shutDown() override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_down = true;
        m_changed.notify_all();
    }

    QStringList urls() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_urls;
    }
    int maxInFlight() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_maxInFlight;
    }

private:
    void set(const QString& tail, const Reply& r)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_replies[tail] = r;
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<QString, Reply> m_replies;
    QStringList m_urls;
    bool m_gateOpen = true;
    bool m_down = false;
    int m_waiting = 0;
    int m_inFlight = 0;
    int m_maxInFlight = 0;
};

} // namespace zel
