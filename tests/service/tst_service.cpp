// The service's answers to the program's requests, built with the program's
// own address builders and read back with its own decoders, and the admin
// commands (post, inbox, logs, stats, keygen, publish) on SQLite in a
// temporary folder.
#include "shell/codepage.h"
#include "shell/commatext.h"
#include "online/messages.h"
#include "online/servicehost.h"
#include "online/updater.h"
#include "online/updatesignature.h"
#include "online/webtext.h"
#include "service/admin.h"
#include "service/requests.h"
#include "service/servicestore.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace zel;
using namespace zel::service;

namespace {

const QString kHost = u"127.0.0.1:8080"_qs;

// The path and query of one of the program's addresses.
QByteArray targetOf(const QString& url)
{
    return url.mid(QStringLiteral("http://").size() + kHost.size()).toLatin1();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What the answer sends: its body, or its file.
QByteArray content(const ServiceAnswer& a)
{
    return a.file ? a.file->readAll() : a.body;
}

struct CommandResult {
    int status;
    QString out;
    QString err;
};

} // namespace

class TestService : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void statuses_data();
    void statuses();
    void createdIdReadsAsTheProgramReadsIt();
    void messageArrivesAsTheProgramDecodesIt();
    void replyAndFeedbackReachTheInbox();
    void logUploadKeepsEveryEntry();
    void addressAndStatistics();
    void hourlyAllowances();
    void updateFiles();
    void usageErrors_data();
    void usageErrors();
    void helpEverywhere();
    void postInboxLogsStats();
    void keygenWritesAPrivateKey();
    void publishSignsWhatTheProgramVerifies();

private:
    ServiceAnswer get(const QByteArray& target, const QByteArray& method = "GET")
    {
        return m_handler->answer({method, target, u"192.0.2.7"_qs});
    }
    CommandResult command(QStringList args, bool withDb = true)
    {
        if (withDb)
            args << u"--db"_qs << m_dbFile;
        QString out, err;
        QTextStream o(&out), e(&err);
        const int status = runCommand(args, o, e, [](ServiceStore&, const ServeOptions&, QTextStream&) { return 0; });
        o.flush();
        e.flush();
        return {status, out, err};
    }

    QTemporaryDir m_dir;
    QString m_dbFile;
    QString m_files;
    std::unique_ptr<ServiceStore> m_store;
    std::unique_ptr<RequestHandler> m_handler;
    int m_round = 0;
};

void TestService::init()
{
    ++m_round;
    m_dbFile = m_dir.filePath(QStringLiteral("s%1.db").arg(m_round));
    m_files = m_dir.filePath(QStringLiteral("files%1").arg(m_round));
    QDir().mkpath(m_files);
    m_store = std::make_unique<ServiceStore>(StoreLocation{m_dbFile, {}});
    m_handler = std::make_unique<RequestHandler>(*m_store, m_files);
}

void TestService::cleanup()
{
    m_handler.reset();
    m_store.reset();
}

