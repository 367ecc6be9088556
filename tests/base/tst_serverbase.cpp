// The calculation base on a PostgreSQL server that the test starts on a Unix
// socket of its own: the tables made once and a later version refused, many
// desks saving at once, a delete seen by the other desk, the server stopped
// in the middle, and a desk's file base copied in twice. Without a server
// the run ends as skipped.
#include "../fakes/temppostgres.h"
#include "base/platform/pgbase.h"
#include "base/platform/sqlitebase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <memory>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace zel;

class TestServerBase : public QObject {
    Q_OBJECT
public:
    QString skipped;

private slots:
    void hostsAndPorts_data();
    void hostsAndPorts();
    void initTestCase();
    void init();
    void tablesAreMadeOnceAndALaterVersionRefused();
    void twoDesksSavingAtOnceKeepEveryRecord();
    void aDeleteIsSeenByTheOtherDesk();
    void aStoppedServerIsToldAndTheNextSaveWorks();
    void aSilentServerIsWaitedForFiveSecondsWithEventsGoingOn();
    void aFileBaseIsCopiedOnce();
    void theReadmesRightsAreEnough();

private:
    // Runs `sql` on the case's database as the server's owner.
    QVariant admin(const QString& sql);
    // Runs each statement of `sql` as the server's owner in `database`.
    bool script(const QString& database, const QString& sql);
    BaseRecord record(const QString& name) const;

    TempPostgres m_server;
    ServerPlace m_place;
    int m_case = 0;
};

void TestServerBase::hostsAndPorts_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("name") << "db.office" << "db.office" << -1;
    QTest::newRow("name and port") << " db.office:5433 " << "db.office" << 5433;
    QTest::newRow("address and port") << "10.0.0.5:6000" << "10.0.0.5" << 6000;
    QTest::newRow("IPv6 alone") << "::1" << "::1" << -1;
    QTest::newRow("IPv6 and port") << "[::1]:5433" << "::1" << 5433;
    QTest::newRow("socket folder") << "/run/postgresql" << "/run/postgresql" << -1;
    QTest::newRow("port that is none") << "db:x" << "db" << -1;
}

void TestServerBase::hostsAndPorts()
{
    QFETCH(QString, server);
    const HostPort hp = splitServer(server);
    QTEST(hp.host, "host");
    QTEST(hp.port, "port");
}

void TestServerBase::initTestCase()
{
    skipped = m_server.startForQt();
    if (!skipped.isEmpty())
        QSKIP(qPrintable(skipped));
}

void TestServerBase::init()
{
    // Each case in a database of its own, empty.
    m_place = {m_server.socketFolder(), QStringLiteral("case%1").arg(++m_case), QStringLiteral("zelmora")};
    QVERIFY(m_server.createDatabase(m_place.database));
}

QVariant TestServerBase::admin(const QString& sql)
{
    QVariant out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("admin"));
        db.setConnectOptions(QStringLiteral("host=%1 dbname=%2 user=zelmora")
                                 .arg(m_server.socketFolder(), m_place.database));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(sql) && q.next())
                out = q.value(0);
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("admin"));
    return out;
}

BaseRecord TestServerBase::record(const QString& name) const
{
    return makeRecord(QDateTime(QDate(2026, 5, 6), QTime(7, 8, 9, 120)), QStringLiteral("ГОСТ 2708-75"), name,
                      0.147, {u"20 см."_qs, u"4,00 м."_qs, u"1 шт."_qs, u"0,1470 м3."_qs});
}

void TestServerBase::tablesAreMadeOnceAndALaterVersionRefused()
{
    QCOMPARE(testServerAccess(m_place).readWrite, true); // an empty database: tables can be made
    {
        PgServerBase desk(m_place);
        desk.open();
        const qint64 no = desk.add(record(u"перший"_qs));
        const std::optional<BaseRecord> back = desk.record(no);
        QVERIFY(back);
        QCOMPARE(back->Name, u"перший"_qs);
        QCOMPARE(back->DateTime, record({}).DateTime);
        QCOMPARE(back->Notes, record({}).Notes);
        QCOMPARE(back->Who, loginName());
        QCOMPARE(back->Computer, computerName());
    }
    PgServerBase again(m_place);
    again.open(); // finds its tables and makes nothing twice
    QCOMPARE(again.page(0, 10).size(), size_t(1));
    QCOMPARE(admin(u"SELECT count(*) FROM zelmora_version"_qs).toInt(), 1);

    admin(u"UPDATE zelmora_version SET version = version + 1"_qs);
    const QString before = admin(u"SELECT string_agg(no || name, ',') FROM zelmora_records"_qs).toString();
    PgServerBase later(m_place);
    try {
        later.open();
        QFAIL("a later base was opened");
    } catch (const BaseRefused& e) {
        QCOMPARE(e.why, BaseRefused::LaterVersion);
        QCOMPARE(e.version, kServerBaseVersion + 1);
    }
    QVERIFY(!testServerAccess(m_place).readWrite);
    QCOMPARE(admin(u"SELECT string_agg(no || name, ',') FROM zelmora_records"_qs).toString(), before);

    // Somebody else's table of that name: not ours to add to.
    admin(u"DROP TABLE zelmora_version"_qs);
    PgServerBase other(m_place);
    QVERIFY_THROWS_EXCEPTION(BaseRefused, other.open());
    QCOMPARE(admin(u"SELECT to_regclass('zelmora_version') IS NULL"_qs).toBool(), true);
}

