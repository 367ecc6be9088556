// The answers to the program's requests.
#include "service/requests.h"
#include "engine/convert.h"
#include "shell/codepage.h"
#include "shell/commatext.h"
#include "online/messages.h"
#include "service/servicestore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zel::service {
namespace {

ServiceAnswer plain(int status, const QByteArray& body)
{
    return ServiceAnswer{status, body, "text/html", nullptr};
}

ServiceAnswer notFound()
{
    return plain(404, "Not Found");
}

ServiceAnswer badRequest()
{
    return plain(400, "Bad Request");
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

RequestHandler::RequestHandler(ServiceStore& store, const QString& filesDir)
    : m_store(store)
    , m_filesDir(filesDir)
{
}

ServiceAnswer RequestHandler::answer(const ServiceRequest& request, const QDateTime& now)
{
    if (request.method != "GET" && request.method != "HEAD")
        return notFound();
    const qsizetype mark = request.target.indexOf('?');
    const QByteArray path = mark < 0 ? request.target : request.target.left(mark);
    const QByteArray query = mark < 0 ? QByteArray() : request.target.mid(mark + 1);

    if (path == "/sp/zm.php")
        return messageService(query, request, now);
    if (path == "/sp/sendlog.php") {
        const std::optional<QString> text = queryValue(query, "text");
        if (!text || text->size() > kMaxText)
            return badRequest();
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
    if (what == QLatin1String("createID"))
        return plain(200, QByteArray::number(m_store.createId(now)));
    if (what == QLatin1String("getmessage")) {
        const std::optional<std::int32_t> id = idValue(queryValue(query, "ID"));
        if (!id)
            return badRequest();
        // No message (or an ID never issued): an empty answer, which the
        // program takes for nothing.
        const std::optional<QString> text = *id == 0 ? std::nullopt : m_store.takeMessage(*id, now);
        return plain(200, text ? messageAnswer(*text) : QByteArray());
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
    const QString path = QDir(m_filesDir).filePath(name);
    if (!QFileInfo(path).isFile())
        return notFound();
    auto file = std::make_shared<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        return notFound();
    return ServiceAnswer{200, {},
                         name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive) ? "text/plain"
                                                                                   : "application/octet-stream",
                         std::move(file)};
}

} // namespace zel::service
