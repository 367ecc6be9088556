// The Qt Network client against a service of the test's own on 127.0.0.1:
// headers, cookies, the reading of the body, the errors, the time-outs, the
// events that keep flowing while the UI thread waits, and the downloads; and
// the same client reached through the module the program carries.
#include "../fakes/httpservice.h"
#include "../fakes/modulefile.h"
#include "online/platform/lazynet.h"
#include "online/platform/qthttpclient.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace zel;

class TestHttpClient : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void sendsTheTwoHeaders();
    void bodyWithoutCharsetIsLatin1();
    void declaredCharsets();
    void cookiesLastForTheRunOnEveryThread();
    void refusedConnectionIsASocketError();
    void errorStatusIsNoSocketError();
    void redirectionIsAnError();
    void silentServerTimesOutWhileEventsFlow();
    void workerRequestBlocksOnlyItsThread();
    void shutDownFailsWaitingRequests();
    void downloads();
    void carriedModuleServesOnFirstUse();
    void moduleThatWillNotOpenFailsEveryUse();

private:
    QString url(const char* path) const { return u"http://"_qs + m_service->host() + QLatin1String(path); }
    std::unique_ptr<TestService> m_service;
};

void TestHttpClient::init()
{
    m_service = std::make_unique<TestService>();
    QVERIFY(m_service->start());
}

void TestHttpClient::cleanup()
{
    m_service.reset();
}

void TestHttpClient::sendsTheTwoHeaders()
{
    QtHttpClient http;
    m_service->answer("/ip.html", "10.0.0.1");
    QCOMPARE(http.get(url("/ip.html")), u"10.0.0.1"_qs);
    const TestRequest r = m_service->requests().value(0);
    QCOMPARE(r.method, QByteArray("GET"));
    QCOMPARE(r.headers.value("accept"), QByteArray("text/html, */*"));
    QCOMPARE(r.headers.value("user-agent"), QByteArray("Mozilla/3.0 (compatible; Indy Library)"));
    QVERIFY(!r.headers.contains("authorization"));
    // The query travels as written.
    m_service->answer("/sp/zm.php", "");
    http.get(url("/sp/zm.php?query=getmessage&ID=12"));
    QCOMPARE(m_service->targets().value(1), QByteArray("/sp/zm.php?query=getmessage&ID=12"));
}

void TestHttpClient::bodyWithoutCharsetIsLatin1()
{
    QtHttpClient http;
    m_service->answer("/m", TestAnswer{200, "zelmora \xCF\xF0\xE8\xE2\xB3\xF2", "text/html"});
    const QString body = http.get(url("/m"));
    QCOMPARE(body.size(), 14);
    QCOMPARE(body.at(8).unicode(), char16_t(0xCF));
    QCOMPARE(body.at(13).unicode(), char16_t(0xF2));
}

void TestHttpClient::declaredCharsets()
{
    QtHttpClient http;
    m_service->answer("/w", TestAnswer{200, "\xCF\xF0\xE8\xE2\xB3\xF2", "text/html; charset=windows-1251"});
    QCOMPARE(http.get(url("/w")), u"Привіт"_qs);
    m_service->answer("/u", TestAnswer{200, u"Привіт"_qs.toUtf8(), "text/plain; charset=\"UTF-8\""});
    QCOMPARE(http.get(url("/u")), u"Привіт"_qs);
    m_service->answer("/x", TestAnswer{200, "\xE9", "text/plain; charset=no-such-set"});
    QCOMPARE(http.get(url("/x")), QString(QChar(0xE9)));
}

void TestHttpClient::cookiesLastForTheRunOnEveryThread()
{
    QtHttpClient http;
    m_service->answer("/set", TestAnswer{200, "ok", "", {"Set-Cookie: session=abc; Path=/"}});
    m_service->answer("/next", "next");
    http.get(url("/set"));
    http.get(url("/next"));
    QCOMPARE(m_service->requests().value(1).headers.value("cookie"), QByteArray("session=abc"));
    // A worker's request shares them.
    std::atomic<bool> done{false};
    std::thread worker([&] {
        http.get(url("/next"));
        done = true;
    });
    QTRY_VERIFY(done.load());
    worker.join();
    QCOMPARE(m_service->requests().value(2).headers.value("cookie"), QByteArray("session=abc"));
}

