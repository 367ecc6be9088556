// The main window's online services against a service of the test's own on
// 127.0.0.1: the update, the messages and the feedback window, the log
// upload and the error report.
#include "../fakes/windowtest.h"
#include "../fakes/memorystore.h"
#include "../fakes/onlinefakes.h"
#include "../fakes/testservices.h"
#include "../fakes/httpservice.h"
#include "shell/codepage.h"
#include "shell/commatext.h"
#include "shell/log.h"
#include "online/platform/qthttpclient.h"
#include "online/ui/memolines.h"
#include "online/ui/tform10.h"
#include "online/ui/tform8.h"
#include "online/updater.h"
#include "online/webtext.h"
#include "engine/errors.h"
#include "shell/langtable.h"
#include "shell/settings.h"
#include "shell/settingsio.h"
#include "app/application.h"
#include "shell/ui/dialogs.h"
#include "app/tform1.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <thread>

using namespace zel;

namespace {

QString EN(int entry)
{
    return Lang(entry, UiLanguage::English);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What the service reads from a query parameter: percent-decoded bytes in
// Windows-1251.
QString queryValue(const QByteArray& target, const QByteArray& key)
{
    const QByteArray query = target.mid(target.indexOf('?') + 1);
    for (const QByteArray& pair : query.split('&'))
        if (pair.startsWith(key + '='))
            return fromWindows1251(QByteArray::fromPercentEncoding(pair.mid(key.size() + 1)));
    return u"<none>"_qs;
}

} // namespace

class TestOnlineWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void noConnectionMakesNoRequest();
    void createIdStoresTheId_data();
    void createIdStoresTheId();
    void messageInWindows1251IsShownAsLetters();
    void markerInAnotherCaseIsDropped();
    void replyAndMyId();
    void feedbackWindow();
    void feedbackCommandsAndFailure();
    void sendLogShowsTheAddressFirst();
    void logFileIsTheMemo();
    void errorWhileAskingIsLoggedAndSaved();
    void refusedConnectionInButton4Click();
    void notFoundGetsTheFullReport();
    void yesWithNoConnectionTellsSo();
    void updateVersions_data();
    void updateVersions();
    void sectionInAnotherCase();
    void updateFromTheMenuSwapsAndRestarts();
    void silentCheckSwapsAndAsksNothing();
    void dailyCheckOncePerDay();
    void packagedProgramLeavesUpdatesToThePackageManager();
    void excludedAddressLeavesOutStatistics();
    void failedDownloadChangesNothing();
    void programCutShortIsRefused_data();
    void programCutShortIsRefused();
    void failedRenameIsRolledBack();
    void versionThatIsNoNumber();
    void unreachableService();
    void shutdownWithAWorkerOnTheNetwork();

private:
    void start(const QString& language = u"EN"_qs);
    void fromEventLoop(const std::function<void()>& f);
    void tick() { QMetaObject::invokeMethod(m_form.get(), "Timer1Timer"); }
    void poll() { QMetaObject::invokeMethod(m_form.get(), "Timer2Timer"); }
    void announce(const QByteArray& version, const QByteArray& section = "Zelmora");
    template <typename T> T* child(const char* name)
    {
        T* c = m_form->findChild<T*>(QLatin1String(name));
        if (!c)
            qFatal("no control %s", name);
        return c;
    }
    QStringList memo(const char* name) { return displayedLines(child<QPlainTextEdit>(name)); }
    QStringList labels() const;
    QString program() const { return m_dir.filePath(u"zelmora"_qs); }

    QTemporaryDir m_dir;
    MemoryStore m_store;
    std::unique_ptr<TestService> m_service;
    std::unique_ptr<QtHttpClient> m_http;
    FakeConnectivity m_net;
    FakeIdleClock m_idle;
    FakeClock m_clock;
    FakeFiles m_files;
    FakeRestart m_restart;
    ServiceHosts m_hosts;
    int m_beeps = 0;
    bool m_selfUpdate = true;
    std::unique_ptr<TForm1> m_form;
};

void TestOnlineWindow::init()
{
    Dialogs::setScripted(true);
    Dialogs::clear();
    Settings.ID = 0;
    Settings.AutoUpdate = false;
    m_store.values.clear();
    m_service = std::make_unique<TestService>();
    QVERIFY(m_service->start());
    m_http = std::make_unique<QtHttpClient>();
    m_net = FakeConnectivity();
    m_idle.idleMs = 0;
    m_files.failRenameTo.clear();
    m_files.failRenameFrom.clear();
    m_files.failRemove.clear();
    m_restart.started.clear();
    m_hosts.service = m_service->host();
    m_hosts.update = m_service->host();
    m_hosts.excluded = u"10.9.9.9"_qs;
    m_beeps = 0;
    m_selfUpdate = true;
    QFile f(program());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("the old program");
    f.close();
    for (const char* ext : {".old", ".new", ".log"})
        QFile::remove(program() + QLatin1String(ext));
}

