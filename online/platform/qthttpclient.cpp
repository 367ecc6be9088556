// HTTP access through Qt Network.
#include "online/platform/qthttpclient.h"
#include "shell/codepage.h"
#include "shell/savefile.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QStringDecoder>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <optional>
#include <mutex>
#include <vector>

#include <cerrno>
#include <cstring>
#include <netdb.h>

namespace zel {

// The outcome of one request as the network thread saw it.
struct Outcome {
    bool answered = false;      // a status line came back
    int status = 0;
    QByteArray reason;
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QString errorString;
    bool timedOut = false;
    bool cancelled = false;
    QByteArray body;
    QByteArray contentType;
    qint64 contentLength = -1;
};

struct QtHttpClient::Pending {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    Outcome outcome;
    // Wakes a waiting UI-thread loop; set and cleared under the mutex.
    std::function<void()> wake;

    void finish(Outcome o)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (finished)
            return;
        outcome = std::move(o);
        finished = true;
        done.notify_all();
        if (wake)
            wake();
    }
};

// Every request not yet finished, so that shutDown can fail them.
struct QtHttpClient::Waiting {
    std::mutex mutex;
    bool down = false;
    std::vector<std::weak_ptr<QtHttpClient::Pending>> pending;
};

namespace {

// The system's error number and text for a failure below HTTP; nothing for
// a protocol failure.
std::optional<std::pair<int, QString>> socketFailure(const Outcome& o)
{
    const auto sys = [](int number) {
        return std::make_optional(std::make_pair(number, QString::fromLocal8Bit(std::strerror(number))));
    };
    if (o.cancelled)
        return sys(ECANCELED);
    if (o.timedOut)
        return sys(ETIMEDOUT);
    switch (o.error) {
    case QNetworkReply::ConnectionRefusedError:
        return sys(ECONNREFUSED);
    case QNetworkReply::RemoteHostClosedError:
        return sys(ECONNRESET);
    case QNetworkReply::HostNotFoundError:
        // The resolver's own number and text.
        return std::make_optional(std::make_pair(int(EAI_NONAME), QString::fromLocal8Bit(gai_strerror(EAI_NONAME))));
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return sys(ETIMEDOUT);
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return sys(ENETUNREACH);
    default:
        return std::nullopt;
    }
}

QString charsetOf(const QByteArray& contentType)
{
    for (const QByteArray& part : contentType.split(';')) {
        const QByteArray p = part.trimmed();
        if (p.toLower().startsWith("charset=")) {
            QByteArray name = p.mid(8).trimmed();
            if (name.size() >= 2 && name.startsWith('"') && name.endsWith('"'))
                name = name.mid(1, name.size() - 2);
            return QString::fromLatin1(name).toLower();
        }
    }
    return QString();
}

QString bodyText(const QByteArray& body, const QByteArray& contentType)
{
    const QString charset = charsetOf(contentType);
    if (charset.isEmpty())
        return QString::fromLatin1(body);
    if (charset == QLatin1String("windows-1251") || charset == QLatin1String("cp1251"))
        return fromWindows1251(body);
    QStringDecoder decoder(charset.toLatin1().constData());
    if (!decoder.isValid())
        return QString::fromLatin1(body);
    return decoder.decode(body);
}

} // namespace

class QtHttpClient::Engine : public QObject {
public:
    explicit Engine(HttpTimeouts timeouts) : m_timeouts(timeouts) {}

    // On the network thread.
    void fetch(const std::shared_ptr<Pending>& pending, const QString& url, bool service)
    {
        QNetworkAccessManager* nam = manager(service);
        QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
        if (service) {
            request.setRawHeader("Accept", "text/html, */*");
            request.setRawHeader("User-Agent", "Mozilla/3.0 (compatible; Indy Library)");
            // A redirection is an answer other than success, as any other.
            request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                 QNetworkRequest::ManualRedirectPolicy);
        }
        request.setTransferTimeout(service ? m_timeouts.idleMs : m_timeouts.downloadIdleMs);
        QNetworkReply* reply = nam->get(request);
        auto timedOut = std::make_shared<bool>(false);
        auto* deadline = new QTimer(reply);
        deadline->setSingleShot(true);
        QObject::connect(deadline, &QTimer::timeout, reply, [reply, timedOut] {
            *timedOut = true;
            reply->abort();
        });
        deadline->start(service ? m_timeouts.totalMs : m_timeouts.downloadTotalMs);
        QObject::connect(reply, &QNetworkReply::finished, reply, [reply, pending, timedOut] {
            Outcome o;
            const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
            o.answered = status.isValid();
            o.status = status.toInt();
            o.reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
            o.error = reply->error();
            o.errorString = reply->errorString();
            o.timedOut = *timedOut;
            if (reply->isOpen())
                o.body = reply->readAll();
            o.contentType = reply->rawHeader("Content-Type");
            const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
            o.contentLength = length.isValid() ? length.toLongLong() : -1;
            reply->deleteLater();
            pending->finish(std::move(o));
        });
    }

