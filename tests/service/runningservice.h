// The real zelmora-service for tests: started on a free port of 127.0.0.1,
// asked over plain sockets, killed when the test is done with it.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <QTcpSocket>

#include <memory>

struct HttpResult {
    int status = -1; // -1: no answer
    QByteArray body;
};

class RunningService {
public:
    // `options`: what follows "serve --listen 127.0.0.1:0", storage included.
    explicit RunningService(const QStringList& options)
    {
        m_process.setReadChannel(QProcess::StandardError);
        m_process.start(QStringLiteral(ZEL_SERVICE_EXE),
                        QStringList{QStringLiteral("serve"), QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")}
                            + options);
        QByteArray err;
        QElapsedTimer t;
        t.start();
        while (!err.contains('\n') && t.elapsed() < 10000 && m_process.waitForReadyRead(10000))
            err += m_process.readAllStandardError();
        const qsizetype colon = err.lastIndexOf(':');
        if (colon >= 0 && err.contains("listening"))
            m_port = quint16(err.mid(colon + 1).trimmed().toUInt());
    }
    ~RunningService()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    quint16 port() const { return m_port; }

    // One request on a connection of its own, read to its end.
    HttpResult request(const QByteArray& target, const QByteArray& method = "GET", int timeoutMs = 10000) const
    {
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), m_port);
        if (!socket.waitForConnected(timeoutMs))
            return {};
        socket.write(method + ' ' + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
        QByteArray answer;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs && socket.state() == QAbstractSocket::ConnectedState) {
            socket.waitForReadyRead(int(timeoutMs - t.elapsed()));
            answer += socket.readAll();
        }
        answer += socket.readAll();
        const qsizetype head = answer.indexOf("\r\n\r\n");
        if (!answer.startsWith("HTTP/1.1 ") || head < 0)
            return {};
        return {answer.mid(9, 3).toInt(), answer.mid(head + 4)};
    }

private:
    QProcess m_process;
    quint16 m_port = 0;
};
