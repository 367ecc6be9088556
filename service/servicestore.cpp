// What the service keeps.
#include "service/servicestore.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <chrono>
#include <limits>

#include <fcntl.h>
#include <unistd.h>

namespace zel::service {
namespace {

using Clock = std::chrono::steady_clock;

std::atomic<int> g_stores{0};

QString stamp(const QDateTime& at)
{
    return at.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime fromStamp(const QString& text)
{
    QDateTime at = QDateTime::fromString(text, Qt::ISODateWithMs);
    at.setTimeSpec(Qt::UTC);
    return at;
}

QString counterName(Counter counter)
{
    return counter == Counter::Checks ? QStringLiteral("checks") : QStringLiteral("downloads");
}

// Errors that say "not now" rather than "never": SQLite's busy and locked,
// PostgreSQL's time-outs, its connection errors and a server shutting down
// or starting up.
bool unavailable(const QSqlError& e, bool postgres)
{
    const QString code = e.nativeErrorCode();
    if (!postgres)
        return code == QLatin1String("5") || code == QLatin1String("6");
    return code == QLatin1String("57014") || code == QLatin1String("55P03") || code.startsWith(QLatin1String("08"))
        || code.startsWith(QLatin1String("57P")) || e.type() == QSqlError::ConnectionError;
}

} // namespace

// One piece of work for a database thread, and what became of it.
struct ServiceStore::Job {
    enum State { Waiting, Running, Done, Abandoned };
    std::function<void(Connection&)> work;
    Clock::time_point deadline;
    std::mutex mutex;
    std::condition_variable changed;
    State state = Waiting;
    std::exception_ptr error;
};

// A prepared statement that throws on failure, values bound in order.
class ServiceStore::Query {
public:
    Query(const QString& connection, const QString& sql, const QVariantList& values = {}, bool forwardOnly = false)
        : m_query(QSqlDatabase::database(connection, false))
    {
        m_query.setForwardOnly(forwardOnly);
        // Statements without values (the tables, the settings) go as they
        // are: PostgreSQL cannot prepare those.
        if (values.isEmpty()) {
            if (!m_query.exec(sql))
                fail(sql);
            return;
        }
        if (!m_query.prepare(sql))
            fail(sql);
        for (const QVariant& v : values)
            m_query.addBindValue(v);
        if (!m_query.exec())
            fail(sql);
    }
    QSqlQuery* operator->() { return &m_query; }
    qint64 single()
    {
        return m_query.next() ? m_query.value(0).toLongLong() : 0;
    }

private:
    [[noreturn]] void fail(const QString& sql)
    {
        const QSqlError e = m_query.lastError();
        const std::string why = (sql.section(QLatin1Char(' '), 0, 2) + QStringLiteral(": ") + e.text()).toStdString();
        if (unavailable(e, m_query.driver() && m_query.driver()->dbmsType() == QSqlDriver::PostgreSQL))
            throw StoreUnavailable(why);
        throw StoreError(why);
    }
    QSqlQuery m_query;
};

ServiceStore::ServiceStore(const StoreLocation& where, bool answersRequests)
    : m_prefix(QStringLiteral("zelmora-service-%1-").arg(++g_stores))
    , m_where(where)
    , m_postgres(!where.pgConninfo.isEmpty())
    , m_answersRequests(answersRequests)
{
    if (!QSqlDatabase::isDriverAvailable(m_postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE")))
        throw StoreError(m_postgres ? "no Qt SQL driver for PostgreSQL" : "no Qt SQL driver for SQLite");
    if (!m_postgres) {
        // It holds e-mail and IP addresses: readable by the service alone
        // from the start. SQLite gives its journals the file's mode.
        const QByteArray path = QFile::encodeName(where.sqliteFile);
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0)
            ::close(fd);
    }
    // PostgreSQL answers several at once; a few connections keep the
    // server's own limit (100 by default) for the other instances.
    const int threads = m_postgres && answersRequests ? 4 : 1;
    for (int i = 0; i < threads; ++i)
        m_threads.emplace_back(&ServiceStore::serveJobs, this, i);
    try {
        withDatabase<bool>([this](Connection& c) {
            createTables(c);
            return true;
        });
    } catch (...) {
        stopThreads();
        throw;
    }
}

ServiceStore::~ServiceStore()
{
    stopThreads();
}

void ServiceStore::stopThreads()
{
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_stopping = true;
    }
    m_queueChanged.notify_all();
    for (std::thread& t : m_threads)
        t.join();
    m_threads.clear();
}

void ServiceStore::serveJobs(int number)
{
    Connection c;
    c.name = m_prefix + QString::number(number);
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(m_postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"), c.name);
        if (m_postgres) {
            // The driver appends its connect options to the connection string
            // as they are. A server that does not answer is given up in time.
            QString options = m_where.pgConninfo;
            if (!options.contains(QLatin1String("connect_timeout")))
                options += QStringLiteral(" connect_timeout=%1").arg(kDatabaseWaitMs / 1000);
            db.setConnectOptions(options);
        } else {
            db.setDatabaseName(m_where.sqliteFile);
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kDatabaseWaitMs));
        }
    }
    for (;;) {
        std::shared_ptr<Job> job;
        {
            std::unique_lock<std::mutex> lock(m_queueMutex);
            m_queueChanged.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty())
                break;
            job = std::move(m_queue.front());
            m_queue.pop_front();
        }
        {
            std::lock_guard<std::mutex> lock(job->mutex);
            if (job->state == Job::Abandoned)
                continue;
            job->state = Job::Running;
        }
        runJob(*job, c);
        {
            std::lock_guard<std::mutex> lock(job->mutex);
            job->state = Job::Done;
        }
        job->changed.notify_all();
    }
    QSqlDatabase::database(c.name, false).close();
    QSqlDatabase::removeDatabase(c.name);
}

