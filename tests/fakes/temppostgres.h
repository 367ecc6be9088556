// A PostgreSQL 15 server that a test starts in a temporary folder of its own,
// listening on a Unix socket only, and stops again. A test that cannot start
// it ends as skipped (kSkipped), never as passed.
#pragma once

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

namespace {

constexpr int kSkipped = 77;
// Where the server's programs are; ZEL_PG_BIN names another folder.
const QString kPgBin = qEnvironmentVariable("ZEL_PG_BIN", QStringLiteral("/usr/lib/postgresql/15/bin")) + QLatin1Char('/');

// A PostgreSQL server in a folder of its own, listening on a Unix socket only.
class TempPostgres {
public:
    ~TempPostgres() { stop(); }

    bool start(QString* why)
    {
        if (!m_dir.isValid()) {
            *why = QStringLiteral("no temporary folder");
            return false;
        }
        if (!QFileInfo::exists(kPgBin + QStringLiteral("initdb"))) {
            *why = QStringLiteral("postgresql-15 is not installed (") + kPgBin + QStringLiteral("initdb)");
            return false;
        }
        // The server refuses to run as root: a root test runs it as nobody.
        if (::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            if (!nobody || ::chown(QFile::encodeName(m_dir.path()).constData(), nobody->pw_uid, nobody->pw_gid) != 0) {
                *why = QStringLiteral("cannot hand the folder to the user nobody");
                return false;
            }
            m_asUser = QStringLiteral("nobody");
        }
        const QString data = m_dir.filePath(QStringLiteral("data"));
        if (!run(QStringLiteral("initdb"), {QStringLiteral("-D"), data, QStringLiteral("-A"), QStringLiteral("trust"),
                                            QStringLiteral("-U"), QStringLiteral("zelmora"), QStringLiteral("--no-sync")},
                 why))
            return false;
        return startAgain(why);
    }

    // The server once more on the same data, after stop().
    bool startAgain(QString* why)
    {
        const QString data = m_dir.filePath(QStringLiteral("data"));
        const QString options = QStringLiteral("-k %1 -c listen_addresses='' -c fsync=off").arg(m_dir.path());
        if (!run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), data, QStringLiteral("-o"), options, QStringLiteral("-l"),
                                            m_dir.filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
                                            QStringLiteral("start")},
                 why))
            return false;
        m_running = true;
        return true;
    }

    void stop()
    {
        if (!m_running)
            return;
        QString ignored;
        run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), m_dir.filePath(QStringLiteral("data")),
                                       QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("-w"),
                                       QStringLiteral("stop")},
            &ignored);
        m_running = false;
    }

    QString conninfo() const
    {
        return QStringLiteral("host=%1 dbname=postgres user=zelmora").arg(m_dir.path());
    }

    // The folder of its socket, the host name its clients take.
    QString socketFolder() const { return m_dir.path(); }

    // Started for Qt's driver: empty, or why it could not be.
    QString startForQt()
    {
        QString why;
        if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
            return QStringLiteral("Qt's QPSQL driver (libqt6sql6-psql) is not installed");
        if (!start(&why))
            return QStringLiteral("PostgreSQL could not be started: ") + why;
        return QString();
    }

    // A new empty database; false when it could not be made.
    bool createDatabase(const QString& name)
    {
        bool made = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("temppostgres"));
            db.setConnectOptions(conninfo());
            made = db.open() && QSqlQuery(db).exec(QStringLiteral("CREATE DATABASE ") + name);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("temppostgres"));
        return made;
    }

private:
    bool run(const QString& tool, const QStringList& args, QString* why)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        if (m_asUser.isEmpty())
            p.start(kPgBin + tool, args);
        else
            p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), m_asUser, QStringLiteral("--"),
                                                           kPgBin + tool} + args);
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            *why = tool + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAll()).trimmed();
            return false;
        }
        return true;
    }

    QTemporaryDir m_dir;
    QString m_asUser;
    bool m_running = false;
};

} // namespace
