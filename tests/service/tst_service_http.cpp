// The real zelmora-service on the loopback: what the HTTP front refuses
// (bodies, overlong and endless lines), clients that trickle, arrive all
// at once or reset, a message handed out only by a whole GET, the stop on
// SIGTERM, the operator's aids, and kill -9 at random moments without
// losing a reply or a log it had answered OK for.
#include "service/servicestore.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <memory>
#include <thread>

using namespace zel::service;

namespace {

// One request on a connection of its own; the status, or -1 when none came.
int statusOf(quint16 port, const QByteArray& request, int timeoutMs = 5000)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(timeoutMs))
        return -1;
    socket.write(request);
    QByteArray answer;
    QElapsedTimer t;
    t.start();
    while (!answer.contains("\r\n") && t.elapsed() < timeoutMs && socket.waitForReadyRead(timeoutMs))
        answer += socket.readAll();
    if (!answer.startsWith("HTTP/1.1 "))
        return -1;
    return answer.mid(9, 3).toInt();
}

QByteArray get(const QByteArray& target, const QByteArray& method = "GET", const QByteArray& extra = {})
{
    return method + " " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extra + "Connection: close\r\n\r\n";
}

// A connected TCP socket from `source` (any loopback address: each stands
// for a client of its own), blocking or not; -1 on failure.
int connectFrom(const char* source, quint16 port, bool blocking = true)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | (blocking ? 0 : SOCK_NONBLOCK), 0);
    sockaddr_in from{}, to{};
    from.sin_family = to.sin_family = AF_INET;
    inet_pton(AF_INET, source, &from.sin_addr);
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    to.sin_port = htons(port);
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0
        || (::connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 && errno != EINPROGRESS)) {
        if (fd >= 0)
            ::close(fd);
        return -1;
    }
    return fd;
}

QByteArray sourceAddress(int block, int i)
{
    return "127." + QByteArray::number(block) + "." + QByteArray::number(i / 250) + "."
        + QByteArray::number(i % 250 + 1);
}

// What arrives on a blocking socket until the peer closes it or `timeoutMs` pass.
QByteArray readAll(int fd, int timeoutMs = 5000)
{
    QByteArray all;
    QElapsedTimer t;
    t.start();
    pollfd p{fd, POLLIN, 0};
    char buffer[65536];
    while (t.elapsed() < timeoutMs && ::poll(&p, 1, int(timeoutMs - t.elapsed())) > 0) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        all.append(buffer, n);
    }
    return all;
}

// Whether the peer has closed `fd` (read 0 or an error) without waiting.
bool closedByPeer(int fd)
{
    char c;
    const ssize_t n = ::recv(fd, &c, 1, MSG_DONTWAIT);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
}

constexpr qsizetype kUpdateSize = 16 << 20;

qint64 residentKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

} // namespace

class TestServiceHttp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void refusedByTheHttpLayer();
    void endlessLinesKeepMemoryBounded();
    void tricklingClientsHoldNobody();
    void clientsArrivingTogetherAllAnswered();
    void messageWaitsForAWholeGet();
    void pipelinedAndRangedRequests();
    void operatorAids();
    void sigtermEndsWithinTenSeconds();
    void killNineLosesNothingAnswered();

private:
    quint16 start(const QStringList& extra = {});
    // The access log once it holds `needle` (it is written as each answer
    // ends), or as it is after 5 s.
    QByteArray accessLog(const QByteArray& needle);

    QTemporaryDir m_dir;
    QString m_db;
    std::unique_ptr<QProcess> m_service;
    quint16 m_metricsPort = 0;
};

void TestServiceHttp::initTestCase()
{
    m_db = m_dir.filePath(QStringLiteral("service.db"));
    QVERIFY(QFileInfo(QStringLiteral(ZEL_SERVICE_EXE)).isExecutable());
    // An update file larger than the loopback's socket buffers hold.
    QFile update(m_dir.filePath(QStringLiteral("update.bin")));
    QVERIFY(update.open(QIODevice::WriteOnly));
    QVERIFY(update.write(QByteArray(kUpdateSize, 'u')) == kUpdateSize);
}

void TestServiceHttp::cleanup()
{
    if (m_service) {
        m_service->kill();
        m_service->waitForFinished();
        m_service.reset();
    }
}

