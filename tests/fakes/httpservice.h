// A scripted HTTP service on 127.0.0.1 for tests: answers each path as told,
// records every request it gets, and stops with the test. It runs in the
// test's own thread, so a request made there must keep the events going (as
// the program's UI-thread requests do).
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <memory>

namespace zel {

struct TestRequest {
    QByteArray method;
    QByteArray target;                     // path and query as sent
    QMap<QByteArray, QByteArray> headers;  // names in lower case

    QByteArray path() const { return target.left(target.indexOf('?') < 0 ? target.size() : target.indexOf('?')); }
};

struct TestAnswer {
    // Truncated announces 1000 bytes more than it sends; Unsized sends no
    // Content-Length, so only the closed connection ends the body.
    enum Mode { Normal, Silent, Truncated, Unsized };
    int status = 200;
    QByteArray body{};
    QByteArray contentType{};          // no Content-Type header when empty
    QList<QByteArray> extraHeaders{};  // whole header lines
    Mode mode = Normal;
};

class TestService {
public:
    TestService()
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                serve(socket);
        });
    }
    ~TestService() { stop(); }

    bool start() { return m_server.listen(QHostAddress::LocalHost, 0); }
    void stop()
    {
        m_server.close();
        for (const QPointer<QTcpSocket>& s : m_open)
            if (s)
                s->abort();
        m_open.clear();
    }
    // "127.0.0.1:<port>", as a host of the program's addresses.
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }

    // The answer to a path (without query), or to a whole target with query,
    // which wins. Unknown paths get a 404.
    void answer(const QByteArray& pathOrTarget, const TestAnswer& a) { m_answers[pathOrTarget] = a; }
    void answer(const QByteArray& pathOrTarget, const QByteArray& body) { answer(pathOrTarget, TestAnswer{200, body}); }

    QList<TestRequest> requests() const { return m_requests; }
    QList<QByteArray> targets() const
    {
        QList<QByteArray> t;
        for (const TestRequest& r : m_requests)
            t << r.target;
        return t;
    }
    void clearRequests() { m_requests.clear(); }

private:
    void serve(QTcpSocket* socket)
    {
        m_open << socket;
        auto buffer = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
            buffer->append(socket->readAll());
            const qsizetype end = buffer->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            const QList<QByteArray> lines = buffer->left(end).split('\n');
            buffer->remove(0, end + 4);
            TestRequest request;
            const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
            request.method = first.value(0);
            request.target = first.value(1);
            for (qsizetype i = 1; i < lines.size(); ++i) {
                const qsizetype colon = lines[i].indexOf(':');
                if (colon > 0)
                    request.headers[lines[i].left(colon).trimmed().toLower()] = lines[i].mid(colon + 1).trimmed();
            }
            m_requests << request;
            respond(socket, request);
        });
    }

    void respond(QTcpSocket* socket, const TestRequest& request)
    {
        TestAnswer a{404, "Not Found"};
        if (m_answers.contains(request.target))
            a = m_answers.value(request.target);
        else if (m_answers.contains(request.path()))
            a = m_answers.value(request.path());
        if (a.mode == TestAnswer::Silent)
            return;
        const qsizetype length = a.body.size() + (a.mode == TestAnswer::Truncated ? 1000 : 0);
        QByteArray head = "HTTP/1.1 " + QByteArray::number(a.status) + ' ' + reason(a.status) + "\r\n";
        if (a.mode != TestAnswer::Unsized)
            head += "Content-Length: " + QByteArray::number(length) + "\r\n";
        head += "Connection: close\r\n";
        if (!a.contentType.isEmpty())
            head += "Content-Type: " + a.contentType + "\r\n";
        for (const QByteArray& h : a.extraHeaders)
            head += h + "\r\n";
        socket->write(head + "\r\n" + a.body);
        socket->disconnectFromHost();
    }

    static QByteArray reason(int status)
    {
        switch (status) {
        case 200: return "OK";
        case 302: return "Found";
        case 404: return "Not Found";
        case 500: return "Internal Server Error";
        default: return "Status";
        }
    }

    QTcpServer m_server;
    QMap<QByteArray, TestAnswer> m_answers;
    QList<TestRequest> m_requests;
    QList<QPointer<QTcpSocket>> m_open;
};

// A port on 127.0.0.1 that refuses connections: it was listened on and let go.
inline QString refusingHost()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const quint16 port = server.serverPort();
    server.close();
    return QStringLiteral("127.0.0.1:%1").arg(port);
}

} // namespace zel