void TestOnlineWindow::cleanup()
{
    m_form.reset();
    m_http.reset();
    m_service.reset();
}

void TestOnlineWindow::start(const QString& language)
{
    m_store.values[kLanguageValue] = language;
    AppServices services = testServices(m_store, program());
    services.http = m_http.get();
    services.downloader = m_http.get();
    services.connectivity = &m_net;
    services.idle = &m_idle;
    services.clock = &m_clock;
    services.files = &m_files;
    services.restart = &m_restart;
    services.hosts = m_hosts;
    services.beep = [this] { ++m_beeps; };
    services.selfUpdate = m_selfUpdate;
    m_form = std::make_unique<TForm1>(services);
    // The tests drive both timers themselves.
    child<QTimer>("Timer1")->stop();
    child<QTimer>("Timer2")->stop();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestOnlineWindow::fromEventLoop(const std::function<void()>& f)
{
    bool ran = false;
    QTimer::singleShot(0, m_form.get(), [&] {
        ran = true;
        f();
    });
    QTRY_VERIFY(ran);
}

void TestOnlineWindow::announce(const QByteArray& version, const QByteArray& section)
{
    const QByteArray file = "http://" + m_service->host().toLatin1() + "/files/zelmora.bin";
    m_service->answer("/updates/updates.ini",
                      "[" + section + "]\r\nVersion=" + version + "\r\nFile=" + file + "\r\n");
    m_service->answer("/files/zelmora.bin", TestAnswer{200, wholeProgram(), "application/octet-stream"});
    m_service->answer("/ip.html", "10.0.0.5");
    m_service->answer("/send.php", "");
}

QStringList TestOnlineWindow::labels() const
{
    QStringList out;
    for (const QString& e : m_form->activityLog().entries())
        out << e.section(QLatin1Char('_'), 1);
    return out;
}

void TestOnlineWindow::noConnectionMakesNoRequest()
{
    m_net.online = false;
    start();
    child<QAction>("Update1")->trigger();
    QCOMPARE(Dialogs::shown(), QStringList{EN(83)});
    QCOMPARE(m_form->statusText(0), EN(82));
    poll();
    QCOMPARE(child<QTimer>("Timer2")->interval(), 30000);
    Dialogs::clear();
    QTest::mouseClick(child<QPushButton>("Button4"), Qt::LeftButton);
    QCOMPARE(Dialogs::shown(), QStringList{EN(83)});
    QCOMPARE(labels().mid(labels().size() - 2),
             (QStringList{u"Send_log_to_Halvane"_qs, u"IsConnectedToInternet"_qs}));
    QVERIFY(!m_form->SendMess(u"t"_qs, u"@"_qs, u"m"_qs));
    QTest::qWait(50);
    QVERIFY(m_service->requests().isEmpty());
}

void TestOnlineWindow::createIdStoresTheId_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("id");
    QTest::newRow("12345") << QByteArray("12345") << 12345;
    QTest::newRow("12.5") << QByteArray("12.5") << 0;
}

void TestOnlineWindow::createIdStoresTheId()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, id);
    m_service->answer("/sp/zm.php?query=createID", answer);
    start();
    m_store.values.remove(kIdValue);
    poll();
    // The worker's settings write reaches the store through the UI thread.
    QTRY_VERIFY(m_store.values.contains(kIdValue));
    QCOMPARE(m_store.values.value(kIdValue), QVariant(id));
    QCOMPARE(Settings.ID.load(), id);
    QCOMPARE(m_service->targets(), QList<QByteArray>{"/sp/zm.php?query=createID"});
    if (id == 0)
        QVERIFY(labels().contains(u"Error_IntToStr(12.5)"_qs));
    QVERIFY(labels().contains(u"Send_to_create_ID"_qs));
}

void TestOnlineWindow::messageInWindows1251IsShownAsLetters()
{
    m_store.values[kIdValue] = 77;
    m_service->answer("/sp/zm.php?query=getmessage&ID=77",
                      "zelmora \"\xCF\xF0\xE8\xE2\xB3\xF2, \xF1\xE2\xB3\xF2!\",\xAF\xE6\xE0\xEA");
    start();
    QCOMPARE(Settings.ID.load(), 77);
    auto* tabs = child<QTabWidget>("PageControl1");
    QVERIFY(!tabs->isTabVisible(3));
    poll();
    QTRY_COMPARE((tick(), m_beeps), 1); // handed over at a tick of Timer1
    QCOMPARE(m_service->requests().size(), 1);
    QVERIFY(tabs->isTabVisible(3));
    QCOMPARE(tabs->currentIndex(), 3);
    QCOMPARE(child<QLabel>("Image1")->property("picture").toString(), u"message"_qs);
    const QString stamp = u"Halvane: "_qs + dateTimeText(m_clock.at);
    QCOMPARE(memo("Memo4"), (QStringList{stamp, u"Привіт, світ!"_qs, u"Їжак"_qs}));
    // A second message: a line holding one space, then the new one.
    poll();
    QTRY_COMPARE((tick(), m_beeps), 2);
    QCOMPARE(memo("Memo4").mid(3), (QStringList{u" "_qs, stamp, u"Привіт, світ!"_qs, u"Їжак"_qs}));
    // With the Messages tab visible the service is polled every 4 seconds.
    QCOMPARE(child<QTimer>("Timer2")->interval(), 4000);
}

