// The real zelmora-service on the loopback: what the HTTP layer refuses
// (bodies, overlong addresses), requests that stall, and kill -9 at random
// moments without losing a reply or a log it had answered OK for.
#include "service/servicestore.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

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

QByteArray get(const QByteArray& target)
{
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
}

} // namespace

class TestServiceHttp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void refusedByTheHttpLayer();
    void stalledRequestsHoldNobody();
    void killNineLosesNothingAnswered();

private:
    quint16 start();

    QTemporaryDir m_dir;
    QString m_db;
    std::unique_ptr<QProcess> m_service;
};

void TestServiceHttp::initTestCase()
{
    m_db = m_dir.filePath(QStringLiteral("service.db"));
    QVERIFY(QFileInfo(QStringLiteral(ZEL_SERVICE_EXE)).isExecutable());
}

void TestServiceHttp::cleanup()
{
    if (m_service) {
        m_service->kill();
        m_service->waitForFinished();
        m_service.reset();
    }
}

quint16 TestServiceHttp::start()
{
    m_service = std::make_unique<QProcess>();
    m_service->setReadChannel(QProcess::StandardError);
    m_service->start(QStringLiteral(ZEL_SERVICE_EXE),
                     {QStringLiteral("serve"), QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0"),
                      QStringLiteral("--files"), m_dir.path(), QStringLiteral("--db"), m_db});
    QByteArray err;
    QElapsedTimer t;
    t.start();
    while (!err.contains('\n') && t.elapsed() < 10000 && m_service->waitForReadyRead(10000))
        err += m_service->readAllStandardError();
    const qsizetype colon = err.lastIndexOf(':');
    return colon < 0 || !err.contains("listening") ? 0 : quint16(err.mid(colon + 1).trimmed().toUInt());
}

void TestServiceHttp::refusedByTheHttpLayer()
{
    const quint16 port = start();
    QVERIFY(port);
    QCOMPARE(statusOf(port, get("/ip.html")), 200);
    // The program sends everything in the address: a body is refused unread.
    QCOMPARE(statusOf(port, "GET /ip.html HTTP/1.1\r\nHost: x\r\nContent-Length: 10000000\r\n\r\n"), 413);
    // The HTTP library takes request lines of up to 8 KB.
    QCOMPARE(statusOf(port, get("/sp/sendlog.php?text=" + QByteArray(20000, 'a'))), 414);
    QCOMPARE(statusOf(port, get("/sp/sendlog.php?text=" + QByteArray(7000, 'a'))), 200);
    QCOMPARE(statusOf(port, "POST /ip.html HTTP/1.1\r\nHost: x\r\nContent-Length: 10000000\r\n\r\n"), 413);
    QCOMPARE(statusOf(port, "DELETE /ip.html HTTP/1.1\r\nHost: x\r\n\r\n"), 404);
}

void TestServiceHttp::stalledRequestsHoldNobody()
{
    const quint16 port = start();
    QVERIFY(port);
    // Connections that send half a request and then nothing.
    std::vector<std::unique_ptr<QTcpSocket>> stalled;
    for (int i = 0; i < 20; ++i) {
        stalled.push_back(std::make_unique<QTcpSocket>());
        stalled.back()->connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(stalled.back()->waitForConnected(2000));
        stalled.back()->write("GET /sp/zm.php?query=createID HTTP/1.1\r\nHo");
        stalled.back()->flush();
    }
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < 20; ++i)
        QCOMPARE(statusOf(port, get("/ip.html"), 2000), 200);
    QVERIFY2(t.elapsed() < 2000, qPrintable(QString::number(t.elapsed())));
    // The stalled ones are let go after the time-out.
    QVERIFY(stalled.front()->waitForDisconnected(10000));
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
