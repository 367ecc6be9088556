// The session bus address left alone, or made to fail at once where no bus
// exists and none can be started.
#include "shell/platform/sessionbus.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zel;

class TestSessionBus : public QObject {
    Q_OBJECT
private slots:
    void addressOnlyWhereNoBusCanBeHad_data();
    void addressOnlyWhereNoBusCanBeHad();
};

void TestSessionBus::addressOnlyWhereNoBusCanBeHad_data()
{
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<bool>("busInRuntimeFolder");
    QTest::addColumn<int>("launcher"); // 0 none, 1 executable, 2 a file that is not, 3 executable in the system's folder
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("the desktop's address") << QByteArray("unix:path=/run/user/1/bus") << false << 0
                                           << QByteArray("unix:path=/run/user/1/bus");
    QTest::newRow("a bus in the runtime folder") << QByteArray() << true << 0 << QByteArray();
    QTest::newRow("dbus-launch on the path") << QByteArray() << false << 1 << QByteArray();
    QTest::newRow("dbus-launch in the system's folder") << QByteArray() << false << 3 << QByteArray();
    QTest::newRow("nothing") << QByteArray() << false << 0 << QByteArray("disabled:");
    QTest::newRow("a dbus-launch that cannot run") << QByteArray() << false << 2 << QByteArray("disabled:");
}

void TestSessionBus::addressOnlyWhereNoBusCanBeHad()
{
    QFETCH(QByteArray, address);
    QFETCH(bool, busInRuntimeFolder);
    QFETCH(int, launcher);
    QFETCH(QByteArray, expected);
    QTemporaryDir runtime;
    QTemporaryDir bin;
    QTemporaryDir system;
    QVERIFY(runtime.isValid() && bin.isValid() && system.isValid());
    if (busInRuntimeFolder) {
        QFile bus(runtime.filePath(u"bus"_qs));
        QVERIFY(bus.open(QIODevice::WriteOnly));
    }
    if (launcher) {
        QFile program((launcher == 3 ? system : bin).filePath(u"dbus-launch"_qs));
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.write("#!/bin/sh\n");
        program.setPermissions(launcher == 2 ? QFile::ReadOwner : QFile::ReadOwner | QFile::ExeOwner);
    }
    if (address.isNull())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    qputenv("PATH", bin.path().toLocal8Bit());

    skipHopelessBusLaunch(system.path().toLocal8Bit());

    QCOMPARE(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"), !expected.isNull());
    QCOMPARE(qgetenv("DBUS_SESSION_BUS_ADDRESS"), expected);
}

QTEST_GUILESS_MAIN(TestSessionBus)
#include "tst_sessionbus.moc"