void TestServerBase::twoDesksSavingAtOnceKeepEveryRecord()
{
    PgServerBase(m_place).open(); // the tables first, so both desks race on saves only
    std::vector<qint64> numbers[2];
    QString failures[2];
    std::unique_ptr<QThread> desks[2];
    for (int d = 0; d < 2; ++d) {
        desks[d].reset(QThread::create([this, d, &numbers, &failures] {
            try {
                PgServerBase desk(m_place);
                for (int i = 0; i < 100; ++i)
                    numbers[d].push_back(desk.add(record(QStringLiteral("desk %1 no %2").arg(d).arg(i))));
            } catch (const std::exception& e) {
                failures[d] = QString::fromUtf8(e.what());
            }
        }));
    }
    for (auto& t : desks)
        t->start();
    for (auto& t : desks)
        QVERIFY(t->wait(60000));
    QCOMPARE(failures[0], QString());
    QCOMPARE(failures[1], QString());
    QSet<qint64> all;
    for (const auto& n : numbers)
        all.unite(QSet<qint64>(n.begin(), n.end()));
    QCOMPARE(all.size(), 200);
    PgServerBase reader(m_place);
    std::vector<BaseRecord> shown;
    for (qint64 below = 0;;) { // page by page, newest first, as the window reads
        const std::vector<BaseRecord> page = reader.page(below, 64);
        if (page.empty())
            break;
        for (const BaseRecord& r : page) {
            QVERIFY(below == 0 || r.No < below);
            shown.push_back(r);
        }
        below = page.back().No;
    }
    QCOMPARE(shown.size(), size_t(200));
}

void TestServerBase::aDeleteIsSeenByTheOtherDesk()
{
    PgServerBase one(m_place);
    PgServerBase two(m_place);
    int told = 0;
    two.onChanged([&told] { ++told; });
    two.open();
    const qint64 kept = one.add(record(u"kept"_qs));
    const qint64 gone = one.add(record(u"gone"_qs));
    QTRY_VERIFY_WITH_TIMEOUT(told > 0, 2000); // the other desk hears of the save
    QCOMPARE(two.since(kept).size(), size_t(2));

    told = 0;
    QVERIFY(one.remove(gone));
    QTRY_VERIFY_WITH_TIMEOUT(told > 0, 2000);
    const std::vector<BaseRecord> left = two.since(kept);
    QCOMPARE(left.size(), size_t(1));
    QCOMPARE(left.front().No, kept);
    QVERIFY(!two.record(gone));
    QVERIFY(!two.remove(gone)); // gone already: nothing to delete
    QVERIFY(two.record(kept));
}

void TestServerBase::aStoppedServerIsToldAndTheNextSaveWorks()
{
    PgServerBase desk(m_place);
    desk.add(record(u"before"_qs));
    m_server.stop();
    QElapsedTimer waited;
    waited.start();
    QVERIFY_THROWS_EXCEPTION(BaseUnreachable, desk.add(record(u"while down"_qs)));
    QVERIFY(!testServerAccess(m_place).answers);
    QVERIFY(waited.elapsed() < 6000);
    QString why;
    QVERIFY2(m_server.startAgain(&why), qPrintable(why));
    desk.add(record(u"after"_qs));
    QStringList names;
    for (const BaseRecord& r : desk.page(0, 10))
        names << r.Name;
    QCOMPARE(names, (QStringList{u"after"_qs, u"before"_qs}));
    QVERIFY(testServerAccess(m_place).readWrite);
}

