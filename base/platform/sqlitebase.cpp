// The calculation base in SQLite: one table "records" with the six fields.
// SQLite's own journal makes every save all-or-nothing.
#include "base/platform/sqlitebase.h"

#include <QAtomicInt>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace zel {
namespace {

const QString kDriver = QStringLiteral("QSQLITE");

// One connection for one access, removed again afterwards.
class Connection {
public:
    Connection(const QString& path, bool readOnly)
        : m_name(QStringLiteral("zelmora-base-%1").arg(counter().fetchAndAddRelaxed(1)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, m_name);
        db.setDatabaseName(path);
        if (readOnly)
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        m_ok = db.open();
        if (!m_ok)
            m_error = db.lastError().text();
    }
    ~Connection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    bool ok() const { return m_ok; }
    QString error() const { return m_error; }

private:
    static QAtomicInt& counter()
    {
        static QAtomicInt c;
        return c;
    }
    QString m_name;
    bool m_ok = false;
    QString m_error;
};

const char* const kCreate =
    "CREATE TABLE IF NOT EXISTS records ("
    " No INTEGER PRIMARY KEY AUTOINCREMENT,"
    " DateTime TEXT,"
    " Category VARCHAR(20),"
    " Name VARCHAR(30),"
    " volume DOUBLE,"
    " Notes TEXT)";

[[noreturn]] void fail(const QString& path, const QString& what)
{
    throw BaseError(QStringLiteral("\"%1\": %2").arg(path, what));
}

} // namespace

bool SqliteBaseFile::available() const
{
    return QSqlDatabase::isDriverAvailable(kDriver);
}

BaseContents SqliteBaseFile::load(const QString& path)
{
    BaseContents contents;
    if (!QFile::exists(path))
        return contents;
    // A save cut short (the program killed, the machine off) leaves its
    // journal beside the file. Only a connection that may write plays it
    // back, which puts the base as it was before that save; read-only, the
    // file would be taken for damaged and never written again.
    if (QFile::exists(path + QStringLiteral("-journal"))) {
        Connection rollback(path, false);
        if (rollback.ok())
            QSqlQuery(rollback.db()).exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    }
    // Read-only: a file that turns out to be no base must stay as it is.
    Connection c(path, true);
    if (!c.ok())
        fail(path, c.error());
    QSqlQuery q(c.db());
    if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next()
        || q.value(0).toString() != QLatin1String("ok"))
        fail(path, QStringLiteral("not a calculation base (%1)").arg(q.lastError().text()));
    // What the first save leaves when it was cut short: a database with
    // nothing in it yet, which holds no records.
    if (q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && q.next() && q.value(0).toInt() == 0)
        return contents;
    // Field names without regard to case, as SQL has them.
    if (!q.exec(QStringLiteral("SELECT No, DateTime, Category, Name, volume, Notes FROM records ORDER BY No")))
        fail(path, QStringLiteral("not a calculation base (%1)").arg(q.lastError().text()));
    while (q.next()) {
        BaseRecord r;
        r.No = q.value(0).toLongLong();
        r.DateTime = QDateTime::fromString(q.value(1).toString(), Qt::ISODate);
        r.Category = q.value(2).toString();
        r.Name = q.value(3).toString();
        r.volume = q.value(4).toDouble();
        r.Notes = q.value(5).toString();
        contents.records.push_back(r);
    }
    // Numbers are never given twice, even after the last record was deleted.
    if (q.exec(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = 'records'")) && q.next())
        contents.nextNo = q.value(0).toLongLong() + 1;
    return contents;
}

void SqliteBaseFile::save(const QString& path, const std::vector<BaseRecord>& added,
                          const QList<qint64>& deleted)
{
    const bool existed = QFile::exists(path);
    bool ok = false;
    QString error;
    {
        Connection c(path, false);
        ok = c.ok();
        error = c.error();
        if (ok) {
            QSqlDatabase db = c.db();
            QSqlQuery q(db);
            ok = db.transaction() && q.exec(QLatin1String(kCreate));
            if (ok) {
                q.prepare(QStringLiteral("DELETE FROM records WHERE No = ?"));
                for (qint64 no : deleted) {
                    q.addBindValue(no);
                    if (!(ok = q.exec()))
                        break;
                }
            }
            if (ok) {
                q.prepare(QStringLiteral("INSERT INTO records (No, DateTime, Category, Name, volume, Notes)"
                                         " VALUES (?, ?, ?, ?, ?, ?)"));
                for (const BaseRecord& r : added) {
                    q.addBindValue(r.No);
                    q.addBindValue(r.DateTime.toString(Qt::ISODate));
                    q.addBindValue(r.Category.left(kCategoryWidth));
                    q.addBindValue(r.Name.left(kNameWidth));
                    q.addBindValue(r.volume);
                    q.addBindValue(r.Notes);
                    if (!(ok = q.exec()))
                        break;
                }
            }
            if (ok)
                ok = db.commit();
            if (!ok) {
                error = q.lastError().isValid() ? q.lastError().text() : db.lastError().text();
                db.rollback();
            }
        }
    }
    if (ok)
        return;
    if (!existed)
        QFile::remove(path); // no empty or half-made base left behind
    fail(path, error);
}

} // namespace zel
