// The server base on PostgreSQL. Two tables: zelmora_version (one row, the
// tables' version) and zelmora_records (the six fields of the file base, who
// saved and on which computer, and the key of a record copied from a file).
// Each change is one transaction and ends with a NOTIFY, so that every open
// base window re-reads what it shows.
#include "base/platform/pgbase.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QEventLoop>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QThread>
#include <QVariant>

#include <atomic>
#include <thread>

#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

namespace zel {
namespace {

const QString kDriver = QStringLiteral("QPSQL");
const QString kChannel = QStringLiteral("zelmora_base");
// libpq takes the password, SSL and service settings from its own files and
// the environment; the program only bounds the wait.
const QString kOptions = QStringLiteral("connect_timeout=5");
// Any number, the same in every program: first users wait for each other.
constexpr qint64 kSchemaLock = 0x7a656c6d6f7261;

const char* const kFields = "no, to_char(datetime, 'YYYY-MM-DD\"T\"HH24:MI:SS.MS'), category, name, volume, notes,"
                            " who, computer";

QString uniqueName()
{
    static QAtomicInt counter;
    return QStringLiteral("zelmora-server-%1").arg(counter.fetchAndAddRelaxed(1));
}

QSqlDatabase addConnection(const ServerPlace& place, const QString& name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(kDriver, name);
    const HostPort hp = splitServer(place.server);
    db.setHostName(hp.host);
    if (hp.port > 0)
        db.setPort(hp.port);
    db.setDatabaseName(place.database.trimmed());
    db.setUserName(place.user.trimmed());
    db.setConnectOptions(kOptions);
    return db;
}

// A connection for one task on the calling thread, removed again afterwards.
class OneConnection {
public:
    explicit OneConnection(const ServerPlace& place)
        : m_name(uniqueName())
    {
        QSqlDatabase db = addConnection(place, m_name);
        if (!db.open())
            m_error = db.lastError().text();
    }
    ~OneConnection()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    QString error() const { return m_error; }
    bool ok() const { return m_error.isNull(); }

private:
    QString m_name;
    QString m_error;
};

BaseRecord readRecord(const QSqlQuery& q)
{
    BaseRecord r;
    r.No = q.value(0).toLongLong();
    r.DateTime = QDateTime::fromString(q.value(1).toString(), Qt::ISODateWithMs);
    r.Category = q.value(2).toString();
    r.Name = q.value(3).toString();
    r.volume = q.value(4).toDouble();
    r.Notes = q.value(5).toString();
    r.Who = q.value(6).toString();
    r.Computer = q.value(7).toString();
    return r;
}

QString stamp(const QDateTime& when)
{
    return when.isValid() ? when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) : QString();
}

// A failed statement: the server refused it, or the connection went away.
class StepFailed : public BaseError {
public:
    using BaseError::BaseError;
};

void exec(QSqlQuery& q, const QString& sql = {})
{
    const bool ok = sql.isEmpty() ? q.exec() : q.exec(sql);
    if (ok)
        return;
    throw StepFailed(q.lastError().text());
}

bool connectionAlive(const QSqlDatabase& db)
{
    if (!db.isOpen())
        return false;
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT 1")) && q.next();
}

// Whether libpq still counts the connection as made, from the connection's
// own state: a query would wait for ever on a server that vanished without a
// word. libpq is loaded, by the driver, whenever a connection is open.
bool connectionUp(const QSqlDatabase& db)
{
    using Status = int (*)(const void*);
    static Status status = nullptr;
    if (!status) {
        if (void* libpq = dlopen("libpq.so.5", RTLD_NOW | RTLD_NOLOAD))
            status = reinterpret_cast<Status>(dlsym(libpq, "PQstatus"));
    }
    const QVariant handle = db.driver()->handle();
    if (!status || qstrcmp(handle.typeName(), "PGconn*") != 0)
        return db.isOpen();
    const void* connection = *static_cast<void* const*>(handle.constData());
    constexpr int connectionOk = 0; // CONNECTION_OK
    return connection && status(connection) == connectionOk;
}

// The version of the tables, making them in an empty database.
void ensureTables(QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!db.transaction())
        throw StepFailed(db.lastError().text());
    try {
        q.prepare(QStringLiteral("SELECT pg_advisory_xact_lock(?)"));
        q.addBindValue(kSchemaLock);
        exec(q);
        exec(q, QStringLiteral("SELECT to_regclass('zelmora_version') IS NOT NULL,"
                               " to_regclass('zelmora_records') IS NOT NULL"));
        q.next();
        const bool versioned = q.value(0).toBool();
        const bool records = q.value(1).toBool();
        if (!versioned) {
            if (records)
                throw BaseRefused(BaseRefused::NotABase, 0,
                                  QStringLiteral("zelmora_records is there without zelmora_version"));
            exec(q, QStringLiteral("CREATE TABLE zelmora_version (version integer NOT NULL)"));
            exec(q, QStringLiteral("INSERT INTO zelmora_version VALUES (%1)").arg(kServerBaseVersion));
            exec(q, QStringLiteral("CREATE TABLE zelmora_records ("
                                   " no bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,"
                                   " datetime timestamp(3),"
                                   " category varchar(20),"
                                   " name varchar(30),"
                                   " volume double precision,"
                                   " notes text,"
                                   " who text,"
                                   " computer text,"
                                   " source text UNIQUE)"));
        } else {
            exec(q, QStringLiteral("SELECT max(version) FROM zelmora_version"));
            const int version = q.next() ? q.value(0).toInt() : 0;
            if (version > kServerBaseVersion)
                throw BaseRefused(BaseRefused::LaterVersion, version,
                                  QStringLiteral("the base's version is %1, this program's %2")
                                      .arg(version).arg(kServerBaseVersion));
        }
        if (!db.commit())
            throw StepFailed(db.lastError().text());
    } catch (...) {
        db.rollback();
        throw;
    }
}

