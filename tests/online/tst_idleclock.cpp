// Idle time without a display server: the time since this program's last
// input event.
#include "online/platform/systemidleclock.h"

#include <QtTest>

using namespace zel;

class TestIdleClock : public QObject {
    Q_OBJECT
private slots:
    void inputOfTheProgramRestartsIt();
    void displayIdleTime();
};

void TestIdleClock::inputOfTheProgramRestartsIt()
{
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    SystemIdleClock clock;
    qputenv("DISPLAY", display);
    QVERIFY(!clock.usesDisplay());
    QObject target;
    QTRY_VERIFY(clock.idleMilliseconds() >= 20);
    const qint64 before = clock.idleMilliseconds();
    QEvent key(QEvent::KeyPress);
    QCoreApplication::sendEvent(&target, &key);
    QVERIFY(clock.idleMilliseconds() < before);
    // Other events are no input.
    QTRY_VERIFY(clock.idleMilliseconds() >= 20);
    const qint64 still = clock.idleMilliseconds();
    QEvent other(QEvent::User);
    QCoreApplication::sendEvent(&target, &other);
    QVERIFY(clock.idleMilliseconds() >= still);
}

void TestIdleClock::displayIdleTime()
{
    // Under an X server with the screen-saver extension (the end-to-end
    // tests' Xvfb), the server's idle time; skipped without one.
    SystemIdleClock clock;
    if (!clock.usesDisplay()) {
        if (qEnvironmentVariableIsSet("ZEL_REQUIRE_DISPLAY"))
            QFAIL("no X display with the screen-saver extension");
        QSKIP("no X display with the screen-saver extension");
    }
    void* display = openIdleDisplay(qgetenv("DISPLAY"));
    QVERIFY(display);
    QVERIFY(displayIdleMilliseconds(display) >= 0);
    closeIdleDisplay(display);
    QVERIFY(clock.idleMilliseconds() >= 0);
}

QTEST_GUILESS_MAIN(TestIdleClock)
#include "tst_idleclock.moc"