void TestOnlineWindow::markerInAnotherCaseIsDropped()
{
    m_store.values[kIdValue] = 5;
    m_service->answer("/sp/zm.php?query=getmessage&ID=5", "Zelmora hello");
    start();
    poll();
    QTRY_COMPARE(m_service->requests().size(), 1);
    QTest::qWait(50);
    tick();
    QCOMPARE(m_beeps, 0);
    QVERIFY(!child<QTabWidget>("PageControl1")->isTabVisible(3));
}

void TestOnlineWindow::replyAndMyId()
{
    m_store.values[kIdValue] = 77;
    m_service->answer("/sp/zm.php?query=getmessage&ID=77", "zelmora \"Hello there\"");
    m_service->answer("/sp/zm.php", "");
    start();
    poll();
    QTRY_VERIFY(m_service->requests().size() == 1);
    QTRY_COMPARE((tick(), m_beeps), 1);
    auto* reply = child<QLineEdit>("Edit11");
    reply->setText(u"/myid"_qs);
    QTest::mouseClick(child<QPushButton>("Button5"), Qt::LeftButton);
    QCOMPARE(memo("Memo4").last(), u"YOU ID = 77"_qs);
    QVERIFY(reply->text().isEmpty());
    QCOMPARE(m_service->requests().size(), 1); // nothing sent

    reply->setText(u"It's #1 & more + Тест"_qs);
    QTest::mouseClick(child<QPushButton>("Button5"), Qt::LeftButton);
    const QStringList lines = memo("Memo4");
    QCOMPARE(lines.mid(lines.size() - 3),
             (QStringList{u" "_qs, u"User: "_qs + dateTimeText(m_clock.at), u"It's #1 & more + Тест"_qs}));
    QCOMPARE(m_service->requests().size(), 2);
    const QByteArray target = m_service->requests().last().target;
    QVERIFY(target.startsWith("/sp/zm.php?query=sendmessage&ID=77&theme=&email=@&message="));
    // The service receives the whole conversation, the apostrophe as a grave accent.
    QCOMPARE(queryValue(target, "message"), ClearString(CommaText(lines)));
    QCOMPARE(queryValue(target, "theme"), QString());
    QCOMPARE(queryValue(target, "email"), u"@"_qs);
    QVERIFY(labels().contains(u"Send_message_to_Halvane"_qs));

    // A conversation grown too long for one address goes with its newest
    // lines that fit (a reply holds 512 characters at most), and the user
    // is told.
    Dialogs::clear();
    const QString longReply(512, QChar(0x0416));
    for (int i = 0; i < 6; ++i) {
        reply->setText(longReply);
        QTest::mouseClick(child<QPushButton>("Button5"), Qt::LeftButton);
    }
    QCOMPARE(m_service->requests().size(), 8);
    const QByteArray longTarget = m_service->requests().last().target;
    QVERIFY2(longTarget.size() <= 8000 && longTarget.size() > 6000, QByteArray::number(longTarget.size()));
    QVERIFY(SetCommaText(queryValue(longTarget, "message")).join(QString()).endsWith(longReply));
    QVERIFY(!Dialogs::shown().isEmpty());
    QVERIFY2(Dialogs::shown().last().startsWith(u"The conversation is too long for one message"_qs),
             qPrintable(Dialogs::shown().last()));
    QVERIFY(memo("Memo4").join(QString()).endsWith(longReply));
    // Not sent: the reply stays typed and the conversation as it was.
    m_net.online = false;
    const QStringList before = memo("Memo4");
    reply->setText(u"Again"_qs);
    QTest::mouseClick(child<QPushButton>("Button5"), Qt::LeftButton);
    QCOMPARE(Dialogs::shown().last(), u"The reply was not sent; its text is left in the field."_qs);
    QCOMPARE(reply->text(), u"Again"_qs);
    QCOMPARE(memo("Memo4"), before);
}