void notifyChange(QSqlQuery& q)
{
    exec(q, QStringLiteral("SELECT pg_notify('%1', '')").arg(kChannel));
}

} // namespace

PgServerBase::PgServerBase(const ServerPlace& place)
    : m_place(place)
    , m_name(uniqueName())
{
}

PgServerBase::~PgServerBase()
{
    close();
}

bool PgServerBase::listening()
{
    if (!m_open)
        return false;
    if (connectionUp(QSqlDatabase::database(m_name, false)))
        return true;
    close();
    return false;
}

bool PgServerBase::available()
{
    return QSqlDatabase::isDriverAvailable(kDriver);
}

void PgServerBase::close()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen() && db.driver()->subscribedToNotifications().contains(kChannel))
            db.driver()->unsubscribeFromNotification(kChannel);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_open = false;
}

void PgServerBase::open()
{
    if (m_open)
        return;
    if (!available())
        throw BaseUnreachable(QStringLiteral("Qt's PostgreSQL driver (QPSQL) is not installed"));
    // The first contact, which may wait up to the time-out, is made aside;
    // once the server has answered, this thread's own connection is quick.
    QString why;
    runAside([&] {
        OneConnection probe(m_place);
        why = probe.error();
    });
    if (!why.isNull())
        throw BaseUnreachable(why);
    close();
    QString unreachable;
    QString failed;
    {
        QSqlDatabase db = addConnection(m_place, m_name);
        if (!db.open()) {
            unreachable = db.lastError().text();
        } else {
            try {
                ensureTables(db);
                if (db.driver()->subscribeToNotification(kChannel)) {
                    QObject::connect(db.driver(), &QSqlDriver::notification, &m_context,
                                     [this](const QString& channel, QSqlDriver::NotificationSource source,
                                            const QVariant&) {
                                         // Our own changes the caller knows of already.
                                         if (channel == kChannel && source != QSqlDriver::SelfSource && m_changed)
                                             m_changed();
                                     });
                }
                m_open = true;
                return;
            } catch (const BaseRefused&) {
                db = QSqlDatabase();
                close();
                throw;
            } catch (const std::exception& e) {
                failed = QString::fromUtf8(e.what());
            }
        }
    }
    close();
    if (!unreachable.isNull())
        throw BaseUnreachable(unreachable);
    throw BaseError(failed);
}