void TestHttpClient::refusedConnectionIsASocketError()
{
    QtHttpClient http;
    try {
        http.get(u"http://"_qs + refusingHost() + u"/sp/sendlog.php?text=x"_qs);
        QFAIL("no error");
    } catch (const SocketError& e) {
        QCOMPARE(e.number(), ECONNREFUSED);
        QCOMPARE(e.message(), u"Socket Error # "_qs + QString::number(ECONNREFUSED) + u"\r\n"_qs
                                  + QString::fromLocal8Bit(strerror(ECONNREFUSED)));
    }
}

void TestHttpClient::errorStatusIsNoSocketError()
{
    QtHttpClient http;
    try {
        http.get(url("/missing"));
        QFAIL("no error");
    } catch (const HttpError& e) {
        QCOMPARE(e.message(), u"HTTP/1.1 404 Not Found"_qs);
    }
    m_service->answer("/boom", TestAnswer{500, "oops"});
    QVERIFY_THROWS_EXCEPTION(HttpError, http.get(url("/boom")));
}

void TestHttpClient::redirectionIsAnError()
{
    QtHttpClient http;
    m_service->answer("/moved", TestAnswer{302, "", "", {"Location: /ip.html"}});
    m_service->answer("/ip.html", "1.2.3.4");
    QVERIFY_THROWS_EXCEPTION(HttpError, http.get(url("/moved")));
    QCOMPARE(m_service->requests().size(), 1);
}

void TestHttpClient::silentServerTimesOutWhileEventsFlow()
{
    HttpTimeouts t;
    t.idleMs = 400;
    t.totalMs = 5000;
    QtHttpClient http(t);
    m_service->answer("/silent", TestAnswer{200, "", "", {}, TestAnswer::Silent});
    // A timer of the window keeps firing while the request waits.
    int ticks = 0;
    qint64 longestGap = 0;
    QElapsedTimer sinceTick;
    sinceTick.start();
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        longestGap = std::max(longestGap, sinceTick.restart());
    });
    timer.start();
    QElapsedTimer waited;
    waited.start();
    try {
        http.get(url("/silent"));
        QFAIL("no time-out");
    } catch (const SocketError& e) {
        QCOMPARE(e.number(), ETIMEDOUT);
        QVERIFY(e.message().startsWith(u"Socket Error # "_qs));
    }
    qInfo("silent service: request ended after %lld ms; %d timer ticks meanwhile, longest gap %lld ms",
          waited.elapsed(), ticks, longestGap);
    QVERIFY(ticks > 0);
}

void TestHttpClient::workerRequestBlocksOnlyItsThread()
{
    QtHttpClient http;
    m_service->answer("/sp/zm.php", "zelmora hi");
    QString body;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        body = http.get(url("/sp/zm.php?query=getmessage&ID=1"));
        done = true;
    });
    QTRY_VERIFY(done.load());
    worker.join();
    QCOMPARE(body, u"zelmora hi"_qs);
}

void TestHttpClient::shutDownFailsWaitingRequests()
{
    QtHttpClient http;
    m_service->answer("/silent", TestAnswer{200, "", "", {}, TestAnswer::Silent});
    std::atomic<bool> failed{false};
    std::atomic<bool> started{false};
    std::thread worker([&] {
        started = true;
        try {
            http.get(url("/silent"));
        } catch (const SocketError& e) {
            failed = e.number() == ECANCELED;
        }
    });
    QTRY_VERIFY(started.load() && m_service->requests().size() == 1);
    http.shutDown();
    worker.join();
    QVERIFY(failed.load());
    QVERIFY_THROWS_EXCEPTION(SocketError, http.get(url("/silent")));
}