void TestOnlineWindow::feedbackWindow()
{
    m_service->answer("/sp/zm.php", "");
    start();
    TForm10 feedback(m_form.get(), m_form->online());
    feedback.show();
    QCOMPARE(feedback.windowTitle(), EN(98));
    auto* memo1 = feedback.findChild<QPlainTextEdit*>(u"Memo1"_qs);
    auto* send = feedback.findChild<QPushButton*>(u"Button1"_qs);
    auto* left = feedback.findChild<QLabel*>(u"Label5"_qs);
    auto* email = feedback.findChild<QLineEdit*>(u"Edit2"_qs);
    QCOMPARE(left->text(), u"700"_qs);
    QVERIFY(!send->isEnabled());
    QTest::keyClicks(email, u"a b@c"_qs);
    QCOMPARE(email->text(), u"ab@c"_qs); // no spaces typed
    email->clear();
    memo1->setPlainText(u"Добрий день, it's me\n#2"_qs);
    QVERIFY(send->isEnabled());
    QCOMPARE(left->text(), QString::number(700 - 24)); // the line break counts two
    memo1->setPlainText(QString(800, QLatin1Char('x')));
    QCOMPARE(memo1->toPlainText().size(), 700);
    QCOMPARE(left->text(), u"0"_qs);
    memo1->clear();
    QVERIFY(!send->isEnabled());
    QCOMPARE(left->text(), u"700"_qs);
    memo1->setPlainText(u"Добрий день, it's me\n#2"_qs);

    QTest::mouseClick(send, Qt::LeftButton);
    QCOMPARE(m_service->requests().size(), 1);
    const QByteArray target = m_service->requests().value(0).target;
    // Sent before the service issued an ID: ID 0; no subject, no address.
    QVERIFY(target.startsWith("/sp/zm.php?query=sendmessage&ID=0&theme=(no%20theme)&email=@&message="));
    QCOMPARE(queryValue(target, "message"), CommaText({u"Добрий день, it`s me"_qs, u"#2"_qs}));
    QVERIFY(memo1->toPlainText().isEmpty()); // sent: the memo is cleared, the window stays
    QVERIFY(feedback.isVisible());
    QVERIFY(Dialogs::shown().isEmpty());
}

void TestOnlineWindow::feedbackCommandsAndFailure()
{
    m_hosts.service = refusingHost();
    start();
    auto* tabs = child<QTabWidget>("PageControl1");
    {
        TForm10 feedback(m_form.get(), m_form->online());
        feedback.show();
        feedback.findChild<QPlainTextEdit*>(u"Memo1"_qs)->setPlainText(u"/showMessages"_qs);
        QTest::mouseClick(feedback.findChild<QPushButton*>(u"Button1"_qs), Qt::LeftButton);
        QVERIFY(!feedback.isVisible());
        QVERIFY(tabs->isTabVisible(3));
        QCOMPARE(tabs->currentIndex(), 3);
        QCOMPARE(child<QLabel>("Image1")->property("picture").toString(), u"message"_qs);
        // The command was sent like any text, and the send failed.
        QCOMPARE(Dialogs::shown(), QStringList{u"error"_qs});
    }
    {
        Dialogs::clear();
        TForm10 feedback(m_form.get(), m_form->online());
        feedback.show();
        feedback.findChild<QPlainTextEdit*>(u"Memo1"_qs)->setPlainText(u"/SHOWLOGO"_qs);
        QTest::mouseClick(feedback.findChild<QPushButton*>(u"Button1"_qs), Qt::LeftButton);
        QVERIFY(tabs->isTabVisible(2));
        QCOMPARE(tabs->currentIndex(), 2);
        QCOMPARE(child<QLabel>("Image1")->property("picture").toString(), u"error"_qs);
    }
    {
        // A failed send keeps the text, apostrophes turned into grave accents.
        Dialogs::clear();
        TForm10 feedback(m_form.get(), m_form->online());
        feedback.show();
        auto* memo1 = feedback.findChild<QPlainTextEdit*>(u"Memo1"_qs);
        memo1->setPlainText(u"don't"_qs);
        QTest::mouseClick(feedback.findChild<QPushButton*>(u"Button1"_qs), Qt::LeftButton);
        QCOMPARE(memo1->toPlainText(), u"don`t"_qs);
        QCOMPARE(Dialogs::shown(), QStringList{u"error"_qs});
        QVERIFY(feedback.isVisible());
    }
}