template <typename Step>
auto PgServerBase::retried(Step step)
{
    for (int attempt = 0;; ++attempt) {
        open();
        QString failed;
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            try {
                return step(db);
            } catch (const StepFailed& e) {
                failed = QString::fromUtf8(e.what());
                db.rollback();
                if (connectionAlive(db))
                    throw BaseError(failed);
            }
        }
        close();
        if (attempt > 0)
            throw BaseUnreachable(failed);
    }
}

std::vector<BaseRecord> PgServerBase::select(const QString& where, const QVariantList& values)
{
    return retried([&](QSqlDatabase& db) {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT %1 FROM zelmora_records %2").arg(QLatin1String(kFields), where));
        for (const QVariant& v : values)
            q.addBindValue(v);
        exec(q);
        std::vector<BaseRecord> out;
        while (q.next())
            out.push_back(readRecord(q));
        return out;
    });
}

std::vector<BaseRecord> PgServerBase::page(qint64 below, int count)
{
    // By the number, on its index: the first page of any base is as quick.
    if (below > 0)
        return select(QStringLiteral("WHERE no < ? ORDER BY no DESC LIMIT ?"), {below, count});
    return select(QStringLiteral("ORDER BY no DESC LIMIT ?"), {count});
}

std::vector<BaseRecord> PgServerBase::since(qint64 from)
{
    return select(QStringLiteral("WHERE no >= ? ORDER BY no DESC"), {from});
}

std::optional<BaseRecord> PgServerBase::record(qint64 no)
{
    std::vector<BaseRecord> found = select(QStringLiteral("WHERE no = ?"), {no});
    if (found.empty())
        return std::nullopt;
    return found.front();
}

namespace {

void bindRecord(QSqlQuery& q, const BaseRecord& r, const QString& who, const QString& computer)
{
    q.addBindValue(stamp(r.DateTime));
    q.addBindValue(r.Category.left(kCategoryWidth));
    q.addBindValue(r.Name.left(kNameWidth));
    q.addBindValue(r.volume);
    q.addBindValue(r.Notes);
    q.addBindValue(who);
    q.addBindValue(computer);
}

const char* const kInsert = "INSERT INTO zelmora_records (datetime, category, name, volume, notes, who, computer%1)"
                            " VALUES (NULLIF(?, '')::timestamp, ?, ?, ?, ?, ?, ?%2)";

} // namespace

qint64 PgServerBase::add(const BaseRecord& record)
{
    return retried([&](QSqlDatabase& db) {
        if (!db.transaction())
            throw StepFailed(db.lastError().text());
        QSqlQuery q(db);
        q.prepare(QLatin1String(kInsert).arg(QString(), QString()) + QStringLiteral(" RETURNING no"));
        bindRecord(q, record, record.Who.isEmpty() ? loginName() : record.Who,
                   record.Computer.isEmpty() ? computerName() : record.Computer);
        exec(q);
        q.next();
        const qint64 no = q.value(0).toLongLong();
        notifyChange(q);
        if (!db.commit())
            throw StepFailed(db.lastError().text());
        return no;
    });
}

bool PgServerBase::remove(qint64 no)
{
    return retried([&](QSqlDatabase& db) {
        if (!db.transaction())
            throw StepFailed(db.lastError().text());
        QSqlQuery q(db);
        q.prepare(QStringLiteral("DELETE FROM zelmora_records WHERE no = ?"));
        q.addBindValue(no);
        exec(q);
        const bool gone = q.numRowsAffected() > 0;
        notifyChange(q);
        if (!db.commit())
            throw StepFailed(db.lastError().text());
        return gone;
    });
}

