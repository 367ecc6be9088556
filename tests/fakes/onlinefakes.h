// Fakes of the online platform facilities: connectivity, idle time, clock,
// the swap's files, the restart, and a downloader serving texts from memory.
#pragma once

#include "online/clock.h"
#include "online/connectivity.h"
#include "online/fileops.h"
#include "online/httpaccess.h"
#include "online/idleclock.h"
#include "online/platform/localfiles.h"
#include "online/restart.h"

#include <QFile>
#include <QMap>
#include <QStringList>

namespace zel {

// A small real program of this machine, whole.
inline QByteArray wholeProgram()
{
    QFile f(QStringLiteral("/usr/bin/true"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class FakeConnectivity : public IConnectivity {
public:
    bool online = true;
    int asked = 0;
    bool isOnline() override
    {
        ++asked;
        return online;
    }
};

class FakeIdleClock : public IIdleClock {
public:
    qint64 idleMs = 0;
    qint64 idleMilliseconds() override { return idleMs; }
};

class FakeClock : public IClock {
public:
    QDateTime at = QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53));
    QDateTime now() const override { return at; }
};

// The local disk, with chosen steps made to fail.
class FakeFiles : public IFileOps {
public:
    LocalFiles disk;
    QStringList failRenameTo;   // renames onto these targets fail
    QStringList failRenameFrom; // renames of these files fail
    QStringList failRemove;
    QStringList done;         // every step that went through, in order

    bool exists(const QString& path) override { return disk.exists(path); }
    bool remove(const QString& path) override
    {
        if (failRemove.contains(path))
            return false;
        const bool ok = disk.remove(path);
        if (ok)
            done << QStringLiteral("remove ") + path;
        return ok;
    }
    bool rename(const QString& from, const QString& to) override
    {
        if (failRenameTo.contains(to) || failRenameFrom.contains(from))
            return false;
        const bool ok = disk.rename(from, to);
        if (ok)
            done << QStringLiteral("rename ") + from + QStringLiteral(" -> ") + to;
        return ok;
    }
    bool makeExecutableLike(const QString& path, const QString& model) override
    {
        return disk.makeExecutableLike(path, model);
    }
};

class FakeRestart : public IRestart {
public:
    QStringList started;
    void restartAfterExit(const QString& program) override { started << program; }
};

// Downloads from memory: the address's text, or failure for an unknown one.
class FakeDownloader : public IDownloader {
public:
    QMap<QString, QByteArray> files;
    QStringList asked;
    bool download(const QString& url, const QString& path) override
    {
        asked << url;
        if (!files.contains(url))
            return false;
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(files.value(url));
        return true;
    }
};

} // namespace zel
