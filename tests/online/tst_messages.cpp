// Messages with the maker: the worker's polls, the hand-over to the window,
// and the shutdown that never leaves a worker on freed state. Built a second
// time with ThreadSanitizer (tst_messages_tsan).
#include "../fakes/fakehttp.h"
#include "shell/commatext.h"
#include "shell/log.h"
#include "online/messages.h"

#include <QtTest>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

using namespace zel;

namespace {

// What a worker's log and settings writes went to.
struct Sink {
    std::mutex mutex;
    QStringList log;
    int writes = 0;
};

MessageWorkerContext contextFor(FakeHttpClient& http, std::atomic<std::int32_t>& id, Sink& sink)
{
    MessageWorkerContext c;
    c.http = &http;
    c.host = u"h"_qs;
    c.id = &id;
    c.log = [&sink](const QString& label) {
        std::lock_guard<std::mutex> lock(sink.mutex);
        sink.log << label;
    };
    c.writeParams = [&sink] {
        std::lock_guard<std::mutex> lock(sink.mutex);
        ++sink.writes;
    };
    return c;
}

// The reply of the service: Windows-1251 bytes, read as ISO-8859-1.
QString latin1Of1251(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes);
}

} // namespace

class TestMessages : public QObject {
    Q_OBJECT
private slots:
    void replies_data();
    void replies();
    void createdIds();
    void conversation();
    void workerObtainsAnId_data();
    void workerObtainsAnId();
    void workerFetchesAMessage();
    void failedRequestsAreSwallowed();
    void pollsNeverOverlap();
    void handOverUnderLoad();
    void shutdownWaitsForTheRunningWorker();
    void workerLogsIntoTheActivityLog();
};

void TestMessages::replies_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("isMessage");
    QTest::addColumn<QString>("text");
    QTest::newRow("Ukrainian") << latin1Of1251("zelmora \"\xCF\xF0\xE8\xE2\xB3\xF2, \xF1\xE2\xB3\xF2\",\xAF\xE6\xE0\xEA")
                               << true << u"\"Привіт, світ\",Їжак"_qs;
    QTest::newRow("yo and ghe stay") << latin1Of1251("zelmora \xB8\xB4") << true
                                     << QString(QChar(0xB8)) + QChar(0xB4);
    QTest::newRow("marker only") << u"zelmora "_qs << false << QString();
    QTest::newRow("shorter") << u"zelmora"_qs << false << QString();
    QTest::newRow("other case") << u"Zelmora hello"_qs << false << QString();
    QTest::newRow("upper case") << u"ZELMORA hello"_qs << false << QString();
    QTest::newRow("empty") << QString() << false << QString();
    QTest::newRow("error page") << u"<html>"_qs << false << QString();
}

void TestMessages::replies()
{
    QFETCH(QString, body);
    QFETCH(bool, isMessage);
    QFETCH(QString, text);
    const auto m = messageFromReply(body);
    QCOMPARE(m.has_value(), isMessage);
    if (m)
        QCOMPARE(*m, text);
}

void TestMessages::createdIds()
{
    CreatedId c = createdIdFromReply(u"ID: 12345\r\n"_qs);
    QCOMPARE(c.text, u"12345"_qs);
    QCOMPARE(c.id, std::optional<std::int32_t>(12345));
    c = createdIdFromReply(u"12.5"_qs);
    QCOMPARE(c.text, u"12.5"_qs);
    QVERIFY(!c.id);
    c = createdIdFromReply(u"99999999999"_qs);
    QVERIFY(!c.id);
    c = createdIdFromReply(u"none"_qs);
    QVERIFY(c.text.isEmpty());
    QVERIFY(!c.id);
}

void TestMessages::conversation()
{
    const QString message = u"\"first, with a comma\",\"second line\""_qs;
    QStringList lines = SetCommaText(conversationText({}, u"14.03.2026 9:26:53"_qs, message));
    QCOMPARE(lines, (QStringList{u"Halvane: 14.03.2026 9:26:53"_qs, u"first, with a comma"_qs,
                                 u"second line"_qs}));
    lines = SetCommaText(conversationText(lines, u"15.03.2026"_qs, u"two words"_qs));
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines.mid(3), (QStringList{u" "_qs, u"Halvane: 15.03.2026"_qs, u"two"_qs, u"words"_qs}));
}

void TestMessages::workerObtainsAnId_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("logged");
    QTest::newRow("12345") << u"12345"_qs << 12345 << QString();
    QTest::newRow("12.5") << u"12.5"_qs << 0 << u"Error IntToStr(12.5)"_qs;
    QTest::newRow("empty") << QString() << 0 << QString();
}

void TestMessages::workerObtainsAnId()
{
    QFETCH(QString, answer);
    QFETCH(int, id);
    QFETCH(QString, logged);
    FakeHttpClient http;
    http.answer(u"query=createID"_qs, answer);
    std::atomic<std::int32_t> settingsId{0};
    Sink sink;
    MessageChannel channel;
    std::thread worker([&] { MessageWorker(channel, contextFor(http, settingsId, sink)); });
    worker.join();
    QCOMPARE(http.urls(), QStringList{u"http://h/sp/zm.php?query=createID"_qs});
    QCOMPARE(settingsId.load(), id);
    QStringList expected{u"Send to create ID"_qs};
    if (!logged.isEmpty())
        expected << logged;
    QCOMPARE(sink.log, expected);
    QCOMPARE(sink.writes, 1); // the settings are written in every case
    QVERIFY(!takeMessage(channel));
}

