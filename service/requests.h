// The answers to the program's requests: every address it asks, answered in
// the form and code page it decodes. Nothing but GET of these addresses is
// served.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

#include "service/ratelimit.h"

#include <functional>
#include <memory>
#include <optional>

namespace zel::service {

class ServiceStore;

struct ServiceRequest {
    QByteArray method;
    QByteArray target; // path and query as sent
    QString remote;    // the caller's address
};

struct ServiceAnswer {
    int status = 200;
    QByteArray body;
    // Without a character set: the program reads such a body byte for byte
    // and restores the Windows-1251 letters itself.
    QByteArray contentType = "text/html";
    // An update file is sent from this open file instead of `body`, piece by
    // piece; being open, it stays the same file when a publish replaces it.
    std::shared_ptr<QFile> file;
    // Called by the HTTP layer once the whole body of a GET has been
    // written, never otherwise: only then is a handed-out message delivered.
    std::function<void()> delivered;
};

// The longest value the program's texts may have once decoded; anything
// longer was not made by it.
constexpr qsizetype kMaxText = 1 << 20;

// The value of a query key (compared without regard to case; the first of
// equal keys wins): "%XX" escapes become bytes, a "%" not followed by two
// hexadecimal digits stays as it is (the program leaves a typed "%" raw), and
// the bytes read as Windows-1251. Nothing when the key is missing.
std::optional<QString> queryValue(const QByteArray& query, const QByteArray& key);

// The answer to getmessage for a queued text: the marker, then the text's
// lines in comma-text form, in Windows-1251.
QByteArray messageAnswer(const QString& text);

class RequestHandler {
public:
    // `filesDir` holds updates.ini and the update files served under /updates/.
    RequestHandler(ServiceStore& store, const QString& filesDir, const Limits& limits = Limits());
    // Thread-safe. A request whose database is away or held up answers 503,
    // one past its sender's hourly allowance 429.
    ServiceAnswer answer(const ServiceRequest& request, const QDateTime& now = QDateTime::currentDateTimeUtc());

private:
    ServiceAnswer messageService(const QByteArray& query, const ServiceRequest& request, const QDateTime& now);
    ServiceAnswer routed(const ServiceRequest& request, const QDateTime& now);
    ServiceAnswer updateFile(const QByteArray& name) const;

    ServiceStore& m_store;
    QString m_filesDir;
    RateLimiter m_limiter;
};

} // namespace zel::service