quint16 TestServiceHttp::start(const QStringList& extra)
{
    m_service = std::make_unique<QProcess>();
    m_service->setReadChannel(QProcess::StandardError);
    // The access log: read by the tests, and never a pipe left full.
    m_service->setStandardOutputFile(m_dir.filePath(QStringLiteral("access.log")));
    m_service->start(QStringLiteral(ZEL_SERVICE_EXE),
                     QStringList{QStringLiteral("serve"), QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                                 QStringLiteral("--files"), m_dir.path(), QStringLiteral("--db"), m_db}
                         + extra);
    QByteArray err;
    QElapsedTimer t;
    t.start();
    const int lines = extra.contains(QStringLiteral("--metrics-listen")) ? 2 : 1;
    while (err.count('\n') < lines && t.elapsed() < 10000 && m_service->waitForReadyRead(10000))
        err += m_service->readAllStandardError();
    const QRegularExpressionMatch metrics = QRegularExpression(QStringLiteral("metrics on .*:(\\d+)")).match(QString::fromLatin1(err));
    m_metricsPort = metrics.hasMatch() ? quint16(metrics.captured(1).toUInt()) : 0;
    const QRegularExpressionMatch listening = QRegularExpression(QStringLiteral("listening on .*:(\\d+)")).match(QString::fromLatin1(err));
    return listening.hasMatch() ? quint16(listening.captured(1).toUInt()) : 0;
}

QByteArray TestServiceHttp::accessLog(const QByteArray& needle)
{
    QFile log(m_dir.filePath(QStringLiteral("access.log")));
    QByteArray lines;
    for (int i = 0; i < 50 && !lines.contains(needle); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (log.open(QIODevice::ReadOnly)) {
            lines = log.readAll();
            log.close();
        }
    }
    return lines;
}

void TestServiceHttp::refusedByTheHttpLayer()
{
    const quint16 port = start();
    QVERIFY(port);
    QCOMPARE(statusOf(port, get("/ip.html")), 200);
    // The program sends everything in the address: a body is refused unread.
    QCOMPARE(statusOf(port, "GET /ip.html HTTP/1.1\r\nHost: x\r\nContent-Length: 10000000\r\n\r\n"), 413);
    // Request lines and header lines of up to 8 KB.
    QCOMPARE(statusOf(port, get("/sp/sendlog.php?text=" + QByteArray(20000, 'a'))), 414);
    QCOMPARE(statusOf(port, get("/sp/sendlog.php?text=" + QByteArray(7000, 'a'))), 200);
    QCOMPARE(statusOf(port, get("/ip.html", "GET", "X-Long: " + QByteArray(9000, 'a') + "\r\n")), 431);
    QCOMPARE(statusOf(port, "POST /ip.html HTTP/1.1\r\nHost: x\r\nContent-Length: 10000000\r\n\r\n"), 413);
    QCOMPARE(statusOf(port, "DELETE /ip.html HTTP/1.1\r\nHost: x\r\n\r\n"), 404);
}

void TestServiceHttp::endlessLinesKeepMemoryBounded()
{
    const quint16 port = start();
    QVERIFY(port);
    const qint64 before = residentKb(m_service->processId());
    // Four connections each send 50 MB without a line end: in the request
    // line and in a header line. Each is cut once its head outgrows the
    // memory a connection has.
    for (const QByteArray& opening : {QByteArray("GET /"), QByteArray("GET /ip.html HTTP/1.1\r\nX-A: ")}) {
        std::vector<std::thread> senders;
        std::atomic<qint64> sent{0};
        for (int c = 0; c < 2; ++c)
            senders.emplace_back([&, c] {
                const int fd = connectFrom(sourceAddress(2, c).constData(), port);
                const QByteArray chunk(65536, 'a');
                ::send(fd, opening.constData(), size_t(opening.size()), MSG_NOSIGNAL);
                for (int i = 0; i < 800 && ::send(fd, chunk.constData(), size_t(chunk.size()), MSG_NOSIGNAL) > 0; ++i)
                    sent += chunk.size();
                ::close(fd);
            });
        for (std::thread& t : senders)
            t.join();
        QVERIFY2(sent < 32 * 1024 * 1024, qPrintable(QString::number(sent)));
    }
    const qint64 after = residentKb(m_service->processId());
    QVERIFY2(after - before < 16 * 1024, qPrintable(QStringLiteral("%1 kB -> %2 kB").arg(before).arg(after)));
    QCOMPARE(statusOf(port, get("/ip.html")), 200);
}

