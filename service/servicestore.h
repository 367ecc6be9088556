// What the service keeps: issued user IDs, the messages queued for them,
// replies and feedback, uploaded logs and the statistics counters. One SQLite
// file (WAL) or one PostgreSQL database; every value reaches SQL bound.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

namespace zel::service {

// A storage failure; the request it belongs to is answered with an error.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The database cannot answer now: its server is away or restarting, or it
// stayed locked for longer than kDatabaseWaitMs. Worth asking again later.
class StoreUnavailable : public StoreError {
public:
    using StoreError::StoreError;
};

// The longest a request waits for the database (its lock, a statement)
// before it is given up as unavailable.
constexpr int kDatabaseWaitMs = 5000;

// Where the data lives: a SQLite file, or a PostgreSQL connection string
// ("host=/run/postgresql dbname=zelmora user=zelmora").
struct StoreLocation {
    QString sqliteFile;
    QString pgConninfo;
};

struct Feedback {
    std::int32_t id = 0;
    QString theme;
    QString email;
    QString message; // as the program sends it: the comma text of its lines
    QDateTime received;
    QString remote;
};

struct UploadedLog {
    QString text; // the comma text of the log's lines
    QDateTime received;
    QString remote;
};

struct Stats {
    qint64 ids = 0;
    qint64 checks = 0;
    qint64 downloads = 0;
};

// The statistics the program counts with "/send.php?file=".
enum class Counter { Checks, Downloads };

struct QueuedMessage {
    qint64 seq = 0; // what markDelivered takes
    QString text;
};

// Which rows of a listing, newest first: those received at or after `since`
// (when valid), at most `limit` of them (when not negative).
struct ListingRange {
    QDateTime since;
    qint64 limit = -1;
};

struct Purged {
    qint64 replies = 0;
    qint64 logs = 0;
    qint64 messages = 0;
};

// Thread-safe. The database is worked by threads of the store's own, each
// with its connection (Qt SQL ties a connection to the thread that opened
// it): one for SQLite, which writes one at a time anyway, a few for
// PostgreSQL, whatever the number of threads that call. A connection the
// server dropped is opened again. Several processes may share the data.
class ServiceStore {
public:
    // Opens (and creates where missing) the tables; throws StoreError. A
    // store that answers requests gives up a PostgreSQL statement after
    // kDatabaseWaitMs; one of the admin's lets a long listing run.
    explicit ServiceStore(const StoreLocation& where, bool answersRequests = false);
    ~ServiceStore();
    ServiceStore(const ServiceStore&) = delete;
    ServiceStore& operator=(const ServiceStore&) = delete;

    // A new, never issued ID: positive and hard to guess.
    std::int32_t createId(const QDateTime& now);
    // The oldest message not yet delivered to the ID. It stays queued (and a
    // poll in the meantime gets it again) until markDelivered.
    std::optional<QueuedMessage> nextMessage(std::int32_t id);
    // Returns at once; a database thread writes the mark, before any later
    // call of this thread's is worked on SQLite. A failure leaves the
    // message queued (sent again) and counts in databaseErrors.
    void markDelivered(qint64 seq, const QDateTime& now);
    void queueMessage(std::int32_t id, const QString& text, const QDateTime& now);
    // One message for every issued ID; how many were queued.
    int queueMessageForAll(const QString& text, const QDateTime& now);
    bool idIssued(std::int32_t id);
    void addFeedback(const Feedback& feedback);
    void addLog(const UploadedLog& log);
    void count(Counter counter);
    Stats stats();
    // Newest first, one row at a time: never all of them in memory.
    void inbox(const ListingRange& range, const std::function<void(const Feedback&)>& each);
    void logs(const ListingRange& range, const std::function<void(const UploadedLog&)>& each);
    // The same gathered in a list, for a few rows.
    QList<Feedback> inbox(const ListingRange& range = {});
    QList<UploadedLog> logs(const ListingRange& range = {});
    // Removes replies, logs and delivered messages from before `before`.
    Purged purge(const QDateTime& before);
    // Messages waiting for their users.
    qint64 queuedMessages();
    // Database operations that failed since the start.
    qint64 databaseErrors() const { return m_errors.load(); }

    bool isPostgres() const { return m_postgres; }

private:
    class Query;
    struct Connection {
        QString name;
        int busyMs = kDatabaseWaitMs; // SQLite's busy timeout as last set
    };
    struct Job;
    // Runs `work` on a database thread; throws StoreUnavailable when none
    // takes it up within kDatabaseWaitMs.
    template <typename Result>
    Result withDatabase(const std::function<Result(Connection&)>& work);
    void serveJobs(int number);
    void runJob(Job& job, Connection& c);
    void open(Connection& c);
    bool alive(Connection& c);
    void createTables(Connection& c);
    void stopThreads();

    QString m_prefix;
    StoreLocation m_where;
    bool m_postgres = false;
    bool m_answersRequests = false;
    std::atomic<qint64> m_errors{0};
    std::mutex m_queueMutex;
    std::condition_variable m_queueChanged;
    std::deque<std::shared_ptr<Job>> m_queue;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

} // namespace zel::service