void ServiceStore::open(Connection& c)
{
    QSqlDatabase db = QSqlDatabase::database(c.name, false);
    if (!db.open())
        throw StoreUnavailable(db.lastError().text().toStdString());
    c.busyMs = kDatabaseWaitMs;
    if (m_postgres) {
        // "Table already exists" notices would reach every admin command's output.
        Query(c.name, QStringLiteral("SET client_min_messages TO WARNING"));
        Query(c.name, QStringLiteral("SET lock_timeout = %1").arg(kDatabaseWaitMs));
        // A listing of the admin's may take its time; a request may not.
        if (m_answersRequests)
            Query(c.name, QStringLiteral("SET statement_timeout = %1").arg(kDatabaseWaitMs));
    } else {
        // The write-ahead log keeps every committed answer across a crash
        // of the process; NORMAL syncs at checkpoints, not at every commit.
        Query(c.name, QStringLiteral("PRAGMA journal_mode=WAL"));
        Query(c.name, QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
}

bool ServiceStore::alive(Connection& c)
{
    return QSqlQuery(QSqlDatabase::database(c.name, false)).exec(QStringLiteral("SELECT 1"));
}

void ServiceStore::runJob(Job& job, Connection& c)
{
    for (int attempt = 0;; ++attempt) {
        try {
            if (!QSqlDatabase::database(c.name, false).isOpen())
                open(c);
            if (!m_postgres) {
                // What is left of the request's wait, not a new one.
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(job.deadline - Clock::now());
                const int ms = std::max<int>(1, int(left.count()));
                if (ms < c.busyMs - 100 || (c.busyMs < kDatabaseWaitMs && ms > c.busyMs + 100)) {
                    Query(c.name, QStringLiteral("PRAGMA busy_timeout = %1").arg(ms));
                    c.busyMs = ms;
                }
            }
            job.work(c);
            return;
        } catch (const StoreError&) {
            // A server that restarted has dropped every connection: each
            // fails once, then opens anew. While it is away, opening fails.
            QSqlDatabase db = QSqlDatabase::database(c.name, false);
            const bool dropped = m_postgres && db.isOpen() && !alive(c);
            if (dropped) {
                db.close();
                if (attempt == 0)
                    continue;
            }
            ++m_errors;
            job.error = dropped ? std::make_exception_ptr(StoreUnavailable("the database server went away"))
                                : std::current_exception();
            return;
        } catch (...) {
            job.error = std::current_exception();
            return;
        }
    }
}

template <typename Result>
Result ServiceStore::withDatabase(const std::function<Result(Connection&)>& work)
{
    std::optional<Result> result;
    auto job = std::make_shared<Job>();
    job->deadline = Clock::now() + std::chrono::milliseconds(kDatabaseWaitMs);
    job->work = [&result, &work](Connection& c) { result = work(c); };
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        m_queue.push_back(job);
    }
    m_queueChanged.notify_one();
    std::unique_lock<std::mutex> lock(job->mutex);
    // Not taken up in time: it never will be, the caller's data being gone.
    if (!job->changed.wait_until(lock, job->deadline, [&job] { return job->state != Job::Waiting; })) {
        job->state = Job::Abandoned;
        ++m_errors;
        throw StoreUnavailable("the database stayed busy");
    }
    // Started: bounded by the database's own time-outs.
    job->changed.wait(lock, [&job] { return job->state == Job::Done; });
    if (job->error)
        std::rethrow_exception(job->error);
    return std::move(*result);
}

void ServiceStore::createTables(Connection& c)
{
    const QString serial = m_postgres ? QStringLiteral("BIGSERIAL PRIMARY KEY")
                                      : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    const QStringList tables = {
        QStringLiteral("CREATE TABLE IF NOT EXISTS ids (id INTEGER PRIMARY KEY, issued TEXT NOT NULL)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS messages (seq %1, id INTEGER NOT NULL, text TEXT NOT NULL,"
                       " queued TEXT NOT NULL, delivered TEXT)").arg(serial),
        QStringLiteral("CREATE INDEX IF NOT EXISTS messages_waiting ON messages (id, delivered, seq)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS inbox (seq %1, id INTEGER NOT NULL, theme TEXT NOT NULL,"
                       " email TEXT NOT NULL, message TEXT NOT NULL, received TEXT NOT NULL,"
                       " remote TEXT NOT NULL)").arg(serial),
        QStringLiteral("CREATE TABLE IF NOT EXISTS logs (seq %1, text TEXT NOT NULL, received TEXT NOT NULL,"
                       " remote TEXT NOT NULL)").arg(serial),
        QStringLiteral("CREATE TABLE IF NOT EXISTS counters (name TEXT PRIMARY KEY, count BIGINT NOT NULL)"),
    };
    for (const QString& sql : tables)
        Query(c.name, sql);
    for (const Counter counter : {Counter::Checks, Counter::Downloads})
        Query(c.name, m_postgres ? QStringLiteral("INSERT INTO counters VALUES (?, 0) ON CONFLICT DO NOTHING")
                                 : QStringLiteral("INSERT OR IGNORE INTO counters VALUES (?, 0)"),
              {counterName(counter)});
}

std::int32_t ServiceStore::createId(const QDateTime& now)
{
    return withDatabase<std::int32_t>([&](Connection& c) {
        // Random rather than counted, so that nobody reads another user's
        // messages by trying the numbers next to their own.
        for (int attempt = 0; attempt < 20; ++attempt) {
            const auto id = static_cast<std::int32_t>(
                QRandomGenerator::system()->bounded(1, std::numeric_limits<std::int32_t>::max()));
            Query taken(c.name, QStringLiteral("SELECT 1 FROM ids WHERE id = ?"), {id});
            if (taken->next())
                continue;
            try {
                Query(c.name, QStringLiteral("INSERT INTO ids (id, issued) VALUES (?, ?)"), {id, stamp(now)});
                return id;
            } catch (const StoreUnavailable&) {
                throw;
            } catch (const StoreError&) {
                // Issued by another instance between the look and the insert.
                Query again(c.name, QStringLiteral("SELECT 1 FROM ids WHERE id = ?"), {id});
                if (!again->next())
                    throw;
            }
        }
        throw StoreError("no free ID found");
    });
}

std::optional<QueuedMessage> ServiceStore::nextMessage(std::int32_t id)
{
    return withDatabase<std::optional<QueuedMessage>>([&](Connection& c) -> std::optional<QueuedMessage> {
        Query next(c.name, QStringLiteral("SELECT seq, text FROM messages WHERE id = ? AND delivered IS NULL"
                                          " ORDER BY seq LIMIT 1"),
                   {id});
        if (!next->next())
            return std::nullopt;
        return QueuedMessage{next->value(0).toLongLong(), next->value(1).toString()};
    });
}

void ServiceStore::markDelivered(qint64 seq, const QDateTime& now)
{
    // Nobody waits for it: the HTTP layer calls this when an answer has gone
    // out, on a thread that has other connections to serve.
    auto job = std::make_shared<Job>();
    job->deadline = Clock::now() + std::chrono::milliseconds(kDatabaseWaitMs);
    job->work = [seq, at = stamp(now)](Connection& c) {
        Query(c.name, QStringLiteral("UPDATE messages SET delivered = ? WHERE seq = ? AND delivered IS NULL"),
              {at, seq});
    };
    std::lock_guard<std::mutex> lock(m_queueMutex);
    m_queue.push_back(std::move(job));
    m_queueChanged.notify_one();
}

void ServiceStore::queueMessage(std::int32_t id, const QString& text, const QDateTime& now)
{
    withDatabase<bool>([&](Connection& c) {
        Query(c.name, QStringLiteral("INSERT INTO messages (id, text, queued) VALUES (?, ?, ?)"),
              {id, text, stamp(now)});
        return true;
    });
}

int ServiceStore::queueMessageForAll(const QString& text, const QDateTime& now)
{
    return withDatabase<int>([&](Connection& c) {
        Query insert(c.name, QStringLiteral("INSERT INTO messages (id, text, queued) SELECT id, ?, ? FROM ids"),
                     {text, stamp(now)});
        return insert->numRowsAffected();
    });
}

bool ServiceStore::idIssued(std::int32_t id)
{
    return withDatabase<bool>([&](Connection& c) {
        Query q(c.name, QStringLiteral("SELECT 1 FROM ids WHERE id = ?"), {id});
        return q->next();
    });
}

void ServiceStore::addFeedback(const Feedback& f)
{
    withDatabase<bool>([&](Connection& c) {
        // An empty text may come as a null one, which SQL would take for no value.
        Query(c.name, QStringLiteral("INSERT INTO inbox (id, theme, email, message, received, remote) VALUES"
                                     " (?, COALESCE(?, ''), COALESCE(?, ''), COALESCE(?, ''), ?, COALESCE(?, ''))"),
              {f.id, f.theme, f.email, f.message, stamp(f.received), f.remote});
        return true;
    });
}

void ServiceStore::addLog(const UploadedLog& log)
{
    withDatabase<bool>([&](Connection& c) {
        Query(c.name,
              QStringLiteral("INSERT INTO logs (text, received, remote) VALUES (COALESCE(?, ''), ?, COALESCE(?, ''))"),
              {log.text, stamp(log.received), log.remote});
        return true;
    });
}

void ServiceStore::count(Counter counter)
{
    withDatabase<bool>([&](Connection& c) {
        Query(c.name, QStringLiteral("UPDATE counters SET count = count + 1 WHERE name = ?"), {counterName(counter)});
        return true;
    });
}

Stats ServiceStore::stats()
{
    return withDatabase<Stats>([&](Connection& c) {
        Stats s;
        s.ids = Query(c.name, QStringLiteral("SELECT COUNT(*) FROM ids")).single();
        Query counters(c.name, QStringLiteral("SELECT name, count FROM counters"));
        while (counters->next()) {
            const QString name = counters->value(0).toString();
            (name == counterName(Counter::Checks) ? s.checks : s.downloads) = counters->value(1).toLongLong();
        }
        return s;
    });
}

namespace {

// The condition and order of a listing, and its values.
QString listingTail(const ListingRange& range, QVariantList* values)
{
    QString sql;
    if (range.since.isValid()) {
        sql += QStringLiteral(" WHERE received >= ?");
        *values << stamp(range.since);
    }
    sql += QStringLiteral(" ORDER BY seq DESC");
    if (range.limit >= 0) {
        sql += QStringLiteral(" LIMIT ?");
        *values << range.limit;
    }
    return sql;
}

} // namespace

void ServiceStore::inbox(const ListingRange& range, const std::function<void(const Feedback&)>& each)
{
    withDatabase<bool>([&](Connection& c) {
        QVariantList values;
        const QString tail = listingTail(range, &values);
        Query q(c.name, QStringLiteral("SELECT id, theme, email, message, received, remote FROM inbox") + tail, values,
                true);
        while (q->next())
            each({q->value(0).toInt(), q->value(1).toString(), q->value(2).toString(), q->value(3).toString(),
                  fromStamp(q->value(4).toString()), q->value(5).toString()});
        return true;
    });
}

void ServiceStore::logs(const ListingRange& range, const std::function<void(const UploadedLog&)>& each)
{
    withDatabase<bool>([&](Connection& c) {
        QVariantList values;
        const QString tail = listingTail(range, &values);
        Query q(c.name, QStringLiteral("SELECT text, received, remote FROM logs") + tail, values, true);
        while (q->next())
            each({q->value(0).toString(), fromStamp(q->value(1).toString()), q->value(2).toString()});
        return true;
    });
}

QList<Feedback> ServiceStore::inbox(const ListingRange& range)
{
    QList<Feedback> out;
    inbox(range, [&out](const Feedback& f) { out.append(f); });
    return out;
}

QList<UploadedLog> ServiceStore::logs(const ListingRange& range)
{
    QList<UploadedLog> out;
    logs(range, [&out](const UploadedLog& l) { out.append(l); });
    return out;
}

Purged ServiceStore::purge(const QDateTime& before)
{
    return withDatabase<Purged>([&](Connection& c) {
        const QVariantList at = {stamp(before)};
        Purged p;
        p.replies = Query(c.name, QStringLiteral("DELETE FROM inbox WHERE received < ?"), at)->numRowsAffected();
        p.logs = Query(c.name, QStringLiteral("DELETE FROM logs WHERE received < ?"), at)->numRowsAffected();
        p.messages = Query(c.name, QStringLiteral("DELETE FROM messages WHERE delivered < ?"), at)->numRowsAffected();
        return p;
    });
}

qint64 ServiceStore::queuedMessages()
{
    return withDatabase<qint64>([&](Connection& c) {
        return Query(c.name, QStringLiteral("SELECT COUNT(*) FROM messages WHERE delivered IS NULL")).single();
    });
}

} // namespace zel::service
