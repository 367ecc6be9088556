// The service's storage, on SQLite in a temporary folder, and (run with the
// argument "postgres" as tst_servicestore_pg) on a PostgreSQL 15 that the test
// starts on a Unix socket of its own and stops again. When that server cannot
// be started the run says why and ends as skipped, never as passed. There the
// real service is also taken through a restart of that server.
#include "service/servicestore.h"
#include "runningservice.h"
#include "../fakes/temppostgres.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>
#include <set>

using namespace zel::service;

namespace {

const QDateTime kAt(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::UTC);

// A message as the service hands it out and the program receives it whole.
std::optional<QString> take(ServiceStore& store, std::int32_t id)
{
    const std::optional<QueuedMessage> m = store.nextMessage(id);
    if (m)
        store.markDelivered(m->seq, kAt);
    return m ? std::optional<QString>(m->text) : std::nullopt;
}

} // namespace

class TestServiceStore : public QObject {
    Q_OBJECT
public:
    explicit TestServiceStore(bool postgres) : m_postgres(postgres) {}
    QString skipped;

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void idsAreNewPositiveAndCounted();
    void messagesStayQueuedUntilDelivered();
    void messageForEveryId();
    void feedbackAndLogsKeepTheirTextsNewestFirst();
    void listedInRangesAndPurged();
    void counters();
    void keptForTheNextStoreAndSharedBetweenInstances();
    void answersAgainAfterTheServerRestarts();

private:
    std::unique_ptr<ServiceStore> openStore() { return std::make_unique<ServiceStore>(m_where); }

    bool m_postgres;
    TempPostgres m_server;
    QTemporaryDir m_dir;
    StoreLocation m_where;
    int m_round = 0;
};

void TestServiceStore::initTestCase()
{
    if (m_postgres) {
        QString why;
        if (!m_server.start(&why)) {
            skipped = QStringLiteral("PostgreSQL could not be started: ") + why;
            QSKIP(qPrintable(skipped));
        }
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
            skipped = QStringLiteral("Qt's QPSQL driver (libqt6sql6-psql) is not installed");
            QSKIP(qPrintable(skipped));
        }
    }
}

void TestServiceStore::init()
{
    // Each case on empty data: a new file, or a new schema's worth of tables.
    if (m_postgres) {
        m_where.pgConninfo = m_server.conninfo();
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("wipe"));
        db.setConnectOptions(m_server.conninfo());
        QVERIFY(db.open());
        QSqlQuery(db).exec(QStringLiteral("SET client_min_messages TO WARNING"));
        QSqlQuery(db).exec(QStringLiteral("DROP TABLE IF EXISTS ids, messages, inbox, logs, counters"));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("wipe"));
    } else {
        m_where.sqliteFile = m_dir.filePath(QStringLiteral("store%1.db").arg(++m_round));
    }
}

void TestServiceStore::cleanupTestCase()
{
    m_server.stop();
}

void TestServiceStore::idsAreNewPositiveAndCounted()
{
    auto store = openStore();
    std::set<std::int32_t> seen;
    for (int i = 0; i < 50; ++i) {
        const std::int32_t id = store->createId(kAt);
        QVERIFY(id > 0);
        QVERIFY(seen.insert(id).second);
        QVERIFY(store->idIssued(id));
    }
    QVERIFY(!store->idIssued(-5));
    QCOMPARE(store->stats().ids, 50);
}

void TestServiceStore::messagesStayQueuedUntilDelivered()
{
    auto store = openStore();
    const std::int32_t a = store->createId(kAt);
    const std::int32_t b = store->createId(kAt);
    store->queueMessage(a, u"first"_qs, kAt);
    store->queueMessage(b, u"для b"_qs, kAt);
    store->queueMessage(a, u"second"_qs, kAt);
    // Handed out but not yet received: the next poll gets it again.
    const std::optional<QueuedMessage> first = store->nextMessage(a);
    QVERIFY(first);
    QCOMPARE(store->nextMessage(a)->seq, first->seq);
    QCOMPARE(store->queuedMessages(), 3);
    store->markDelivered(first->seq, kAt);
    store->markDelivered(first->seq, kAt.addSecs(1));
    QCOMPARE(store->queuedMessages(), 2);
    QCOMPARE(take(*store, a), std::optional<QString>(u"second"_qs));
    QCOMPARE(take(*store, a), std::nullopt);
    QCOMPARE(take(*store, b), std::optional<QString>(u"для b"_qs));
    QCOMPARE(take(*store, 12345), std::nullopt);
    QCOMPARE(store->databaseErrors(), 0);
    if (!m_postgres) {
        // It holds e-mail and IP addresses.
        QCOMPARE(QFileInfo(m_where.sqliteFile).permissions() & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
                 QFile::Permissions());
    }
}

void TestServiceStore::messageForEveryId()
{
    auto store = openStore();
    QCOMPARE(store->queueMessageForAll(u"nobody yet"_qs, kAt), 0);
    const std::int32_t a = store->createId(kAt);
    const std::int32_t b = store->createId(kAt);
    QCOMPARE(store->queueMessageForAll(u"news"_qs, kAt), 2);
    QCOMPARE(take(*store, a), std::optional<QString>(u"news"_qs));
    QCOMPARE(take(*store, b), std::optional<QString>(u"news"_qs));
}