void TestOnlineWindow::sendLogShowsTheAddressFirst()
{
    m_service->answer("/sp/sendlog.php", "Thank you");
    start();
    m_form->Log(u"odd # & + % entry"_qs);
    QTest::mouseClick(child<QPushButton>("Button4"), Qt::LeftButton);
    const QStringList shown = Dialogs::shown();
    QCOMPARE(shown.size(), 2);
    const QStringList log = memo("Memo3");
    QCOMPARE(log.mid(log.size() - 3).join(u','), u"%1,%2,%3"_qs.arg(log[log.size() - 3], log[log.size() - 2], log.last()));
    QVERIFY(log[log.size() - 3].endsWith(u"_Send_log_to_Halvane"_qs));
    QVERIFY(log[log.size() - 2].endsWith(u"_IsConnectedToInternet"_qs));
    QVERIFY(log.last().endsWith(u"_Ok"_qs));
    QVERIFY(shown[0].startsWith(u"http://"_qs + m_hosts.service + u"/sp/sendlog.php?text="_qs));
    QCOMPARE(shown[1], u"Thank you"_qs);
    // Every entry arrives whole and in order, the odd characters included.
    const QByteArray target = m_service->requests().value(0).target;
    QCOMPARE(queryValue(target, "text"), CommaText(log));
    QVERIFY(CommaText(log).contains(u"odd_#_&_+_%_entry"_qs));
}

void TestOnlineWindow::logFileIsTheMemo()
{
    start();
    // The user brings the Log tab forward and edits what it shows.
    auto* tabs = child<QTabWidget>("PageControl1");
    tabs->setTabVisible(2, true);
    tabs->setCurrentIndex(2);
    auto* memo = child<QPlainTextEdit>("Memo3");
    QVERIFY(memo->toPlainText().endsWith(u"_Change_mode"_qs));
    memo->setPlainText(memo->toPlainText() + u"\nedited by hand"_qs);
    // Entries of a worker, not yet shown when the report saves the log.
    std::thread worker([log = &m_form->activityLog()] {
        for (int i = 0; i < 50; ++i)
            log->write(u"worker %1"_qs.arg(i));
    });
    worker.join();
    fromEventLoop([] { throw ConvertError(u"bad"_qs); });
    const QStringList lines = memo->toPlainText().split(u'\n');
    QCOMPARE(readFile(program() + u".log"_qs), toWindows1251(lines.join(u"\r\n"_qs) + u"\r\n"_qs));
    const qsizetype edit = lines.indexOf(u"edited by hand"_qs);
    QVERIFY(edit > 0);
    for (int i = 0; i < 50; ++i)
        QVERIFY(lines.value(edit + 1 + i).endsWith(u"_worker_%1"_qs.arg(i)));
    QVERIFY(lines.last().contains(u"_exception_"_qs));
}

void TestOnlineWindow::errorWhileAskingIsLoggedAndSaved()
{
    start();
    int asked = 0;
    // A timer's error while the report's question is open.
    Dialogs::whileAsking([&asked] {
        if (++asked == 1) {
            QTimer::singleShot(0, [] { throw ConvertError(u"second"_qs); });
            QCoreApplication::processEvents();
        }
    });
    fromEventLoop([] { throw ConvertError(u"first"_qs); });
    QCOMPARE(asked, 1);
    QCOMPARE(Dialogs::shown().size(), 2);
    QCOMPARE(Dialogs::shown().value(1), u"second"_qs);
    const QStringList errors = m_form->activityLog().entries().filter(u"_exception_"_qs);
    QCOMPARE(errors.size(), 2);
    QVERIFY(errors[0].contains(u"__first____"_qs));
    QVERIFY(errors[1].contains(u"__second____"_qs));
    QVERIFY(readFile(program() + u".log"_qs).endsWith(toWindows1251(errors[1]) + "\r\n"));
}

void TestOnlineWindow::refusedConnectionInButton4Click()
{
    m_hosts.service = refusingHost();
    start();
    QTest::mouseClick(child<QPushButton>("Button4"), Qt::LeftButton);
    const QStringList shown = Dialogs::shown();
    QCOMPARE(shown.size(), 2); // the address, then the warning
    const QString socket = u"Socket Error # "_qs + QString::number(ECONNREFUSED) + u"\r\n"_qs;
    QVERIFY(shown[1].startsWith(socket));
    QVERIFY(shown[1].endsWith(u"\r"_qs + EN(105)));
    // Logged and saved; the Log tab is not brought forward by this report.
    QVERIFY(!child<QTabWidget>("PageControl1")->isTabVisible(2));
    QCOMPARE(child<QTabWidget>("PageControl1")->currentIndex(), 0);
    const QString last = m_form->activityLog().entries().last();
    QVERIFY(last.contains(u"_exception_QPushButton__Socket_Error_#_"_qs));
    QVERIFY(last.endsWith(u"____zel::SocketError_online/httpaccess.h"_qs));
    const QByteArray file = readFile(program() + u".log"_qs);
    QVERIFY(file.endsWith(toWindows1251(last) + "\r\n"));
}

