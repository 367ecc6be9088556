// Messages with the maker: the polling worker, its hand-over to the window,
// and the texts of the conversation.
#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace zel {

class IHttpClient;

// Every message the service delivers begins with it.
extern const QString kMessageMarker; // "zelmora "

// The message of a getmessage answer read as ISO-8859-1: letters restored,
// the marker removed. Nothing when the answer is not a message.
std::optional<QString> messageFromReply(const QString& body);

// A createID answer: its digits and full stops, and the ID they make when
// they convert to a signed 32-bit number.
struct CreatedId {
    QString text;
    std::optional<std::int32_t> id;
};
CreatedId createdIdFromReply(const QString& body);

// The comma text that checkmessage turns into the conversation: the old lines
// and a line holding one space when there are any, then "Halvane: " and the
// time, then the items of the message.
QString conversationText(const QStringList& lines, const QString& stamp, const QString& message);

// The state the workers share with the window.
struct MessageChannel {
    // Held by a worker for its whole run, so that polls never overlap.
    std::mutex MessageLock;
    // Raised (release) after MessageText is stored; read (acquire) before it.
    std::atomic<bool> MessageArrived{false};
    // The text of the hand-over; it changes hands under its own small lock,
    // since the next worker may store another while the window reads one.
    std::mutex textLock;
    QString MessageText;
};

// What a worker needs besides the channel.
struct MessageWorkerContext {
    IHttpClient* http = nullptr;
    QString host;
    std::atomic<std::int32_t>* id = nullptr;
    std::function<void(const QString&)> log;
    // Stores the settings (the ID among them); may be called on the worker.
    std::function<void()> writeParams;
};

// One poll: with an ID, fetch a message and hand it over; without one, ask
// the service for an ID and store it. Request failures are swallowed.
void MessageWorker(MessageChannel& channel, const MessageWorkerContext& context);

// Hands a fetched message over to the window (the UI thread): the text, once.
std::optional<QString> takeMessage(MessageChannel& channel);

// Starts workers on threads of their own and lets them go, and at shutdown
// makes sure none is left running on anything it shares with the window.
class MessagePoller {
public:
    explicit MessagePoller(MessageWorkerContext context);
    // Waits for running workers; see shutdown().
    ~MessagePoller();
    MessagePoller(const MessagePoller&) = delete;
    MessagePoller& operator=(const MessagePoller&) = delete;

    // A new thread running MessageWorker; false after shutdown.
    bool startWorker();
    std::optional<QString> take() { return takeMessage(m_state->channel); }
    MessageChannel& channel() { return m_state->channel; }
    // Starts no more workers and waits until the running ones have ended.
    // Whoever shuts down first makes their requests fail at once (the HTTP
    // client's shutDown), so this waits for no network.
    void shutdown();
    int running() const;

private:
    struct State {
        MessageChannel channel;
        MessageWorkerContext context;
        mutable std::mutex mutex;
        std::condition_variable idle;
        int running = 0;
        bool closed = false;
    };
    std::shared_ptr<State> m_state;
};

} // namespace zel
