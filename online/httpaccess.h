// HTTP access to the maker's service: the client interface and its errors.
#pragma once

#include "engine/errors.h"

#include <QString>

namespace zel {

// A request that failed after the server answered, or a protocol failure:
// the message names the status ("HTTP/1.1 404 Not Found"), never "Socket Error".
class HttpError : public Error {
public:
    using Error::Error;
};

// A failure below HTTP (refused, reset, unreachable, timed out). Its message is
// "Socket Error # <number>\r\n<description>", by which the error report tells
// network failures apart.
class SocketError : public Error {
public:
    SocketError(int number, const QString& description);
    int number() const { return m_number; }

private:
    int m_number;
};

// The message of a socket-level failure.
QString socketErrorMessage(int number, const QString& description);

// The one client of the service's GET requests. Requests carry the headers
// Accept "text/html, */*" and User-Agent "Mozilla/3.0 (compatible; Indy
// Library)"; cookies the service sets are kept for the run. Safe to call from
// the UI thread (which keeps handling its events while it waits) and from a
// worker thread at the same time.
class IHttpClient {
public:
    virtual ~IHttpClient() = default;
    // The body of a 2xx answer to a GET of `url`, read in the character set the
    // answer declares, or ISO-8859-1 (one character per byte) when it declares
    // none. Throws SocketError or HttpError.
    virtual QString get(const QString& url) = 0;
    // From now on every request, the waiting ones included, fails at once
    // with a SocketError; used at shutdown so that no worker waits on the net.
    virtual void shutDown() = 0;
};

// The system's download of an address into a file, for the update.
class IDownloader {
public:
    virtual ~IDownloader() = default;
    // Writes the whole body of a complete 2xx answer to `file`, replacing it;
    // true on success. On any failure the file is left as it was.
    virtual bool download(const QString& url, const QString& file) = 0;
};

} // namespace zel
