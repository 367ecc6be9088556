// The answers to the program's requests.
#include "service/requests.h"
#include "engine/convert.h"
#include "shell/codepage.h"
#include "shell/commatext.h"
#include "online/messages.h"
#include "service/servicestore.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zel::service {
namespace {

ServiceAnswer plain(int status, const QByteArray& body)
{
    return ServiceAnswer{status, body, "text/html", nullptr, {}};
}

ServiceAnswer notFound()
{
    return plain(404, "Not Found");
}

ServiceAnswer badRequest()
{
    return plain(400, "Bad Request");
}

ServiceAnswer tooMany()
{
    return plain(429, "Too Many Requests");
}

// A HEAD is answered as its GET would be, but never changes what is stored:
// one that would is refused.
ServiceAnswer notForHead()
{
    return plain(405, "Method Not Allowed");
}

QByteArray percentDecoded(const QByteArray& raw)
{
    QByteArray out;
    out.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] == '%' && i + 2 < raw.size() && hexDigitValue(raw[i + 1]) >= 0 && hexDigitValue(raw[i + 2]) >= 0) {
            out += char(hexDigitValue(raw[i + 1]) * 16 + hexDigitValue(raw[i + 2]));
            i += 2;
        } else {
            out += raw[i];
        }
    }
    return out;
}

// A user ID as the program writes it: a signed 32-bit decimal.
std::optional<std::int32_t> idValue(const std::optional<QString>& text)
{
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int id = text->toInt(&ok, 10);
    if (!ok || text->isEmpty() || text->at(0) == QLatin1Char('+') || text->at(0).isSpace())
        return std::nullopt;
    return id;
}

} // namespace

std::optional<QString> queryValue(const QByteArray& query, const QByteArray& key)
{
    for (const QByteArray& pair : query.split('&')) {
        const qsizetype eq = pair.indexOf('=');
        const QByteArray name = eq < 0 ? pair : pair.left(eq);
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return fromWindows1251(percentDecoded(eq < 0 ? QByteArray() : pair.mid(eq + 1)));
    }
    return std::nullopt;
}

QByteArray messageAnswer(const QString& text)
{
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return toWindows1251(kMessageMarker + CommaText(normalised.split(QLatin1Char('\n'))));
}

RequestHandler::RequestHandler(ServiceStore& store, const QString& filesDir, const Limits& limits)
    : m_store(store)
    , m_filesDir(filesDir)
    , m_limiter(limits)
{
}

ServiceAnswer RequestHandler::answer(const ServiceRequest& request, const QDateTime& now)
{
    try {
        return routed(request, now);
    } catch (const StoreUnavailable&) {
        // The program tries again at its next poll or check.
        return plain(503, "Service Unavailable");
    }
}

ServiceAnswer RequestHandler::routed(const ServiceRequest& request, const QDateTime& now)
{
    if (request.method != "GET" && request.method != "HEAD")
        return notFound();
    const qsizetype mark = request.target.indexOf('?');
    const QByteArray path = mark < 0 ? request.target : request.target.left(mark);
    const QByteArray query = mark < 0 ? QByteArray() : request.target.mid(mark + 1);

    if (path == "/sp/zm.php")
        return messageService(query, request, now);
    const bool head = request.method == "HEAD";
    if (head && (path == "/sp/sendlog.php" || path == "/send.php"))
        return notForHead();
    if (path == "/sp/sendlog.php") {
        const std::optional<QString> text = queryValue(query, "text");
        if (!text || text->size() > kMaxText)
            return badRequest();
        if (!m_limiter.allow(Limited::Logs, request.remote, std::nullopt, now))
            return tooMany();
        m_store.addLog({*text, now, request.remote});
        return plain(200, "OK");
    }
    if (path == "/ip.html")
        return plain(200, request.remote.toLatin1());
    if (path == "/send.php") {
        const std::optional<QString> file = queryValue(query, "file");
        if (file == QLatin1String("check.log"))
            m_store.count(Counter::Checks);
        else if (file == QLatin1String("down.log"))
            m_store.count(Counter::Downloads);
        else
            return badRequest();
        return plain(200, "OK");
    }
    if (path.startsWith("/updates/") && mark < 0)
        return updateFile(path.mid(9));
    return notFound();
}

ServiceAnswer RequestHandler::messageService(const QByteArray& query, const ServiceRequest& request,
                                             const QDateTime& now)
{
    const std::optional<QString> what = queryValue(query, "query");
    if (request.method == "HEAD" && (what == QLatin1String("createID") || what == QLatin1String("sendmessage")))
        return notForHead();
    if (what == QLatin1String("createID")) {
        if (!m_limiter.allow(Limited::Ids, request.remote, std::nullopt, now))
            return tooMany();
        return plain(200, QByteArray::number(m_store.createId(now)));
    }
    if (what == QLatin1String("getmessage")) {
        const std::optional<std::int32_t> id = idValue(queryValue(query, "ID"));
        if (!id)
            return badRequest();
        // No message (or an ID never issued): an empty answer, which the
        // program takes for nothing.
        const std::optional<QueuedMessage> next = *id == 0 ? std::nullopt : m_store.nextMessage(*id);
        if (!next)
            return plain(200, QByteArray());
        ServiceAnswer a = plain(200, messageAnswer(next->text));
        // Delivered once the program has all of it; a HEAD, a broken
        // connection or a killed service leave it queued. Two polls of one
        // ID at the same moment both get it: sent twice rather than lost.
        if (request.method == "GET")
            a.delivered = [store = &m_store, seq = next->seq, now] { store->markDelivered(seq, now); };
        return a;
    }
    if (what == QLatin1String("sendmessage")) {
        // Feedback sent before an ID was issued carries ID 0.
        const std::optional<std::int32_t> id = idValue(queryValue(query, "ID"));
        const std::optional<QString> message = queryValue(query, "message");
        if (!id || !message || message->size() > kMaxText)
            return badRequest();
        const QString theme = queryValue(query, "theme").value_or(QString());
        const QString email = queryValue(query, "email").value_or(QString());
        if (theme.size() > kMaxText || email.size() > kMaxText)
            return badRequest();
        // ID 0 is everybody who has none yet: counted by address alone.
        if (!m_limiter.allow(Limited::Replies, request.remote, *id == 0 ? std::nullopt : id, now))
            return tooMany();
        m_store.addFeedback({*id, theme, email, *message, now, request.remote});
        return plain(200, "OK");
    }
    return badRequest();
}

ServiceAnswer RequestHandler::updateFile(const QByteArray& rawName) const
{
    // One plain file of the folder: no way up or into hidden files.
    const QString name = QString::fromUtf8(percentDecoded(rawName));
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')) || name.contains(QLatin1Char('/'))
        || name.contains(QLatin1Char('\\')) || name.contains(QChar(0)) || m_filesDir.isEmpty())
        return notFound();
    // A link is never followed, whatever it points to: a file, a folder or
    // the system's secrets. Opened without waiting, so a FIFO holds nobody.
    const QByteArray path = QFile::encodeName(QDir(m_filesDir).filePath(name));
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0)
        return notFound();
    auto file = std::make_shared<QFile>();
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return notFound();
    }
    return ServiceAnswer{200, {},
                         name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive) ? "text/plain"
                                                                                   : "application/octet-stream",
                         std::move(file), {}};
}

} // namespace zel::service