void TestService::statuses_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<int>("status");
    QTest::newRow("unknown path") << QByteArray("GET") << QByteArray("/index.php") << 404;
    QTest::newRow("post to a known path") << QByteArray("POST") << QByteArray("/sp/zm.php?query=createID") << 404;
    // A HEAD changes nothing: where its GET would, it is refused.
    QTest::newRow("HEAD of a new ID") << QByteArray("HEAD") << QByteArray("/sp/zm.php?query=createID") << 405;
    QTest::newRow("HEAD of a reply") << QByteArray("HEAD") << QByteArray("/sp/zm.php?query=sendmessage&ID=1&message=x") << 405;
    QTest::newRow("HEAD of a log") << QByteArray("HEAD") << QByteArray("/sp/sendlog.php?text=x") << 405;
    QTest::newRow("HEAD of a count") << QByteArray("HEAD") << QByteArray("/send.php?file=check.log") << 405;
    QTest::newRow("unknown query") << QByteArray("GET") << QByteArray("/sp/zm.php?query=dropall") << 400;
    QTest::newRow("ID no number") << QByteArray("GET") << QByteArray("/sp/zm.php?query=getmessage&ID=1%20OR%201=1") << 400;
    QTest::newRow("ID too large") << QByteArray("GET") << QByteArray("/sp/zm.php?query=getmessage&ID=2147483648") << 400;
    QTest::newRow("other statistics file") << QByteArray("GET") << QByteArray("/send.php?file=../../etc/passwd") << 400;
    QTest::newRow("out of the folder") << QByteArray("GET") << QByteArray("/updates/../s1.db") << 404;
    QTest::newRow("escaped way out") << QByteArray("GET") << QByteArray("/updates/..%2Fs1.db") << 404;
    QTest::newRow("hidden file") << QByteArray("GET") << QByteArray("/updates/.secret") << 404;
    // Links are never followed: to a file, to a folder, as updates.ini.
    QTest::newRow("link to a file") << QByteArray("GET") << QByteArray("/updates/passwd") << 404;
    QTest::newRow("link to a folder") << QByteArray("GET") << QByteArray("/updates/etc") << 404;
    QTest::newRow("linked updates.ini") << QByteArray("GET") << QByteArray("/updates/updates.ini") << 404;
}

void TestService::statuses()
{
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, target);
    QFETCH(int, status);
    const QDir files(m_files);
    QFile hidden(files.filePath(QStringLiteral(".secret")));
    QVERIFY(hidden.open(QIODevice::WriteOnly));
    hidden.write("x");
    hidden.close();
    QVERIFY(QFile::link(QStringLiteral("/etc/passwd"), files.filePath(QStringLiteral("passwd"))));
    QVERIFY(QFile::link(QStringLiteral("/etc"), files.filePath(QStringLiteral("etc"))));
    QVERIFY(QFile::link(hidden.fileName(), files.filePath(QStringLiteral("updates.ini"))));
    QCOMPARE(get(target, method).status, status);
}

void TestService::createdIdReadsAsTheProgramReadsIt()
{
    const ServiceAnswer a = get(targetOf(createIdUrl(kHost)));
    QCOMPARE(a.status, 200);
    const CreatedId created = createdIdFromReply(QString::fromLatin1(a.body));
    QVERIFY(created.id && *created.id > 0);
    QCOMPARE(created.text, QString::fromLatin1(a.body));
    QVERIFY(m_store->idIssued(*created.id));
}

void TestService::messageArrivesAsTheProgramDecodesIt()
{
    const std::int32_t id = m_store->createId(QDateTime::currentDateTimeUtc());
    // Ukrainian and Russian letters, a comma, quotes and a blank line.
    const QString text = u"Привіт, Їжак! Ёлка \"є\"\n\nДругий рядок"_qs;
    m_store->queueMessage(id, text, QDateTime::currentDateTimeUtc());
    const ServiceAnswer a = get(targetOf(getMessageUrl(kHost, id)));
    QCOMPARE(a.status, 200);
    QVERIFY(!a.contentType.contains("charset"));
    const std::optional<QString> message = messageFromReply(QString::fromLatin1(a.body));
    QVERIFY(message);
    // The program shows ё as the character it cannot decode, as always.
    QCOMPARE(SetCommaText(*message),
             (QStringList{u"Привіт, Їжак! \u00A8лка \"є\""_qs, QString(), u"Другий рядок"_qs}));
    // Queued until the whole answer to a GET has gone out; a HEAD never
    // delivers it.
    QVERIFY(!get(targetOf(getMessageUrl(kHost, id)), "HEAD").delivered);
    QCOMPARE(get(targetOf(getMessageUrl(kHost, id))).body, a.body);
    QVERIFY(a.delivered);
    a.delivered();
    const ServiceAnswer again = get(targetOf(getMessageUrl(kHost, id)));
    QCOMPARE(again.status, 200);
    QVERIFY(again.body.isEmpty());
    QVERIFY(!again.delivered);
}

