// What the service keeps: issued user IDs, the messages queued for them,
// replies and feedback, uploaded logs and the statistics counters. One SQLite
// file (WAL) or one PostgreSQL database; every value reaches SQL bound.
#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>

namespace zel::service {

// A storage failure; the request it belongs to is answered with an error.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

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

// Thread-safe: one connection, one request at a time. Several processes may
// share the data (SQLite waits for the file's lock, PostgreSQL serialises).
class ServiceStore {
public:
    // Opens (and creates where missing) the tables; throws StoreError.
    explicit ServiceStore(const StoreLocation& where);
    ~ServiceStore();
    ServiceStore(const ServiceStore&) = delete;
    ServiceStore& operator=(const ServiceStore&) = delete;

    // A new, never issued ID: positive and hard to guess.
    std::int32_t createId(const QDateTime& now);
    // The oldest message not yet handed out for the ID, now marked as handed out.
    std::optional<QString> takeMessage(std::int32_t id, const QDateTime& now);
    void queueMessage(std::int32_t id, const QString& text, const QDateTime& now);
    // One message for every issued ID; how many were queued.
    int queueMessageForAll(const QString& text, const QDateTime& now);
    bool idIssued(std::int32_t id);
    void addFeedback(const Feedback& feedback);
    void addLog(const UploadedLog& log);
    void count(Counter counter);
    Stats stats();
    // Newest first.
    QList<Feedback> inbox();
    QList<UploadedLog> logs();

    // Messages not yet handed out, for every ID.
    qint64 queuedMessages();
    // Storage operations that failed since the start.
    qint64 databaseErrors() const;

    bool isPostgres() const { return m_postgres; }

private:
    class Query;
    void createTables();

    std::mutex m_mutex;
    QString m_connection;
    QSqlDatabase m_db;
    bool m_postgres = false;
};

} // namespace zel::service
