// What the service keeps.
#include "service/servicestore.h"

#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <limits>

namespace zel::service {
namespace {

std::atomic<int> g_connections{0};

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

// Failed statements of the process, for the metrics.
std::atomic<qint64> g_databaseErrors{0};

} // namespace

// A prepared statement that throws on failure, values bound in order.
class ServiceStore::Query {
public:
    Query(QSqlDatabase& db, const QString& sql, const QVariantList& values = {})
        : m_query(db)
    {
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

private:
    [[noreturn]] void fail(const QString& sql)
    {
        ++g_databaseErrors;
        throw StoreError((sql.section(QLatin1Char(' '), 0, 2) + QStringLiteral(": ")
                          + m_query.lastError().text()).toStdString());
    }
    QSqlQuery m_query;
};

ServiceStore::ServiceStore(const StoreLocation& where)
    : m_connection(QStringLiteral("zelmora-service-%1").arg(++g_connections))
    , m_postgres(!where.pgConninfo.isEmpty())
{
    m_db = QSqlDatabase::addDatabase(m_postgres ? QStringLiteral("QPSQL") : QStringLiteral("QSQLITE"),
                                     m_connection);
    if (m_postgres) {
        // The driver appends its connect options to the connection string as they are.
        m_db.setConnectOptions(where.pgConninfo);
    } else {
        m_db.setDatabaseName(where.sqliteFile);
        // Another process (an admin command next to the running service)
        // may hold the file's lock for a moment.
        m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    }
    if (!m_db.isValid() || !m_db.open()) {
        const QString why = m_db.isValid() ? m_db.lastError().text()
                                           : QStringLiteral("no Qt SQL driver for ")
                                                 + (m_postgres ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite"));
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        throw StoreError(why.toStdString());
    }
    try {
        if (m_postgres) {
            // "Table already exists" notices would reach every admin command's output.
            Query(m_db, QStringLiteral("SET client_min_messages TO WARNING"));
        } else {
            // The write-ahead log keeps every committed answer across a crash
            // of the process; NORMAL syncs at checkpoints, not at every commit.
            Query(m_db, QStringLiteral("PRAGMA journal_mode=WAL"));
            Query(m_db, QStringLiteral("PRAGMA synchronous=NORMAL"));
        }
        createTables();
    } catch (...) {
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        throw;
    }
}

ServiceStore::~ServiceStore()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connection);
}

void ServiceStore::createTables()
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
        Query(m_db, sql);
    for (const Counter c : {Counter::Checks, Counter::Downloads})
        Query(m_db, m_postgres ? QStringLiteral("INSERT INTO counters VALUES (?, 0) ON CONFLICT DO NOTHING")
                               : QStringLiteral("INSERT OR IGNORE INTO counters VALUES (?, 0)"),
              {counterName(c)});
}

std::int32_t ServiceStore::createId(const QDateTime& now)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // Random rather than counted, so that nobody reads another user's
    // messages by trying the numbers next to their own.
    for (int attempt = 0; attempt < 20; ++attempt) {
        const auto id = static_cast<std::int32_t>(
            QRandomGenerator::system()->bounded(1, std::numeric_limits<std::int32_t>::max()));
        Query taken(m_db, QStringLiteral("SELECT 1 FROM ids WHERE id = ?"), {id});
        if (taken->next())
            continue;
        try {
            Query(m_db, QStringLiteral("INSERT INTO ids (id, issued) VALUES (?, ?)"), {id, stamp(now)});
            return id;
        } catch (const StoreError&) {
            // Issued by another instance between the look and the insert.
            Query again(m_db, QStringLiteral("SELECT 1 FROM ids WHERE id = ?"), {id});
            if (!again->next())
                throw;
        }
    }
    throw StoreError("no free ID found");
}