void TestService::replyAndFeedbackReachTheInbox()
{
    // As SendMess sends them: each text through W1251toUTF8, the message
    // also through ClearString, the address escaped where needed.
    const QStringList conversation = {u"Halvane: 09.12.2026 10:00:00"_qs, u"Привіт"_qs, u" "_qs,
                                      u"User: 09.12.2026 10:01:00"_qs, u"it's 100% & more + #1 ґ"_qs};
    const QString url = sendMessageUrl(kHost, 42, W1251toUTF8(u"(без теми)"_qs), W1251toUTF8(u"@"_qs),
                                       ClearString(W1251toUTF8(CommaText(conversation))));
    QCOMPARE(get(targetOf(url)).status, 200);
    const QList<Feedback> inbox = m_store->inbox();
    QCOMPARE(inbox.size(), 1);
    QCOMPARE(inbox[0].id, 42);
    QCOMPARE(inbox[0].theme, u"(без теми)"_qs);
    QCOMPARE(inbox[0].email, u"@"_qs);
    QCOMPARE(inbox[0].remote, u"192.0.2.7"_qs);
    QStringList expected = conversation;
    expected.last() = u"it`s 100% & more + #1 ґ"_qs;
    QCOMPARE(SetCommaText(inbox[0].message), expected);
    // A reply from the Messages tab: no subject at all.
    QCOMPARE(get("/sp/zm.php?query=sendmessage&ID=42&theme=&email=@&message=x").status, 200);
    QCOMPARE(m_store->inbox().first().theme, QString());
}

void TestService::logUploadKeepsEveryEntry()
{
    const QStringList log = {u"10:00:00_Create_form"_qs, u"10:00:01_exception_TForm1__Ошибка,_\"x\"\t%41"_qs,
                             u"10:00:02_a&b=c+d#e"_qs};
    QCOMPARE(get(targetOf(sendLogUrl(kHost, CommaText(log)))).status, 200);
    QCOMPARE(get("/sp/sendlog.php?text=").status, 200);
    const QList<UploadedLog> logs = m_store->logs();
    QCOMPARE(logs.size(), 2);
    QCOMPARE(SetCommaText(logs[1].text), log);
}

void TestService::addressAndStatistics()
{
    QCOMPARE(get(targetOf(ipUrl(kHost))).body, QByteArray("192.0.2.7"));
    for (int i = 0; i < 2; ++i)
        QCOMPARE(get(targetOf(statisticsUrl(kHost, u"check.log"_qs))).status, 200);
    QCOMPARE(get(targetOf(statisticsUrl(kHost, u"down.log"_qs))).status, 200);
    const Stats s = m_store->stats();
    QCOMPARE(s.checks, 2);
    QCOMPARE(s.downloads, 1);
}

void TestService::hourlyAllowances()
{
    m_handler = std::make_unique<RequestHandler>(*m_store, m_files, Limits{2, 2, 1});
    const QDateTime at(QDate(2026, 3, 4), QTime(5, 0), Qt::UTC);
    const auto status = [&](const QByteArray& target, const char* from, int minutes = 0) {
        return m_handler->answer({"GET", target, QString::fromLatin1(from)}, at.addSecs(minutes * 60)).status;
    };
    const QByteArray log = "/sp/sendlog.php?text=x";
    const QByteArray reply = "/sp/zm.php?query=sendmessage&ID=9&message=x";
    const QByteArray newId = "/sp/zm.php?query=createID";
    QCOMPARE(status(log, "192.0.2.1"), 200);
    QCOMPARE(status(log, "192.0.2.1"), 200);
    QCOMPARE(status(log, "::ffff:192.0.2.1"), 429);
    QCOMPARE(status(log, "192.0.2.2"), 200);
    // One IPv6 subscriber's block counts as one sender.
    QCOMPARE(status(newId, "2001:db8:1:2::5"), 200);
    QCOMPARE(status(newId, "2001:db8:1:2:ffff::1"), 429);
    QCOMPARE(status(newId, "2001:db8:1:3::5"), 200);
    // Replies count per ID too, whichever address they come from.
    QCOMPARE(status(reply, "198.51.100.1"), 200);
    QCOMPARE(status(reply, "198.51.100.2"), 200);
    QCOMPARE(status(reply, "198.51.100.3"), 429);
    QCOMPARE(status("/sp/zm.php?query=sendmessage&ID=0&message=x", "198.51.100.3"), 200);
    // A new hour, a new allowance.
    QCOMPARE(status(log, "192.0.2.1", 60), 200);
    QCOMPARE(status(reply, "198.51.100.3", 60), 200);
}

