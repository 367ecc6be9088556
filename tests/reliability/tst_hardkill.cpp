// A hard kill (SIGKILL) in the middle of saving a 10,000-record base, 50
// times at random moments: the base opens afterwards with the old records or
// the new ones, never a mixture or a damaged file. The save runs in a child
// process (this program again, with "--save") through the program's own
// base file code; this process kills it and opens what is left.
#include "base/platform/sqlitebase.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <cstring>

using namespace zel;

namespace {

constexpr int kRecords = 10000;
constexpr int kKills = 50;

std::vector<BaseRecord> records(const QString& prefix, qint64 firstNo)
{
    std::vector<BaseRecord> r;
    r.reserve(kRecords);
    const QDateTime at(QDate(2026, 12, 9), QTime(12, 0));
    for (int i = 0; i < kRecords; ++i) {
        r.push_back(makeRecord(at, u"GOST 2708-75"_qs, prefix + QString::number(i), 0.25 * i,
                               {u"32 sm."_qs, u"4,00 m."_qs, u"5 pcs."_qs, u"1,2500 m3."_qs}));
        r.back().No = firstNo + i;
    }
    return r;
}

QList<qint64> oldNumbers()
{
    QList<qint64> n;
    for (int i = 0; i < kRecords; ++i)
        n << 1 + i;
    return n;
}

// The child: replaces every old record with a new one in one save.
int saveNew(const QString& path)
{
    std::puts("saving");
    std::fflush(stdout);
    SqliteBaseFile().save(path, records(u"new "_qs, 1 + kRecords), oldNumbers());
    return 0;
}

} // namespace

class TestHardKill : public QObject {
    Q_OBJECT
private slots:
    void killedWhileSaving();
};

void TestHardKill::killedWhileSaving()
{
    QTemporaryDir dir;
    const QString pristine = dir.filePath(u"old.cds"_qs);
    const QString base = dir.filePath(u"base.cds"_qs);
    SqliteBaseFile().save(pristine, records(u"old "_qs, 1), {});

    // Each round starts from the old base, or (one in five) from none at
    // all, when the cut save is the first and "old" means no records.
    // Returns how long the child saved, from its word until its end.
    auto run = [&](bool fromNothing, int killAfterMs) -> qint64 {
        QFile::remove(base);
        QFile::remove(base + u"-journal"_qs);
        if (!fromNothing && !QFile::copy(pristine, base))
            return -1;
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {u"--save"_qs, base});
        if (!child.waitForStarted() || !child.waitForReadyRead(20000))
            return -1;
        QElapsedTimer saving;
        saving.start();
        if (killAfterMs >= 0) {
            QTest::qSleep(killAfterMs);
            ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        }
        child.waitForFinished(120000);
        return saving.elapsed();
    };

    // How long a whole save takes here: the kills land inside it.
    const int saveMs = static_cast<int>(run(false, -1));
    QVERIFY(saveMs >= 0);
    QCOMPARE(SqliteBaseFile().load(base).records.front().Name, u"new 0"_qs);

    QRandomGenerator random(12092026);
    int olds = 0, news = 0;
    for (int k = 0; k < kKills; ++k) {
        const bool fromNothing = k % 5 == 0;
        const int at = saveMs / 4 + random.bounded(saveMs + 1);
        QVERIFY(run(fromNothing, at) >= 0);
        BaseContents opened;
        try {
            opened = SqliteBaseFile().load(base);
        } catch (const BaseError& e) {
            QFAIL(qPrintable(QStringLiteral("killed after %1 ms: %2").arg(at).arg(e.message())));
        }
        if (fromNothing && opened.records.empty()) {
            ++olds;
            continue;
        }
        QCOMPARE(int(opened.records.size()), kRecords);
        const QString prefix = opened.records.front().Name.left(4);
        QVERIFY(prefix == u"new "_qs || !fromNothing);
        for (const BaseRecord& r : opened.records)
            QVERIFY2(r.Name.startsWith(prefix), qPrintable(QStringLiteral("a mixture after %1 ms").arg(at)));
        (prefix == u"old "_qs ? olds : news) += 1;
    }
    qInfo("a save took %d ms; %d kills left the old base, %d the new one", saveMs, olds, news);
}

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--save") == 0) {
        QCoreApplication app(argc, argv);
        return saveNew(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TestHardKill t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_hardkill.moc"