void TestOnlineWindow::notFoundGetsTheFullReport()
{
    start();
    Dialogs::queueAnswer(Dialogs::No);
    QTest::mouseClick(child<QPushButton>("Button4"), Qt::LeftButton);
    const QStringList shown = Dialogs::shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1], u"HTTP/1.1 404 Not Found\rSaved to file: "_qs + program() + u".log\rSend to Halvane ? "_qs);
    auto* tabs = child<QTabWidget>("PageControl1");
    QVERIFY(tabs->isTabVisible(2));
    QCOMPARE(tabs->currentIndex(), 2);
    QCOMPARE(child<QLabel>("Image1")->property("picture").toString(), u"error"_qs);
    const QString last = m_form->activityLog().entries().last();
    QVERIFY(last.contains(u"_exception_QPushButton__HTTP/1.1_404_Not_Found____zel::HttpError_online/httpaccess.h"_qs));
    QVERIFY(readFile(program() + u".log"_qs).endsWith(toWindows1251(last) + "\r\n"));
    QCOMPARE(m_service->requests().size(), 1);
}

void TestOnlineWindow::yesWithNoConnectionTellsSo()
{
    start();
    m_net.online = false;
    Dialogs::queueAnswer(Dialogs::Yes);
    fromEventLoop([] { throw ConvertError(QString()); });
    // An empty message: the question starts with the carriage return.
    QCOMPARE(Dialogs::shown().value(0), u"\rSaved to file: "_qs + program() + u".log\rSend to Halvane ? "_qs);
    QCOMPARE(Dialogs::shown().value(1), EN(83));
    QVERIFY(m_form->activityLog().entries().filter(u"_exception_"_qs).size() == 1);

    // Yes with a connection sends the log; a failing send is only shown.
    m_net.online = true;
    Dialogs::clear();
    Dialogs::queueAnswer(Dialogs::Yes);
    fromEventLoop([] { throw ConvertError(u"\"x\" is not a valid integer value"_qs); });
    const QStringList shown = Dialogs::shown();
    QCOMPARE(shown.size(), 3); // the question, the address, the failure
    QVERIFY(shown[1].contains(u"/sp/sendlog.php?text="_qs));
    QCOMPARE(shown[2], u"HTTP/1.1 404 Not Found"_qs);
    QVERIFY(m_form->isVisible());
}

void TestOnlineWindow::updateVersions_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<bool>("found");
    QTest::newRow("105") << QByteArray("105") << false;
    QTest::newRow("106") << QByteArray("106") << true;
    QTest::newRow("0105") << QByteArray("0105") << false;
}

void TestOnlineWindow::updateVersions()
{
    QFETCH(QByteArray, version);
    QFETCH(bool, found);
    announce(version);
    start();
    Dialogs::queueAnswer(Dialogs::No);
    child<QAction>("Update1")->trigger();
    const QString file = u"http://"_qs + m_service->host() + u"/files/zelmora.bin"_qs;
    if (found) {
        QCOMPARE(Dialogs::shown(), QStringList{EN(84) + u" 106 "_qs + file + u" "_qs + EN(85)});
        QCOMPARE(m_form->statusText(0), QString());
    } else {
        QCOMPARE(Dialogs::shown(), QStringList{EN(103)});
        QCOMPARE(m_form->statusText(0), EN(103));
    }
    QCOMPARE(m_service->targets(),
             (QList<QByteArray>{"/ip.html", "/send.php?file=check.log", "/updates/updates.ini"}));
    QCOMPARE(readFile(program()), QByteArray("the old program"));
    const QStringList l = labels();
    QVERIFY(l.indexOf(u"UpDate"_qs) < l.indexOf(u"CheckUpdate"_qs));
    QCOMPARE(l.first(), u"Create_form"_qs);
    // Every progress window has closed, at its next tick.
    QTRY_VERIFY([this] {
        for (TForm8* p : m_form->findChildren<TForm8*>())
            if (p->isVisible())
                return false;
        return !m_form->findChildren<TForm8*>().isEmpty();
    }());
    QCOMPARE(m_form->findChildren<TForm8*>().first()->windowTitle(), EN(79));
}

void TestOnlineWindow::sectionInAnotherCase()
{
    announce("106", "zELMORA");
    start();
    child<QAction>("Update1")->trigger();
    QVERIFY(Dialogs::shown().value(0).startsWith(EN(84) + u" 106 "_qs));
}