void TestService::updateFiles()
{
    const QByteArray program("\x7F" "ELF binary\0\xFF", 14);
    QFile file(QDir(m_files).filePath(QStringLiteral("zelmora-106")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(program);
    file.close();
    const ServiceAnswer a = get("/updates/zelmora-106");
    QCOMPARE(a.status, 200);
    QVERIFY(a.body.isEmpty());
    // Open already, the file stays the one asked for when it is replaced.
    QVERIFY(QFile::remove(file.fileName()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("replaced");
    file.close();
    QCOMPARE(content(a), program);
    QCOMPARE(content(get("/updates/zelmora-106")), QByteArray("replaced"));
}

void TestService::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("withDb");
    const auto row = [](const char* name, const QStringList& args, bool withDb = true) {
        QTest::newRow(name) << args << withDb;
    };
    row("nothing", {}, false);
    row("unknown option", {u"stats"_qs, u"--fast"_qs});
    row("both storages", {u"stats"_qs, u"--pg"_qs, u"dbname=x"_qs});
    row("post to no number", {u"post"_qs, u"12a"_qs, u"hi"_qs});
    row("serve without port", {u"serve"_qs, u"--listen"_qs, u"127.0.0.1"_qs, u"--files"_qs, u"d"_qs});
    row("allowance no count", {u"serve"_qs, u"--listen"_qs, u"127.0.0.1:1"_qs, u"--files"_qs, u"d"_qs,
                               u"--logs-per-hour"_qs, u"-1"_qs});
    row("limit no count", {u"inbox"_qs, u"--limit"_qs, u"0"_qs});
    row("since no date", {u"logs"_qs, u"--since"_qs, u"yesterday"_qs});
    row("purge without days", {u"purge"_qs});
    const QStringList publish = {u"publish"_qs, u"f"_qs, u"--key"_qs, u"k"_qs, u"--files"_qs, u"d"_qs,
                                 u"--base-url"_qs, u"http://h/updates"_qs, u"--version"_qs};
    // What the program could not compare as its signed 32-bit version.
    for (const char* v : {"1.0.6", "-5", "+107", "0", "2147483648", "3000000000", " 106"})
        row(v, publish + QStringList{QString::fromLatin1(v)}, false);
}

void TestService::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(bool, withDb);
    const CommandResult r = command(args, withDb);
    QCOMPARE(r.status, kExitUsage);
    QVERIFY(r.err.contains(u"Usage:"_qs));
}

void TestService::helpEverywhere()
{
    for (const char* c : {"serve", "post", "inbox", "logs", "stats", "purge", "keygen", "publish"}) {
        const CommandResult r = command({QString::fromLatin1(c), u"--help"_qs}, false);
        QCOMPARE(r.status, kExitOk);
        QVERIFY(r.out.contains(u"Usage:"_qs));
    }
}

void TestService::postInboxLogsStats()
{
    const std::int32_t a = m_store->createId(QDateTime::currentDateTimeUtc());
    const std::int32_t b = m_store->createId(QDateTime::currentDateTimeUtc());
    QCOMPARE(command({u"post"_qs, QString::number(a), u"for a"_qs}).status, kExitOk);
    // An ID the service never issued is a mistake of the maker's.
    const CommandResult unknown = command({u"post"_qs, u"7"_qs, u"lost"_qs});
    QCOMPARE(unknown.status, kExitFailure);
    QVERIFY(unknown.err.contains(u"7"_qs));
    QCOMPARE(command({u"post"_qs, u"--all"_qs, u"for all"_qs}).out, u"queued for 2 IDs\n"_qs);
    QCOMPARE(m_store->nextMessage(a)->text, u"for a"_qs);
    QCOMPARE(m_store->nextMessage(b)->text, u"for all"_qs);
    QCOMPARE(m_store->queuedMessages(), 3);

    const QDateTime t = QDateTime::currentDateTimeUtc();
    m_store->addFeedback({a, u"old"_qs, u"@"_qs, u"\"first line\",second"_qs, t.addSecs(-60), u"r"_qs});
    m_store->addFeedback({b, u"new"_qs, u"x@y"_qs, u"reply"_qs, t, u"r"_qs});
    const CommandResult inbox = command({u"inbox"_qs});
    QCOMPARE(inbox.status, kExitOk);
    QVERIFY(inbox.out.indexOf(u"Theme: new"_qs) < inbox.out.indexOf(u"Theme: old"_qs));
    QVERIFY(inbox.out.contains(u"ID %1"_qs.arg(b)));
    QVERIFY(inbox.out.contains(u"\n  first line\n  second\n"_qs));
    QVERIFY(inbox.out.contains(t.toLocalTime().toString(u"yyyy-MM-dd HH:mm:ss"_qs)));

    m_store->addLog({u"10:00:00_Create_form,10:00:01_Send_log_to_Halvane"_qs, t, u"192.0.2.9"_qs});
    const CommandResult logs = command({u"logs"_qs});
    QVERIFY(logs.out.contains(u"from 192.0.2.9\n  10:00:00_Create_form\n  10:00:01_Send_log_to_Halvane\n"_qs));

    // Nobody's text moves the maker's cursor or forges a line of its own.
    m_store->addFeedback({a, u"\x1b[2J\rTheme: forged"_qs, u"a@b\nID 1"_qs, u"\"x\x00hidden\r\n\u202eevil\",y"_qs,
                          t.addSecs(60), u"r"_qs});
    m_store->addLog({u"\x1b]0;title\x07"_qs, t.addSecs(60), u"192.0.2.9"_qs});
    const QString listed = command({u"inbox"_qs, u"--limit"_qs, u"1"_qs}).out + command({u"logs"_qs, u"--limit"_qs, u"1"_qs}).out;
    QCOMPARE(listed.section(u"\n\n"_qs, 0, 0).section(QLatin1Char('\n'), 1),
             u"  Theme: \\x1b[2J\\rTheme: forged\n  E-mail: a@b\\nID 1\n  x\\x00hidden\\r\\n\\u202eevil\n  y"_qs);
    QVERIFY(listed.contains(u"from 192.0.2.9\n  \\x1b]0;title\\x07\n\n"_qs));
    QVERIFY(!listed.contains(QLatin1Char('\x1b')) && !listed.contains(QLatin1Char('\r')));

    m_store->count(Counter::Checks);
    QCOMPARE(command({u"stats"_qs}).out, u"IDs issued: 2\nUpdate checks: 1\nDownloads: 0\n"_qs);
    // A database that cannot be opened is a failure, not a usage error.
    QCOMPARE(command({u"stats"_qs, u"--db"_qs, m_dir.filePath(u"no/such/folder/x.db"_qs)}, false).status,
             kExitFailure);
}

void TestService::keygenWritesAPrivateKey()
{
    const QString key = m_dir.filePath(QStringLiteral("k%1.sec").arg(m_round));
    const CommandResult r = command({u"keygen"_qs, key}, false);
    QCOMPARE(r.status, kExitOk);
    QVERIFY(QRegularExpression(u"^[A-Za-z0-9+/]{43}=\n$"_qs).match(r.out).hasMatch());
    QCOMPARE(QFile(key).permissions() & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
             QFile::Permissions());
    // An existing key is never overwritten.
    const QByteArray before = readFile(key);
    QCOMPARE(command({u"keygen"_qs, key}, false).status, kExitFailure);
    QCOMPARE(readFile(key), before);
}

void TestService::publishSignsWhatTheProgramVerifies()
{
    const QString key = m_dir.filePath(QStringLiteral("k%1.sec").arg(m_round));
    const CommandResult keygen = command({u"keygen"_qs, key}, false);
    const QString publicKey = keygen.out.trimmed();
    const QString build = m_dir.filePath(u"zelmora-106"_qs);
    const QByteArray program = QByteArray("\x7F" "ELF") + QByteArray(5000, '\x5A');
    QFile f(build);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(program);
    f.close();
    const CommandResult r = command({u"publish"_qs, build, u"--version"_qs, u"106"_qs, u"--key"_qs, key,
                                     u"--files"_qs, m_files, u"--base-url"_qs, u"http://127.0.0.1:8080/updates"_qs,
                                     u"--no-check"_qs},
                                    false);
    QCOMPARE(r.status, kExitOk);

    // The description as the program fetches and reads it.
    const ServiceAnswer ini = get(targetOf(updatesIniUrl(kHost)));
    QCOMPARE(ini.status, 200);
    const IniFile read(content(ini));
    QCOMPARE(read.readString(u"Zelmora"_qs, u"Version"_qs, {}), u"106"_qs);
    QCOMPARE(read.readString(u"Zelmora"_qs, u"File"_qs, {}), u"http://127.0.0.1:8080/updates/zelmora-106"_qs);
    const QString signature = read.readString(u"Zelmora"_qs, u"Signature"_qs, {});
    const QByteArray served = content(get("/updates/zelmora-106"));
    QCOMPARE(served, program);
    const QByteArray v106 = signedUpdateData(u"106"_qs, program);
    QVERIFY(signatureVerifies(signedUpdateData(u"106"_qs, served), signature, publicKey));

    // One byte changed, another key, a damaged or missing signature, the same
    // file announced as another version: refused.
    QByteArray tampered = program;
    tampered[100] = 'Y';
    QVERIFY(!signatureVerifies(signedUpdateData(u"106"_qs, tampered), signature, publicKey));
    QVERIFY(!signatureVerifies(signedUpdateData(u"107"_qs, program), signature, publicKey));
    const QString otherKey = command({u"keygen"_qs, key + u"2"_qs}, false).out.trimmed();
    QVERIFY(!signatureVerifies(v106, signature, otherKey));
    QVERIFY(!signatureVerifies(v106, signature.left(20), publicKey));
    QVERIFY(!signatureVerifies(v106, QString(), publicKey));
    QVERIFY(!signatureVerifies(v106, signature, u"not*base64"_qs));

    // The program's acceptance of the downloaded file: without a key, as ever.
    const QString downloaded = QDir(m_files).filePath(u"zelmora-106"_qs);
    QVERIFY(updateFileAccepted(downloaded, u"106"_qs, signature, publicKey));
    QVERIFY(!updateFileAccepted(downloaded, u"107"_qs, signature, publicKey));
    QVERIFY(updateFileAccepted(downloaded, u"106"_qs, QString(), QString()));
    QVERIFY(!updateFileAccepted(downloaded, u"106"_qs, QString(), publicKey));
    QVERIFY(!updateFileAccepted(m_dir.filePath(u"missing"_qs), u"106"_qs, signature, publicKey));

    // A key file that holds no key: publish fails and announces nothing new.
    QFile bad(m_dir.filePath(u"bad.sec"_qs));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("garbage\n");
    bad.close();
    const QByteArray before = readFile(QDir(m_files).filePath(u"updates.ini"_qs));
    QCOMPARE(command({u"publish"_qs, build, u"--version"_qs, u"107"_qs, u"--key"_qs, bad.fileName(), u"--files"_qs,
                      m_files, u"--base-url"_qs, u"http://h/updates/"_qs, u"--no-check"_qs},
                     false)
                 .status,
             kExitFailure);
    QCOMPARE(readFile(QDir(m_files).filePath(u"updates.ini"_qs)), before);
}

QTEST_GUILESS_MAIN(TestService)
#include "tst_service.moc"