private:
    QNetworkAccessManager* manager(bool service)
    {
        QNetworkAccessManager*& nam = service ? m_service : m_download;
        if (!nam) {
            nam = new QNetworkAccessManager(this);
            nam->setProxy(QNetworkProxy::NoProxy);
        }
        return nam;
    }

    HttpTimeouts m_timeouts;
    QNetworkAccessManager* m_service = nullptr;
    QNetworkAccessManager* m_download = nullptr;
};

QtHttpClient::QtHttpClient(HttpTimeouts timeouts)
    : m_timeouts(timeouts)
    , m_waiting(std::make_shared<Waiting>())
{
}

// The network thread and its managers come with the first request: the
// program's window does not wait for them at start, and a run that never
// goes online never makes them.
QtHttpClient::Engine* QtHttpClient::engine()
{
    std::call_once(m_started, [this] {
        m_thread = new QThread;
        m_thread->setObjectName(QStringLiteral("network"));
        m_engine = new Engine(m_timeouts);
        m_engine->moveToThread(m_thread);
        m_thread->start();
    });
    return m_engine;
}

QtHttpClient::~QtHttpClient()
{
    shutDown();
    if (!m_thread)
        return;
    Engine* engine = m_engine;
    QMetaObject::invokeMethod(engine, [engine] { delete engine; }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

std::shared_ptr<QtHttpClient::Pending> QtHttpClient::start(const QString& url, bool service)
{
    auto pending = std::make_shared<Pending>();
    {
        std::lock_guard<std::mutex> lock(m_waiting->mutex);
        if (m_waiting->down) {
            Outcome o;
            o.cancelled = true;
            pending->finish(std::move(o));
            return pending;
        }
        auto& list = m_waiting->pending;
        list.erase(std::remove_if(list.begin(), list.end(), [](const auto& w) { return w.expired(); }),
                   list.end());
        list.push_back(pending);
    }
    Engine* engine = this->engine();
    QMetaObject::invokeMethod(engine, [engine, pending, url, service] {
        engine->fetch(pending, url, service);
    }, Qt::QueuedConnection);
    return pending;
}

void QtHttpClient::wait(const std::shared_ptr<Pending>& pending)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread()) {
        // The UI thread: keep handling events until the answer is in.
        QEventLoop loop;
        {
            std::lock_guard<std::mutex> lock(pending->mutex);
            if (pending->finished)
                return;
            QEventLoop* target = &loop;
            pending->wake = [target] { QMetaObject::invokeMethod(target, "quit", Qt::QueuedConnection); };
        }
        while (true) {
            const int code = loop.exec();
            std::unique_lock<std::mutex> lock(pending->mutex);
            if (pending->finished) {
                pending->wake = nullptr;
                break;
            }
            if (code == -1) {
                // The application is quitting: every exec() returns at once,
                // and going round again would spin. Block instead; closing
                // the main window shuts the client down, which ends this.
                pending->wake = nullptr;
                pending->done.wait(lock, [&pending] { return pending->finished; });
                break;
            }
        }
        return;
    }
    std::unique_lock<std::mutex> lock(pending->mutex);
    pending->done.wait(lock, [&pending] { return pending->finished; });
}

QString QtHttpClient::get(const QString& url)
{
    const std::shared_ptr<Pending> pending = start(url, true);
    wait(pending);
    const Outcome& o = pending->outcome;
    if (o.answered && !o.cancelled && !o.timedOut) {
        if (o.status < 200 || o.status > 299)
            throw HttpError(QStringLiteral("HTTP/1.1 %1 %2").arg(o.status).arg(QString::fromLatin1(o.reason)));
        if (o.error == QNetworkReply::NoError)
            return bodyText(o.body, o.contentType);
    }
    if (const auto failure = socketFailure(o))
        throw SocketError(failure->first, failure->second);
    throw HttpError(o.errorString);
}

void QtHttpClient::shutDown()
{
    std::vector<std::shared_ptr<Pending>> open;
    {
        std::lock_guard<std::mutex> lock(m_waiting->mutex);
        m_waiting->down = true;
        for (const auto& w : m_waiting->pending)
            if (auto p = w.lock())
                open.push_back(p);
        m_waiting->pending.clear();
    }
    for (const auto& p : open) {
        Outcome o;
        o.cancelled = true;
        p->finish(std::move(o));
    }
}

bool QtHttpClient::download(const QString& url, const QString& file)
{
    const std::shared_ptr<Pending> pending = start(url, false);
    wait(pending);
    const Outcome& o = pending->outcome;
    // Only a complete success: a 2xx status, no transfer error, a body, and
    // all of it when its length was announced.
    if (!o.answered || o.cancelled || o.timedOut || o.error != QNetworkReply::NoError)
        return false;
    if (o.status < 200 || o.status > 299 || o.body.isEmpty())
        return false;
    if (o.contentLength >= 0 && o.contentLength != o.body.size())
        return false;
    return replaceFile(file, o.body);
}

} // namespace zel
