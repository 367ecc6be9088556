// The real zelmora-service and its commands together: publish checking the
// address it announces, the allowances of the serve command line, a message
// kept until a GET has all of it, and a database held by another process.
#include "runningservice.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run command(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(ZEL_SERVICE_EXE), args);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestServiceAdmin : public QObject {
    Q_OBJECT
private slots:
    void init();
    void publishChecksTheAnnouncedAddress();
    void allowancesAndDelivery();
    void heldDatabaseAnswers503InTime();

private:
    QStringList storage() const { return {QStringLiteral("--db"), m_db}; }

    QTemporaryDir m_dir;
    QString m_db;
    QString m_files;
    int m_round = 0;
};

void TestServiceAdmin::init()
{
    ++m_round;
    m_db = m_dir.filePath(QStringLiteral("s%1.db").arg(m_round));
    m_files = m_dir.filePath(QStringLiteral("files%1").arg(m_round));
    QVERIFY(QDir().mkpath(m_files));
}

void TestServiceAdmin::publishChecksTheAnnouncedAddress()
{
    RunningService service(QStringList{QStringLiteral("--files"), m_files} + storage());
    QVERIFY(service.port());
    const QString key = m_dir.filePath(QStringLiteral("update.sec"));
    QCOMPARE(command({QStringLiteral("keygen"), key}).status, 0);
    const QString base = QStringLiteral("http://127.0.0.1:%1/").arg(service.port());
    const auto publish = [&](const QString& name, const char* version, const QString& url,
                             const QStringList& more = {}) {
        const QString file = m_dir.filePath(name);
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write("\x7F" "ELF build " + QByteArray(version));
        f.close();
        return command(QStringList{QStringLiteral("publish"), file, QStringLiteral("--version"),
                                   QString::fromLatin1(version), QStringLiteral("--key"), key,
                                   QStringLiteral("--files"), m_files, QStringLiteral("--base-url"), url}
                       + more);
    };
    const auto announced = [&] { return service.request("/updates/updates.ini").body; };

    QCOMPARE(publish(QStringLiteral("zelmora-106"), "106", base + QStringLiteral("updates")).status, 0);
    QVERIFY(announced().contains("Version=106\r\nFile=" + base.toLatin1() + "updates/zelmora-106\r\n"));
    const QByteArray before = announced();
    // An address that does not serve the file is never announced.
    const Run elsewhere = publish(QStringLiteral("zelmora-107"), "107", base + QStringLiteral("downloads"));
    QCOMPARE(elsewhere.status, 1);
    QVERIFY(elsewhere.err.contains(base + QStringLiteral("downloads/zelmora-107")));
    // Not higher than the version announced: only when forced.
    QCOMPARE(publish(QStringLiteral("zelmora-105"), "105", base + QStringLiteral("updates")).status, 1);
    // Names an address would have to escape.
    for (const char* name : {"zelmora 107", "zelmora?107", "zelmora#107", "zelmora%20107", "зелмора-107"})
        QCOMPARE(publish(QString::fromUtf8(name), "107", base + QStringLiteral("updates")).status, 1);
    QCOMPARE(announced(), before);
    QCOMPARE(publish(QStringLiteral("zelmora-105"), "105", base + QStringLiteral("updates"), {u"--force"_qs}).status, 0);
    QVERIFY(announced().contains("Version=105\r\n"));
}

void TestServiceAdmin::allowancesAndDelivery()
{
    RunningService service(QStringList{QStringLiteral("--files"), m_files, QStringLiteral("--logs-per-hour"),
                                       QStringLiteral("1")}
                           + storage());
    QVERIFY(service.port());
    QCOMPARE(service.request("/sp/sendlog.php?text=a").status, 200);
    QCOMPARE(service.request("/sp/sendlog.php?text=b").status, 429);

    const QByteArray id = service.request("/sp/zm.php?query=createID").body;
    QCOMPARE(command(QStringList{QStringLiteral("post"), QString::fromLatin1(id), QStringLiteral("hello")} + storage())
                 .status,
             0);
    const QByteArray poll = "/sp/zm.php?query=getmessage&ID=" + id;
    // A HEAD tells nobody anything: the message stays for the GET.
    QCOMPARE(service.request(poll, "HEAD").status, 200);
    QCOMPARE(service.request(poll).body, QByteArray("zelmora hello"));
    // The mark is written once the service has seen the answer out, which
    // may be a moment after the client has read it.
    QTRY_COMPARE_WITH_TIMEOUT(service.request(poll).body, QByteArray(), 3000);
}

void TestServiceAdmin::heldDatabaseAnswers503InTime()
{
    RunningService service(QStringList{QStringLiteral("--files"), m_files} + storage());
    QVERIFY(service.port());
    // Another process (here this one) holding the write lock for long.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
    db.setDatabaseName(m_db);
    QVERIFY(db.open());
    QVERIFY(QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE")));
    HttpResult log;
    QElapsedTimer t;
    t.start();
    qint64 logMs = 0;
    std::thread waiting([&] {
        log = service.request("/sp/sendlog.php?text=x", "GET", 20000);
        logMs = t.elapsed();
    });
    QTest::qWait(500);
    // What needs no database does not wait for it.
    QElapsedTimer probe;
    probe.start();
    QCOMPARE(service.request("/ip.html").status, 200);
    QVERIFY2(probe.elapsed() < 500, qPrintable(QString::number(probe.elapsed())));
    waiting.join();
    QCOMPARE(log.status, 503);
    QVERIFY2(logMs >= 4500 && logMs < 7000, qPrintable(QString::number(logMs)));
    QVERIFY(QSqlQuery(db).exec(QStringLiteral("ROLLBACK")));
    QCOMPARE(service.request("/sp/sendlog.php?text=x").status, 200);
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("holder"));
}

QTEST_GUILESS_MAIN(TestServiceAdmin)
#include "tst_service_admin.moc"