void TestServiceStore::feedbackAndLogsKeepTheirTextsNewestFirst()
{
    auto store = openStore();
    // Texts that would break SQL built by hand reach the tables as they are.
    const QString hostile = u"'); DROP TABLE inbox; -- \"Привіт\", ґ ё \\ %"_qs;
    store->addFeedback({7, u"Тема"_qs, u"a@b"_qs, u"first"_qs, kAt, u"10.0.0.1"_qs});
    store->addFeedback({0, hostile, u"@"_qs, hostile, kAt.addSecs(60), u"10.0.0.2"_qs});
    const QList<Feedback> inbox = store->inbox();
    QCOMPARE(inbox.size(), 2);
    QCOMPARE(inbox[0].id, 0);
    QCOMPARE(inbox[0].theme, hostile);
    QCOMPARE(inbox[0].message, hostile);
    QCOMPARE(inbox[0].received, kAt.addSecs(60));
    QCOMPARE(inbox[1].theme, u"Тема"_qs);
    QCOMPARE(inbox[1].email, u"a@b"_qs);
    QCOMPARE(inbox[1].remote, u"10.0.0.1"_qs);

    store->addLog({u"a,b"_qs, kAt, u"r1"_qs});
    store->addLog({hostile, kAt.addSecs(1), u"r2"_qs});
    const QList<UploadedLog> logs = store->logs();
    QCOMPARE(logs.size(), 2);
    QCOMPARE(logs[0].text, hostile);
    QCOMPARE(logs[1].text, u"a,b"_qs);
    QCOMPARE(logs[1].received, kAt);
}

void TestServiceStore::counters()
{
    auto store = openStore();
    for (int i = 0; i < 3; ++i)
        store->count(Counter::Checks);
    store->count(Counter::Downloads);
    const Stats s = store->stats();
    QCOMPARE(s.checks, 3);
    QCOMPARE(s.downloads, 1);
    QCOMPARE(s.ids, 0);
}

void TestServiceStore::keptForTheNextStoreAndSharedBetweenInstances()
{
    std::int32_t id = 0;
    {
        auto store = openStore();
        id = store->createId(kAt);
        store->queueMessage(id, u"kept"_qs, kAt);
        store->count(Counter::Downloads);
    }
    auto one = openStore();
    auto two = openStore();
    QVERIFY(two->idIssued(id));
    QCOMPARE(two->stats().downloads, 1);
    // Two instances on one database: the message goes out once, once the
    // mark is written (the next call of the same store comes after it).
    QCOMPARE(take(*one, id), std::optional<QString>(u"kept"_qs));
    QCOMPARE(take(*one, id), std::nullopt);
    QCOMPARE(take(*two, id), std::nullopt);
}

void TestServiceStore::listedInRangesAndPurged()
{
    auto store = openStore();
    const std::int32_t id = store->createId(kAt);
    for (int day = 0; day < 5; ++day) {
        store->addFeedback({id, QString::number(day), u"@"_qs, u"m"_qs, kAt.addDays(day), u"r"_qs});
        store->addLog({QString::number(day), kAt.addDays(day), u"r"_qs});
    }
    store->queueMessage(id, u"old"_qs, kAt);
    QCOMPARE(take(*store, id), std::optional<QString>(u"old"_qs));
    store->queueMessage(id, u"waiting"_qs, kAt);
    const auto themes = [&](const ListingRange& range) {
        QStringList out;
        for (const Feedback& f : store->inbox(range))
            out << f.theme;
        return out;
    };
    const auto texts = [&](const ListingRange& range) {
        QStringList out;
        for (const UploadedLog& l : store->logs(range))
            out << l.text;
        return out;
    };
    QCOMPARE(themes({QDateTime(), 2}), (QStringList{u"4"_qs, u"3"_qs}));
    QCOMPARE(themes({kAt.addDays(3), -1}), (QStringList{u"4"_qs, u"3"_qs}));
    QCOMPARE(texts({kAt.addDays(1), 2}), (QStringList{u"4"_qs, u"3"_qs}));
    // Delivered messages go with the old rows; one still waiting stays.
    const Purged gone = store->purge(kAt.addDays(2));
    QCOMPARE(gone.replies, 2);
    QCOMPARE(gone.logs, 2);
    QCOMPARE(gone.messages, 1);
    QCOMPARE(texts({}), (QStringList{u"4"_qs, u"3"_qs, u"2"_qs}));
    QCOMPARE(take(*store, id), std::optional<QString>(u"waiting"_qs));
}

void TestServiceStore::answersAgainAfterTheServerRestarts()
{
    if (!m_postgres)
        QSKIP("a PostgreSQL server to restart");
    auto store = openStore();
    RunningService service({QStringLiteral("--files"), m_dir.path(), QStringLiteral("--pg"), m_where.pgConninfo});
    QVERIFY(service.port());
    const QByteArray createId = "/sp/zm.php?query=createID";
    QCOMPARE(service.request(createId).status, 200);
    m_server.stop();
    // Away: not an error of the service's, and it says so at once.
    QCOMPARE(service.request(createId).status, 503);
    QCOMPARE(service.request("/ip.html").status, 200);
    QVERIFY_THROWS_EXCEPTION(StoreUnavailable, store->stats());
    QCOMPARE(store->databaseErrors(), 1);
    QString why;
    QVERIFY2(m_server.startAgain(&why), qPrintable(why));
    QCOMPARE(service.request(createId).status, 200);
    QCOMPARE(store->stats().ids, 2);
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool postgres = args.removeAll(QStringLiteral("postgres")) > 0;
    TestServiceStore test(postgres);
    const int status = QTest::qExec(&test, args);
    if (!test.skipped.isEmpty()) {
        std::fprintf(stderr, "SKIPPED: %s\n", qPrintable(test.skipped));
        return kSkipped;
    }
    return status;
}

#include "tst_servicestore.moc"