void TestServiceHttp::tricklingClientsHoldNobody()
{
    const quint16 port = start();
    QVERIFY(port);
    // More trickling clients than the old server had workers, each from an
    // address of its own, each sending a header line every 2 s.
    std::vector<int> trickling;
    for (int i = 0; i < 200; ++i) {
        trickling.push_back(connectFrom(sourceAddress(3, i).constData(), port));
        QVERIFY(trickling.back() >= 0);
        ::send(trickling.back(), "GET /ip.html HTTP/1.1\r\n", 23, MSG_NOSIGNAL);
    }
    QElapsedTimer since;
    since.start();
    // One address holds at most 64 connections: the ones beyond are closed.
    std::vector<int> crowd;
    for (int i = 0; i < 70; ++i)
        crowd.push_back(connectFrom("127.0.4.1", port));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    int refused = 0;
    for (int fd : crowd) {
        refused += closedByPeer(fd);
        ::close(fd);
    }
    QCOMPARE(refused, 6);
    qint64 slowestProbe = 0;
    int cut = 0;
    while (since.elapsed() < 12500 && cut < int(trickling.size())) {
        QElapsedTimer probe;
        probe.start();
        QCOMPARE(statusOf(port, get("/ip.html"), 2000), 200);
        slowestProbe = std::max(slowestProbe, probe.elapsed());
        cut = 0;
        for (int fd : trickling) {
            if (closedByPeer(fd))
                ++cut;
            else if (since.elapsed() / 2000 != (since.elapsed() - 250) / 2000)
                ::send(fd, "X-Trickle: 1\r\n", 14, MSG_NOSIGNAL);
        }
        // No head may stay open past 10 s, however its lines trickle.
        QVERIFY2(cut == 0 || since.elapsed() > 9000, qPrintable(QString::number(since.elapsed())));
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    QCOMPARE(cut, int(trickling.size()));
    QVERIFY2(since.elapsed() < 12000, qPrintable(QString::number(since.elapsed())));
    QVERIFY2(slowestProbe < 500, qPrintable(QString::number(slowestProbe)));
    for (int fd : trickling)
        ::close(fd);
}

void TestServiceHttp::clientsArrivingTogetherAllAnswered()
{
    const quint16 port = start();
    QVERIFY(port);
    // 1,000 clients connect at once, each asks once.
    constexpr int kClients = 1000;
    std::vector<pollfd> clients;
    for (int i = 0; i < kClients; ++i) {
        clients.push_back({connectFrom(sourceAddress(5, i).constData(), port, false), POLLOUT, 0});
        QVERIFY(clients.back().fd >= 0);
    }
    const QByteArray request = get("/ip.html");
    QElapsedTimer t;
    t.start();
    int answered = 0;
    while (answered < kClients && t.elapsed() < 10000) {
        ::poll(clients.data(), clients.size(), 100);
        for (pollfd& p : clients) {
            if ((p.revents & POLLOUT) && p.events == POLLOUT) {
                ::send(p.fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL);
                p.events = POLLIN;
            } else if (p.revents & (POLLIN | POLLHUP | POLLERR)) {
                char answer[256];
                const ssize_t n = ::recv(p.fd, answer, sizeof answer, 0);
                answered += n > 12 && QByteArray(answer, 12) == "HTTP/1.1 200";
                ::close(p.fd);
                p.fd = -1;
            }
        }
    }
    for (const pollfd& p : clients)
        if (p.fd >= 0)
            ::close(p.fd);
    QCOMPARE(answered, kClients);
    QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
}

void TestServiceHttp::messageWaitsForAWholeGet()
{
    const quint16 port = start();
    QVERIFY(port);
    const auto ask = [port](const QByteArray& request) {
        const int fd = connectFrom("127.0.0.1", port);
        ::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL);
        const QByteArray answer = readAll(fd);
        ::close(fd);
        return answer;
    };
    const QByteArray id = ask(get("/sp/zm.php?query=createID")).split('\n').last();
    QProcess post;
    post.start(QStringLiteral(ZEL_SERVICE_EXE),
               {QStringLiteral("post"), QString::fromLatin1(id), QStringLiteral("Hello"), QStringLiteral("--db"), m_db});
    QVERIFY(post.waitForFinished(10000) && post.exitCode() == 0);
    const QByteArray target = "/sp/zm.php?query=getmessage&ID=" + id;
    // A HEAD tells the length and hands nothing out; a Range is not served
    // in part (nor refused with 416): the GET with it gets the whole text.
    const QByteArray head = ask(get(target, "HEAD"));
    QVERIFY2(head.startsWith("HTTP/1.1 200") && head.endsWith("\r\n\r\n"), head.constData());
    QVERIFY(ask(get(target, "GET", "Range: bytes=5-\r\n")).endsWith("\r\n\r\nzelmora Hello"));
    QVERIFY(ask(get(target)).endsWith("\r\n\r\n"));
    // An answer cut by a reset is not taken for written: a client asks for
    // more than the sockets hold, reads nothing and resets.
    const int fd = connectFrom("127.0.0.1", port);
    const int small = 4096;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    const QByteArray download = get("/updates/update.bin");
    ::send(fd, download.constData(), size_t(download.size()), MSG_NOSIGNAL);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const linger reset{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(fd);
    const QByteArray lines = accessLog("/updates/update.bin");
    QVERIFY2(lines.contains(" GET /updates/update.bin 200 0 "), lines.constData());
}

void TestServiceHttp::pipelinedAndRangedRequests()
{
    const quint16 port = start();
    QVERIFY(port);
    // Two requests in one write: both answered, in order.
    int fd = connectFrom("127.0.0.1", port);
    const QByteArray twice = "GET /ip.html HTTP/1.1\r\nHost: x\r\n\r\n" + get("/send.php?file=check.log");
    ::send(fd, twice.constData(), size_t(twice.size()), MSG_NOSIGNAL);
    const QByteArray answers = readAll(fd);
    ::close(fd);
    QCOMPARE(answers.count("HTTP/1.1 200"), 2);
    QVERIFY(answers.endsWith("\r\n\r\nOK"));
    // 50 ranges in one request: never more than the file once.
    QByteArray ranges = "Range: bytes=0-" + QByteArray::number(kUpdateSize - 1);
    for (int i = 1; i < 50; ++i)
        ranges += ",0-" + QByteArray::number(kUpdateSize - 1);
    fd = connectFrom("127.0.0.1", port);
    const QByteArray request = get("/updates/update.bin", "GET", ranges + "\r\n");
    ::send(fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL);
    const QByteArray file = readAll(fd);
    ::close(fd);
    QVERIFY2(file.size() > kUpdateSize && file.size() < kUpdateSize + 1000, qPrintable(QString::number(file.size())));
}

void TestServiceHttp::operatorAids()
{
    QProcess refused;
    refused.start(QStringLiteral(ZEL_SERVICE_EXE), {QStringLiteral("serve"), QStringLiteral("--listen"),
                                                    QStringLiteral("127.0.0.1:0"), QStringLiteral("--files"),
                                                    m_dir.path(), QStringLiteral("--db"), m_db,
                                                    QStringLiteral("--metrics-listen"), QStringLiteral("0.0.0.0:0")});
    QVERIFY(refused.waitForFinished(10000));
    QCOMPARE(refused.exitCode(), 2);

    const quint16 port = start({QStringLiteral("--metrics-listen"), QStringLiteral("127.0.0.1:0"),
                                QStringLiteral("--trusted-proxy"), QStringLiteral("127.0.6.1")});
    QVERIFY(port && m_metricsPort);
    // X-Forwarded-For counts only on connections from the trusted proxy,
    // and only its last entry (the one the proxy added).
    const QByteArray forwarded = get("/ip.html", "GET", "X-Forwarded-For: 10.9.9.9, 192.0.2.7\r\n");
    const struct {
        const char* from;
        QByteArray shown;
    } rows[] = {{"127.0.6.1", "192.0.2.7"}, {"127.0.6.2", "127.0.6.2"}};
    for (const auto& row : rows) {
        const int fd = connectFrom(row.from, port);
        ::send(fd, forwarded.constData(), size_t(forwarded.size()), MSG_NOSIGNAL);
        QCOMPARE(readAll(fd).split('\n').last(), row.shown);
        ::close(fd);
    }
    QCOMPARE(statusOf(port, get("/sp/zm.php?query=sendmessage&ID=0&theme=T&email=secret@x&message=hush")), 200);
    // The access log keeps the query's keys, never the users' texts.
    const QByteArray lines = accessLog("&message=");
    QVERIFY2(lines.contains(" 192.0.2.7 GET /ip.html 200 9 "), lines.constData());
    QVERIFY2(lines.contains(" GET /sp/zm.php?query=&ID=&theme=&email=&message= 200 2 "), lines.constData());
    QVERIFY(!lines.contains("secret") && !lines.contains("hush"));
    const int fd = connectFrom("127.0.0.1", m_metricsPort);
    ::send(fd, get("/metrics").constData(), size_t(get("/metrics").size()), MSG_NOSIGNAL);
    const QByteArray metrics = readAll(fd);
    ::close(fd);
    for (const char* expected : {"zelmora_requests_total{route=\"/ip.html\",status=\"200\"} 2",
                                 "zelmora_requests_total{route=\"/sp/zm.php?query=sendmessage\",status=\"200\"} 1",
                                 "zelmora_request_duration_seconds_count 3", "zelmora_queued_messages 0",
                                 "zelmora_database_errors_total 0"})
        QVERIFY2(metrics.contains(expected), expected);
}

void TestServiceHttp::sigtermEndsWithinTenSeconds()
{
    const quint16 port = start();
    QVERIFY(port);
    std::vector<int> trickling;
    for (int i = 0; i < 100; ++i) {
        trickling.push_back(connectFrom(sourceAddress(7, i).constData(), port));
        ::send(trickling.back(), "GET /ip.html HTTP/1.1\r\n", 23, MSG_NOSIGNAL);
    }
    // A download under way when the signal comes is finished.
    const int download = connectFrom("127.0.0.1", port);
    const QByteArray request = get("/updates/update.bin");
    ::send(download, request.constData(), size_t(request.size()), MSG_NOSIGNAL);
    char first[4096];
    QVERIFY(::recv(download, first, sizeof first, 0) > 0);
    QElapsedTimer t;
    t.start();
    ::kill(pid_t(m_service->processId()), SIGTERM);
    // The trickling clients go on sending a header line a second.
    std::atomic<bool> stopped{false};
    std::thread trickle([&] {
        for (int round = 0; round < 15 && !stopped; ++round) {
            for (int fd : trickling)
                ::send(fd, "X-Trickle: 1\r\n", 14, MSG_NOSIGNAL);
            std::this_thread::sleep_for(std::chrono::seconds(1));
        }
    });
    const QByteArray rest = readAll(download, 15000);
    const bool finished = m_service->waitForFinished(15000);
    stopped = true;
    trickle.join();
    QVERIFY(finished);
    QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
    QCOMPARE(m_service->exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_service->exitCode(), 0);
    QVERIFY2(rest.size() >= kUpdateSize - qsizetype(sizeof first) && rest.endsWith('u'),
             qPrintable(QString::number(rest.size())));
    ::close(download);
    for (int fd : trickling)
        ::close(fd);
}

void TestServiceHttp::killNineLosesNothingAnswered()
{
    QStringList answeredReplies, answeredLogs;
    for (int round = 0; round < 3; ++round) {
        const quint16 port = start();
        QVERIFY(port);
        const auto pid = m_service->processId();
        std::atomic<bool> killed{false};
        // Killed at a random moment while the requests keep coming.
        std::thread killer([pid, &killed] {
            std::this_thread::sleep_for(std::chrono::milliseconds(QRandomGenerator::global()->bounded(100, 400)));
            ::kill(pid, SIGKILL);
            killed = true;
        });
        for (int i = 0; !killed || i % 10 != 0; ++i) {
            const QByteArray tag = QByteArray::number(round) + "_" + QByteArray::number(i);
            if (i % 2 == 0) {
                if (statusOf(port, get("/sp/zm.php?query=sendmessage&ID=1&theme=t&email=@&message=r" + tag), 2000) == 200)
                    answeredReplies << QString::fromLatin1("r" + tag);
            } else if (statusOf(port, get("/sp/sendlog.php?text=l" + tag), 2000) == 200) {
                answeredLogs << QString::fromLatin1("l" + tag);
            }
            if (i > 100000)
                break;
        }
        killer.join();
        m_service->waitForFinished();
        QCOMPARE(m_service->exitStatus(), QProcess::CrashExit);
        m_service.reset();
    }
    QVERIFY(answeredReplies.size() > 10);
    qInfo("%lld replies and %lld logs answered OK over 3 kills", qlonglong(answeredReplies.size()),
          qlonglong(answeredLogs.size()));
    ServiceStore store({m_db, {}});
    QStringList replies, logs;
    for (const Feedback& f : store.inbox())
        replies << f.message;
    for (const UploadedLog& l : store.logs())
        logs << l.text;
    for (const QString& r : std::as_const(answeredReplies))
        QVERIFY2(replies.contains(r), qPrintable(r));
    for (const QString& l : std::as_const(answeredLogs))
        QVERIFY2(logs.contains(l), qPrintable(l));
}

QTEST_GUILESS_MAIN(TestServiceHttp)
#include "tst_service_http.moc"