int PgServerBase::copyIn(const std::vector<BaseRecord>& records, const QString& computer)
{
    return retried([&](QSqlDatabase& db) {
        if (!db.transaction())
            throw StepFailed(db.lastError().text());
        QSqlQuery q(db);
        q.prepare(QLatin1String(kInsert).arg(QStringLiteral(", source"), QStringLiteral(", ?"))
                  + QStringLiteral(" ON CONFLICT (source) DO NOTHING"));
        const QString who = loginName();
        int added = 0;
        for (const BaseRecord& r : records) {
            bindRecord(q, r, who, computer);
            q.addBindValue(sourceKey(computer, r));
            exec(q);
            added += q.numRowsAffected() > 0 ? 1 : 0;
        }
        if (added > 0)
            notifyChange(q);
        if (!db.commit())
            throw StepFailed(db.lastError().text());
        return added;
    });
}

ServerAccess testServerAccess(const ServerPlace& place)
{
    ServerAccess access;
    if (!PgServerBase::available()) {
        access.detail = QStringLiteral("Qt's PostgreSQL driver (QPSQL) is not installed");
        return access;
    }
    OneConnection c(place);
    if (!c.ok()) {
        access.detail = c.error();
        return access;
    }
    access.answers = true;
    QSqlQuery q(c.db());
    if (!q.exec(QStringLiteral("SELECT to_regclass('zelmora_records') IS NOT NULL")) || !q.next()) {
        access.detail = q.lastError().text();
        return access;
    }
    if (q.value(0).toBool()) {
        if (q.exec(QStringLiteral("SELECT max(version) FROM zelmora_version")) && q.next()
            && q.value(0).toInt() > kServerBaseVersion) {
            access.detail = QStringLiteral("the base's version is %1, this program's %2")
                                .arg(q.value(0).toInt()).arg(kServerBaseVersion);
            return access;
        }
        q.exec(QStringLiteral("SELECT has_table_privilege('zelmora_records', 'SELECT')"
                              " AND has_table_privilege('zelmora_records', 'INSERT')"
                              " AND has_table_privilege('zelmora_records', 'DELETE')"
                              " AND has_table_privilege('zelmora_version', 'SELECT'), current_user"));
        access.detail = QStringLiteral("%1 needs SELECT, INSERT and DELETE on zelmora_records"
                                       " and SELECT on zelmora_version");
    } else {
        // An empty database: the program makes its tables there.
        q.exec(QStringLiteral("SELECT has_schema_privilege(current_schema(), 'CREATE'), current_user"));
        access.detail = QStringLiteral("%1 may not create the base's tables in this database");
    }
    if (q.isActive() && q.next()) {
        access.readWrite = q.value(0).toBool();
        access.detail = access.readWrite ? QString() : access.detail.arg(q.value(1).toString());
    } else {
        access.detail = q.lastError().text();
    }
    return access;
}

std::unique_ptr<IServerBase> PgServerBases::base(const ServerPlace& place)
{
    return std::make_unique<PgServerBase>(place);
}

ServerAccess PgServerBases::test(const ServerPlace& place)
{
    ServerAccess access;
    runAside([&] { access = testServerAccess(place); });
    return access;
}

QString PgServerBases::computer() const
{
    return computerName();
}

void runAside(const std::function<void()>& work)
{
    // Off the main thread nobody waits on the screen for it.
    if (!QCoreApplication::instance() || QThread::currentThread() != QCoreApplication::instance()->thread()) {
        work();
        return;
    }
    QEventLoop loop;
    std::atomic<bool> done{false};
    std::thread aside([&] {
        work();
        done = true;
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    // The quit may come before the loop runs; the flag says so.
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    aside.join();
}

QString loginName()
{
    if (const passwd* pw = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

QString computerName()
{
    return QSysInfo::machineHostName();
}

} // namespace zel