void TestMessages::workerFetchesAMessage()
{
    FakeHttpClient http;
    http.answer(u"query=getmessage&ID=77"_qs, latin1Of1251("zelmora \xCF\xF0\xE8\xE2\xB3\xF2"));
    std::atomic<std::int32_t> id{77};
    Sink sink;
    MessagePoller poller(contextFor(http, id, sink));
    QVERIFY(poller.startWorker());
    poller.shutdown(); // waits for it
    QCOMPARE(http.urls(), QStringList{u"http://h/sp/zm.php?query=getmessage&ID=77"_qs});
    QCOMPARE(sink.log, QStringList{u"Check message from Halvane"_qs});
    QCOMPARE(sink.writes, 0);
    QCOMPARE(poller.take(), std::optional<QString>(u"Привіт"_qs));
    QVERIFY(!poller.take()); // handed over once
    QVERIFY(!poller.startWorker());
}

void TestMessages::failedRequestsAreSwallowed()
{
    FakeHttpClient http; // answers nothing
    std::atomic<std::int32_t> id{5};
    Sink sink;
    MessageChannel channel;
    MessageWorker(channel, contextFor(http, id, sink));
    QVERIFY(!takeMessage(channel));
    id = 0;
    MessageWorker(channel, contextFor(http, id, sink));
    QCOMPARE(id.load(), 0);
    QCOMPARE(sink.log, (QStringList{u"Check message from Halvane"_qs, u"Send to create ID"_qs}));
    QCOMPARE(sink.writes, 1);
}

void TestMessages::pollsNeverOverlap()
{
    FakeHttpClient http;
    http.answer(u"ID=9"_qs, u"zelmora hi"_qs);
    http.closeGate();
    std::atomic<std::int32_t> id{9};
    Sink sink;
    MessagePoller poller(contextFor(http, id, sink));
    for (int i = 0; i < 6; ++i)
        QVERIFY(poller.startWorker());
    // One request at the gate; the other workers wait for the lock, not the net.
    http.waitForWaiting(1);
    QCOMPARE(poller.running(), 6);
    http.openGate();
    poller.shutdown();
    QCOMPARE(http.urls().size(), 6);
    QCOMPARE(http.maxInFlight(), 1);
    QCOMPARE(poller.take(), std::optional<QString>(u"hi"_qs));
}

void TestMessages::handOverUnderLoad()
{
    // Workers deliver messages while the "UI thread" keeps taking them: a
    // taken text is always one that was delivered whole, and the flag and
    // the text never race.
    FakeHttpClient http;
    std::atomic<std::int32_t> id{3};
    Sink sink;
    MessagePoller poller(contextFor(http, id, sink));
    const QString text = u"zelmora message "_qs + QString(200, QLatin1Char('x'));
    http.answer(u"ID=3"_qs, text);
    std::atomic<bool> stop{false};
    int taken = 0;
    std::thread ui([&] {
        while (!stop.load(std::memory_order_relaxed)) {
            if (auto m = poller.take()) {
                QCOMPARE(*m, text.mid(8));
                ++taken;
            }
        }
    });
    http.closeGate();
    for (int i = 0; i < 40; ++i)
        poller.startWorker();
    http.waitForWaiting(1);
    http.openGate();
    poller.shutdown();
    stop = true;
    ui.join();
    if (poller.take())
        ++taken;
    QVERIFY(taken > 0);
}

void TestMessages::shutdownWaitsForTheRunningWorker()
{
    FakeHttpClient http;
    http.answer(u"query=createID"_qs, u"4242"_qs);
    http.closeGate();
    std::atomic<std::int32_t> id{0};
    Sink sink;
    auto poller = std::make_unique<MessagePoller>(contextFor(http, id, sink));
    QVERIFY(poller->startWorker());
    http.waitForWaiting(1);
    // The window goes away while the worker waits on the network: its
    // request fails at once and the poller is freed only after it ended.
    http.shutDown();
    poller.reset();
    QCOMPARE(id.load(), 0);
    QCOMPARE(sink.writes, 1);
}

void TestMessages::workerLogsIntoTheActivityLog()
{
    // The activity log itself, written by several workers and this thread.
    Log log;
    FakeHttpClient http;
    std::atomic<std::int32_t> id{1};
    MessageWorkerContext c;
    c.http = &http;
    c.host = u"h"_qs;
    c.id = &id;
    c.log = [&log](const QString& label) { log.write(label); };
    {
        MessagePoller poller(c);
        for (int i = 0; i < 8; ++i) {
            poller.startWorker();
            log.write(u"UI entry"_qs);
        }
    }
    const QStringList entries = log.entries();
    QCOMPARE(entries.size(), 16);
    QCOMPARE(entries.filter(u"_Check_message_from_Halvane"_qs).size(), 8);
}

QTEST_GUILESS_MAIN(TestMessages)
#include "tst_messages.moc"