void TestOnlineWindow::updateFromTheMenuSwapsAndRestarts()
{
    announce("106");
    start();
    Dialogs::queueAnswer(Dialogs::Yes); // download
    Dialogs::queueAnswer(Dialogs::Yes); // restart
    child<QAction>("Update1")->trigger();
    QCOMPARE(Dialogs::shown().size(), 2);
    QCOMPARE(Dialogs::shown().value(1), EN(88));
    QCOMPARE(m_form->statusText(0), EN(87));
    QCOMPARE(readFile(program()), wholeProgram());
    QVERIFY(QFile::permissions(program()) & QFile::ExeOwner);
    QCOMPARE(readFile(program() + u".old"_qs), QByteArray("the old program"));
    QVERIFY(!QFile::exists(program() + u".new"_qs));
    QCOMPARE(m_service->targets(),
             (QList<QByteArray>{"/ip.html", "/send.php?file=check.log", "/updates/updates.ini",
                                "/ip.html", "/send.php?file=down.log", "/updates/updates.ini",
                                "/files/zelmora.bin"}));
    // Restarted: the window closed in the ordinary way (lists and settings
    // saved), and the new program starts after this one.
    QCOMPARE(m_restart.started, QStringList{program()});
    QVERIFY(labels().contains(u"Restart_File"_qs));
    QVERIFY(labels().contains(u"Form_close"_qs));
    QVERIFY(!m_form->isVisible());
    QVERIFY(m_store.values.contains(kRoundListValue));
}

void TestOnlineWindow::silentCheckSwapsAndAsksNothing()
{
    announce("106");
    m_store.values[kAutoUpdateValue] = 1;
    start();
    m_idle.idleMs = 30999;
    tick();
    QVERIFY(Dialogs::shown().isEmpty());
    QCOMPARE(m_form->statusText(0), EN(87));
    QCOMPARE(readFile(program()), wholeProgram());
    QCOMPARE(readFile(program() + u".old"_qs), QByteArray("the old program"));
    QVERIFY(m_restart.started.isEmpty());
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_store.values.value(kDateCheckValue), QVariant(shortDateText(m_clock.at.date())));
    const QStringList l = labels();
    QCOMPARE(l.count(u"auto_checkupdate"_qs), 1);
    QVERIFY(l.indexOf(u"auto_checkupdate"_qs) < l.indexOf(u"UpDate"_qs));
}

void TestOnlineWindow::dailyCheckOncePerDay()
{
    announce("106");
    m_store.values[kAutoUpdateValue] = 0;
    start();
    // Only the tick at exactly 30 idle seconds looks.
    for (const qint64 ms : {29999, 31000, 0}) {
        m_idle.idleMs = ms;
        tick();
    }
    QVERIFY(!labels().contains(u"auto_checkupdate"_qs));
    // Automatic update off: logged, nothing else.
    m_idle.idleMs = 30000;
    tick();
    QCOMPARE(labels().last(), u"auto_checkupdate"_qs);
    QVERIFY(!m_store.values.contains(kDateCheckValue));
    // On, but today is stored already.
    applySettings(*m_form, [](SettingsRecord& s) { s.AutoUpdate = true; });
    m_store.values[kDateCheckValue] = shortDateText(m_clock.at.date());
    tick();
    QCOMPARE(labels().last(), u"auto_checkupdate"_qs);
    // While the panel moves there is no check.
    m_store.values.remove(kDateCheckValue);
    QMetaObject::invokeMethod(m_form.get(), "Image2Click");
    tick();
    QVERIFY(m_service->requests().isEmpty());
    QCOMPARE(labels().count(u"auto_checkupdate"_qs), 2);
}

// A packaged program: the menu's item tells where updates come from, and
// neither it nor a still machine's daily check asks the service anything.
void TestOnlineWindow::packagedProgramLeavesUpdatesToThePackageManager()
{
    announce("106");
    m_store.values[kAutoUpdateValue] = 1;
    m_selfUpdate = false;
    start();
    child<QAction>("Update1")->trigger();
    QCOMPARE(Dialogs::shown(), QStringList{EN(350)});
    m_idle.idleMs = 30000;
    tick();
    QCOMPARE(Dialogs::shown(), QStringList{EN(350)});
    QVERIFY(m_service->requests().isEmpty());
    QVERIFY(!m_store.values.contains(kDateCheckValue));
    QVERIFY(!QFile::exists(program() + u".new"_qs));
}

void TestOnlineWindow::excludedAddressLeavesOutStatistics()
{
    announce("106");
    m_service->answer("/ip.html", m_hosts.excluded.toLatin1());
    m_store.values[kAutoUpdateValue] = 1;
    start();
    m_idle.idleMs = 30000;
    tick();
    QCOMPARE(m_form->statusText(0), EN(87));
    QCOMPARE(m_service->targets(),
             (QList<QByteArray>{"/ip.html", "/updates/updates.ini", "/ip.html", "/updates/updates.ini",
                                "/files/zelmora.bin"}));
}

