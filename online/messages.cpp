// Messages with the maker.
#include "online/messages.h"
#include "engine/convert.h"
#include "lists/numbertext.h"
#include "shell/commatext.h"
#include "online/httpaccess.h"
#include "online/servicehost.h"
#include "online/webtext.h"

#include <thread>

namespace zel {

const QString kMessageMarker = QStringLiteral("zelmora ");

std::optional<QString> messageFromReply(const QString& body)
{
    const QString text = DecodeWin1251(body);
    if (text.size() <= kMessageMarker.size() || !text.startsWith(kMessageMarker, Qt::CaseSensitive))
        return std::nullopt;
    return UkrStr(text.mid(kMessageMarker.size()));
}

CreatedId createdIdFromReply(const QString& body)
{
    QString input = body;
    CreatedId result;
    result.text = CleanStr(input, QStringLiteral("0123456789."), 1);
    if (result.text.isEmpty())
        return result;
    try {
        result.id = StrToInt(result.text);
    } catch (const ConvertError&) {
    }
    return result;
}

QString conversationText(const QStringList& lines, const QString& stamp, const QString& message)
{
    QString text;
    if (!lines.isEmpty())
        text = CommaText(lines) + QStringLiteral(",\" \",");
    return text + QStringLiteral("\"Halvane: ") + stamp + QStringLiteral("\",") + message;
}

void MessageWorker(MessageChannel& channel, const MessageWorkerContext& context)
{
    std::lock_guard<std::mutex> hold(channel.MessageLock);
    {
        std::lock_guard<std::mutex> text(channel.textLock);
        channel.MessageArrived.store(false, std::memory_order_release);
    }
    const std::int32_t id = context.id->load();
    if (id != 0) {
        context.log(QStringLiteral("Check message from Halvane"));
        QString answer;
        try {
            answer = context.http->get(getMessageUrl(context.host, id));
        } catch (const std::exception&) {
            answer.clear();
        }
        if (auto message = messageFromReply(answer)) {
            std::lock_guard<std::mutex> text(channel.textLock);
            channel.MessageText = std::move(*message);
            channel.MessageArrived.store(true, std::memory_order_release);
        }
        return;
    }
    context.log(QStringLiteral("Send to create ID"));
    QString answer;
    try {
        answer = context.http->get(createIdUrl(context.host));
    } catch (const std::exception&) {
        answer.clear();
    }
    const CreatedId created = createdIdFromReply(answer);
    if (created.text.isEmpty())
        context.id->store(0);
    else if (created.id)
        context.id->store(*created.id);
    else
        context.log(QStringLiteral("Error IntToStr(") + created.text + QStringLiteral(")"));
    if (context.writeParams)
        context.writeParams();
}

std::optional<QString> takeMessage(MessageChannel& channel)
{
    if (!channel.MessageArrived.load(std::memory_order_acquire))
        return std::nullopt;
    std::lock_guard<std::mutex> text(channel.textLock);
    // Taken with the flag, so that a message stored meanwhile is not lost to
    // a later clearing of it.
    if (!channel.MessageArrived.exchange(false, std::memory_order_acq_rel))
        return std::nullopt;
    return channel.MessageText;
}

MessagePoller::MessagePoller(MessageWorkerContext context)
    : m_state(std::make_shared<State>())
{
    m_state->context = std::move(context);
}

MessagePoller::~MessagePoller()
{
    shutdown();
}

bool MessagePoller::startWorker()
{
    {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        if (m_state->closed)
            return false;
        ++m_state->running;
    }
    const auto finished = [](State& state) {
        std::lock_guard<std::mutex> lock(state.mutex);
        if (--state.running == 0)
            state.idle.notify_all();
    };
    try {
        // Nobody joins the thread; it holds the state it works on itself.
        std::thread([state = m_state, finished] {
            MessageWorker(state->channel, state->context);
            finished(*state);
        }).detach();
    } catch (...) {
        // No thread to be had: this poll is not made, and shutdown must not wait for it.
        finished(*m_state);
        throw;
    }
    return true;
}

void MessagePoller::shutdown()
{
    std::unique_lock<std::mutex> lock(m_state->mutex);
    m_state->closed = true;
    m_state->idle.wait(lock, [this] { return m_state->running == 0; });
}

int MessagePoller::running() const
{
    std::lock_guard<std::mutex> lock(m_state->mutex);
    return m_state->running;
}

} // namespace zel