std::optional<QString> ServiceStore::takeMessage(std::int32_t id, const QDateTime& now)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (;;) {
        Query next(m_db, QStringLiteral("SELECT seq, text FROM messages WHERE id = ? AND delivered IS NULL"
                                        " ORDER BY seq LIMIT 1"),
                   {id});
        if (!next->next())
            return std::nullopt;
        const qint64 seq = next->value(0).toLongLong();
        const QString text = next->value(1).toString();
        // Only one taker wins a message, also among several instances.
        Query mark(m_db, QStringLiteral("UPDATE messages SET delivered = ? WHERE seq = ? AND delivered IS NULL"),
                   {stamp(now), seq});
        if (mark->numRowsAffected() == 1)
            return text;
    }
}

void ServiceStore::queueMessage(std::int32_t id, const QString& text, const QDateTime& now)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Query(m_db, QStringLiteral("INSERT INTO messages (id, text, queued) VALUES (?, ?, ?)"), {id, text, stamp(now)});
}

int ServiceStore::queueMessageForAll(const QString& text, const QDateTime& now)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Query insert(m_db, QStringLiteral("INSERT INTO messages (id, text, queued) SELECT id, ?, ? FROM ids"),
                 {text, stamp(now)});
    return insert->numRowsAffected();
}

bool ServiceStore::idIssued(std::int32_t id)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Query q(m_db, QStringLiteral("SELECT 1 FROM ids WHERE id = ?"), {id});
    return q->next();
}

void ServiceStore::addFeedback(const Feedback& f)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // An empty text may come as a null one, which SQL would take for no value.
    Query(m_db, QStringLiteral("INSERT INTO inbox (id, theme, email, message, received, remote)"
                               " VALUES (?, COALESCE(?, ''), COALESCE(?, ''), COALESCE(?, ''), ?, COALESCE(?, ''))"),
          {f.id, f.theme, f.email, f.message, stamp(f.received), f.remote});
}

void ServiceStore::addLog(const UploadedLog& log)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Query(m_db, QStringLiteral("INSERT INTO logs (text, received, remote) VALUES (COALESCE(?, ''), ?, COALESCE(?, ''))"),
          {log.text, stamp(log.received), log.remote});
}

void ServiceStore::count(Counter counter)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Query(m_db, QStringLiteral("UPDATE counters SET count = count + 1 WHERE name = ?"), {counterName(counter)});
}

qint64 ServiceStore::queuedMessages()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Query q(m_db, QStringLiteral("SELECT COUNT(*) FROM messages WHERE delivered IS NULL"));
    return q->next() ? q->value(0).toLongLong() : 0;
}

qint64 ServiceStore::databaseErrors() const
{
    return g_databaseErrors;
}

Stats ServiceStore::stats()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Stats s;
    Query ids(m_db, QStringLiteral("SELECT COUNT(*) FROM ids"));
    if (ids->next())
        s.ids = ids->value(0).toLongLong();
    Query counters(m_db, QStringLiteral("SELECT name, count FROM counters"));
    while (counters->next()) {
        const QString name = counters->value(0).toString();
        (name == counterName(Counter::Checks) ? s.checks : s.downloads) = counters->value(1).toLongLong();
    }
    return s;
}

QList<Feedback> ServiceStore::inbox()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QList<Feedback> out;
    Query q(m_db, QStringLiteral("SELECT id, theme, email, message, received, remote FROM inbox ORDER BY seq DESC"));
    while (q->next())
        out.append({q->value(0).toInt(), q->value(1).toString(), q->value(2).toString(), q->value(3).toString(),
                    fromStamp(q->value(4).toString()), q->value(5).toString()});
    return out;
}

QList<UploadedLog> ServiceStore::logs()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QList<UploadedLog> out;
    Query q(m_db, QStringLiteral("SELECT text, received, remote FROM logs ORDER BY seq DESC"));
    while (q->next())
        out.append({q->value(0).toString(), fromStamp(q->value(1).toString()), q->value(2).toString()});
    return out;
}

} // namespace zel::service
