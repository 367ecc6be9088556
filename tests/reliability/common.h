// Shared by the reliability tests: whole files as bytes (to see a file
// stayed as it was), and a step run from the event loop.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace zel {

inline QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Runs `step` from the event loop, so that an error it raises takes the
// program's error route (Application::notify) instead of ending the test.
inline void fromEventLoop(const std::function<void()>& step)
{
    bool done = false;
    QTimer::singleShot(0, [&] {
        done = true;
        step();
    });
    QTRY_VERIFY(done);
}

} // namespace zel