void TestHttpClient::downloads()
{
    QtHttpClient http;
    QTemporaryDir dir;
    const QString file = dir.filePath(u"zelmora.new"_qs);
    m_service->answer("/ok.bin", TestAnswer{200, QByteArray(100000, 'z'), "application/octet-stream"});
    QVERIFY(http.download(url("/ok.bin"), file));
    QCOMPARE(QFileInfo(file).size(), 100000);
    // No cookies or service headers of the client's own.
    QVERIFY(m_service->requests().value(0).headers.value("user-agent") != "Mozilla/3.0 (compatible; Indy Library)");

    // A cut-off body, an error page and an empty body leave the file as it was.
    m_service->answer("/cut.bin", TestAnswer{200, "short", "", {}, TestAnswer::Truncated});
    QVERIFY(!http.download(url("/cut.bin"), file));
    QVERIFY(!http.download(url("/missing.bin"), file));
    m_service->answer("/empty.bin", TestAnswer{200, ""});
    QVERIFY(!http.download(url("/empty.bin"), file));
    QCOMPARE(QFileInfo(file).size(), 100000);
    QVERIFY(!http.download(u"http://"_qs + refusingHost() + u"/x"_qs, file));
    // Downloads follow a redirection, as the system's download does.
    m_service->answer("/moved.bin", TestAnswer{302, "", "", {"Location: /ok.bin"}});
    QFile::remove(file);
    QVERIFY(http.download(url("/moved.bin"), file));
    QCOMPARE(QFileInfo(file).size(), 100000);
}

void TestHttpClient::carriedModuleServesOnFirstUse()
{
    ModuleFromFile file("zelmora-net-test", QStringLiteral(ZEL_NET_MODULE));
    QVERIFY(file.isRead());
    EmbeddedModule& module = file.module();
    {
        Facility<INetFacilities> facility(module, kNetModuleOpen, {}, netFacilitiesWith(HttpTimeouts()));
        LazyNet net(facility);
        m_service->answer("/ip.html", "10.0.0.1");
        QCOMPARE(net.get(url("/ip.html")), u"10.0.0.1"_qs);
        // Its errors are the program's own types across the module's edge.
        QVERIFY_THROWS_EXCEPTION(HttpError, net.get(url("/missing")));
        QTemporaryDir dir;
        m_service->answer("/ok.bin", TestAnswer{200, QByteArray(1000, 'z'), "application/octet-stream"});
        QVERIFY(net.download(url("/ok.bin"), dir.filePath(u"zelmora.new"_qs)));
        net.shutDown();
        QVERIFY_THROWS_EXCEPTION(SocketError, net.get(url("/ip.html")));
    }
    // Shut down before any use: the client made afterwards is shut down too.
    Facility<INetFacilities> facility(module, kNetModuleOpen, {}, netFacilitiesWith(HttpTimeouts()));
    LazyNet net(facility);
    net.shutDown();
    QVERIFY_THROWS_EXCEPTION(SocketError, net.get(url("/ip.html")));
    QCOMPARE(m_service->requests().size(), 3);
}

void TestHttpClient::moduleThatWillNotOpenFailsEveryUse()
{
    EmbeddedModule& module = brokenModule();
    QStringList told;
    Facility<INetFacilities> facility(module, kNetModuleOpen,
                                      [&told](const CarriedCode& m, const QString& why) { told << m.name() + (u": "_qs + why); },
                                      netFacilitiesWith(HttpTimeouts()));
    LazyNet net(facility);
    try {
        net.get(url("/ip.html"));
        QFAIL("no error");
    } catch (const SocketError& e) {
        QVERIFY(!module.error().isEmpty());
        QVERIFY(QString::fromUtf8(e.what()).contains(module.error()));
    }
    QVERIFY(!net.download(url("/ok.bin"), QDir::temp().filePath(u"zelmora-never.new"_qs)));
    QVERIFY(!net.isOnline());
    QVERIFY(m_service->requests().isEmpty());
    // Told once, however often it is asked for.
    QCOMPARE(told, QStringList{u"zelmora-broken-test: "_qs + module.error()});
}

QTEST_GUILESS_MAIN(TestHttpClient)
#include "tst_httpclient.moc"