void TestOnlineWindow::failedDownloadChangesNothing()
{
    announce("106");
    m_service->answer("/files/zelmora.bin", TestAnswer{200, wholeProgram(), "", {}, TestAnswer::Truncated});
    m_store.values[kAutoUpdateValue] = 1;
    start();
    m_idle.idleMs = 30000;
    tick();
    QVERIFY(Dialogs::shown().isEmpty());
    QCOMPARE(m_form->statusText(0), EN(82));
    QCOMPARE(readFile(program()), QByteArray("the old program"));
    QVERIFY(!QFile::exists(program() + u".new"_qs));
    QVERIFY(!QFile::exists(program() + u".old"_qs));
}

void TestOnlineWindow::programCutShortIsRefused_data()
{
    const QByteArray whole = wholeProgram();
    QVERIFY(whole.size() > 1000);
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("a tenth") << whole.left(whole.size() / 10);
    QTest::newRow("a half") << whole.left(whole.size() / 2);
    QTest::newRow("a byte short") << whole.chopped(1);
    QTest::newRow("an error page") << QByteArray("<html>Moved</html>");
}

void TestOnlineWindow::programCutShortIsRefused()
{
    // No Content-Length: the closed connection looks like the end of the file.
    QFETCH(QByteArray, body);
    announce("106");
    m_service->answer("/files/zelmora.bin", TestAnswer{200, body, "", {}, TestAnswer::Unsized});
    start();
    Dialogs::queueAnswer(Dialogs::Yes);
    child<QAction>("Update1")->trigger();
    QCOMPARE(Dialogs::shown().size(), 1);
    QCOMPARE(m_form->statusText(0), EN(82));
    QCOMPARE(readFile(program()), QByteArray("the old program"));
    QVERIFY(!QFile::exists(program() + u".old"_qs));
    QCOMPARE(readFile(program() + u".new"_qs), body); // for the next start's clean-up
}

void TestOnlineWindow::failedRenameIsRolledBack()
{
    announce("106");
    start();
    m_files.failRenameFrom << program() + u".new"_qs;
    Dialogs::queueAnswer(Dialogs::Yes);
    child<QAction>("Update1")->trigger();
    const QStringList shown = Dialogs::shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1], EN(113).arg(program() + u".new"_qs, program()));
    QVERIFY(m_form->statusText(0) != EN(87));
    QCOMPARE(readFile(program()), QByteArray("the old program"));
    QVERIFY(!QFile::exists(program() + u".old"_qs));
    QCOMPARE(readFile(program() + u".new"_qs), wholeProgram()); // for the next start's clean-up
    QVERIFY(m_restart.started.isEmpty());
}

void TestOnlineWindow::versionThatIsNoNumber()
{
    announce("1.06");
    start();
    fromEventLoop([this] { child<QAction>("Update1")->trigger(); });
    QCOMPARE(ProgressText, u"exit"_qs);
    auto* tabs = child<QTabWidget>("PageControl1");
    QCOMPARE(tabs->currentIndex(), 2);
    QCOMPARE(child<QLabel>("Image1")->property("picture").toString(), u"error"_qs);
    const QString last = m_form->activityLog().entries().last();
    QVERIFY(last.contains(u"__\"1.06\"_is_not_a_valid_integer_value____zel::ConvertError_engine/errors.h"_qs));
    QVERIFY(readFile(program() + u".log"_qs).endsWith(toWindows1251(last) + "\r\n"));
    QCOMPARE(Dialogs::shown().last(), u"\"1.06\" is not a valid integer value\rSaved to file: "_qs
                                          + program() + u".log\rSend to Halvane ? "_qs);
    QTRY_VERIFY([this] {
        for (TForm8* p : m_form->findChildren<TForm8*>())
            if (p->isVisible())
                return false;
        return true;
    }());
}

void TestOnlineWindow::unreachableService()
{
    m_hosts.service = refusingHost();
    start();
    child<QAction>("Update1")->trigger();
    QCOMPARE(Dialogs::shown(), (QStringList{u"IP error"_qs, u"check error"_qs, EN(103)}));
    Dialogs::clear();
    m_store.values[kAutoUpdateValue] = 1;
    applySettings(*m_form, [](SettingsRecord& s) { s.AutoUpdate = true; });
    m_idle.idleMs = 30000;
    tick();
    QCOMPARE(Dialogs::shown(), (QStringList{u"IP error"_qs, u"check error"_qs}));
    QCOMPARE(m_form->statusText(0), EN(82));
}

void TestOnlineWindow::shutdownWithAWorkerOnTheNetwork()
{
    m_store.values[kIdValue] = 3;
    m_service->answer("/sp/zm.php", TestAnswer{200, "", "", {}, TestAnswer::Silent});
    start();
    poll();
    QTRY_COMPARE(m_service->requests().size(), 1);
    // The window goes while the worker waits on a silent service: it does
    // not wait for the service, and frees nothing under the worker.
    m_form.reset();
    QVERIFY(!m_form);
}

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TestOnlineWindow t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_online_window.moc"