void TestServerBase::aSilentServerIsWaitedForFiveSecondsWithEventsGoingOn()
{
    // A port on 127.0.0.1 that takes connections and never says a word.
    const int silent = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof at;
    QVERIFY(silent >= 0 && ::bind(silent, reinterpret_cast<sockaddr*>(&at), size) == 0 && ::listen(silent, 4) == 0
            && ::getsockname(silent, reinterpret_cast<sockaddr*>(&at), &size) == 0);
    const ServerPlace place{QStringLiteral("127.0.0.1:%1").arg(ntohs(at.sin_port)), u"zelmora"_qs, u"zelmora"_qs};
    int ticks = 0;
    QTimer clock;
    connect(&clock, &QTimer::timeout, [&ticks] { ++ticks; });
    clock.start(100);
    QElapsedTimer waited;
    waited.start();
    QVERIFY_THROWS_EXCEPTION(BaseUnreachable, PgServerBase(place).open());
    ::close(silent);
    QVERIFY2(waited.elapsed() >= 4500 && waited.elapsed() < 7000, qPrintable(QString::number(waited.elapsed())));
    QVERIFY2(ticks >= 30, qPrintable(QString::number(ticks))); // the caller's events went on
}

void TestServerBase::aFileBaseIsCopiedOnce()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"base.cds"_qs);
    SqliteBaseFile files;
    std::vector<BaseRecord> records;
    for (int i = 1; i <= 3; ++i) {
        BaseRecord r = record(QStringLiteral("file %1").arg(i));
        r.No = i;
        records.push_back(r);
    }
    records[2].Name = records[1].Name; // alike but for the number: both copied
    files.save(file, records, {});
    PgServerBase desk(m_place);
    QCOMPARE(desk.copyIn(files.load(file).records, u"desk-a"_qs), 3);
    QCOMPARE(desk.copyIn(files.load(file).records, u"desk-a"_qs), 0);
    QCOMPARE(desk.copyIn(files.load(file).records, u"desk-b"_qs), 3); // another desk's file is another base
    const std::vector<BaseRecord> copied = desk.page(0, 10);
    QCOMPARE(copied.size(), size_t(6));
    QCOMPARE(copied.back().Name, u"file 1"_qs);
    QCOMPARE(copied.back().Computer, u"desk-a"_qs);
}

bool TestServerBase::script(const QString& database, const QString& sql)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("script"));
        db.setConnectOptions(QStringLiteral("host=%1 dbname=%2 user=zelmora").arg(m_server.socketFolder(), database));
        ok = db.open();
        for (const QString& statement : sql.split(QStringLiteral(";\n"), Qt::SkipEmptyParts)) {
            QSqlQuery q(db);
            if (ok && !q.exec(statement)) {
                qWarning() << statement << q.lastError().text();
                ok = false;
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("script"));
    return ok;
}

void TestServerBase::theReadmesRightsAreEnough()
{
    QFile readme(QStringLiteral(ZEL_SOURCE_DIR "/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const QString part = text.mid(text.indexOf(u"## A base the office shares"_qs));
    static const QRegularExpression block(QStringLiteral("```sql\n(.*?)```"),
                                          QRegularExpression::DotMatchesEverythingOption);
    QRegularExpressionMatchIterator blocks = block.globalMatch(part);
    QVERIFY(blocks.hasNext());
    QVERIFY(script(u"postgres"_qs, blocks.next().captured(1)));
    QVERIFY(blocks.hasNext());
    QVERIFY(script(u"zelmora"_qs, blocks.next().captured(1)));

    const ServerPlace desk{m_server.socketFolder(), u"zelmora"_qs, u"zelmora_desk"_qs};
    QVERIFY(testServerAccess(desk).readWrite);
    PgServerBase base(desk);
    const qint64 no = base.add(record(u"desk"_qs));
    QCOMPARE(base.page(0, 10).size(), size_t(1));
    QCOMPARE(base.copyIn({record(u"file"_qs)}, u"desk-a"_qs), 1);
    QVERIFY(base.remove(no));
    QVERIFY(!base.record(no));
    // Nothing more than that: no changing records, no tables of its own.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("desk"));
    db.setConnectOptions(QStringLiteral("host=%1 dbname=zelmora user=zelmora_desk").arg(desk.server));
    QVERIFY(db.open());
    QVERIFY(!QSqlQuery(db).exec(u"UPDATE zelmora_records SET name = 'x'"_qs));
    QVERIFY(!QSqlQuery(db).exec(u"CREATE TABLE mine (a int)"_qs));
    QVERIFY(!QSqlQuery(db).exec(u"DELETE FROM zelmora_version"_qs));
    db.close();
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    TestServerBase test;
    const int status = QTest::qExec(&test, argc, argv);
    if (!test.skipped.isEmpty()) {
        std::fprintf(stderr, "SKIPPED: %s\n", qPrintable(test.skipped));
        return kSkipped;
    }
    return status;
}

#include "tst_serverbase.moc"
