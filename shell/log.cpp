// The activity log.
#include "shell/log.h"
#include "shell/codepage.h"
#include "shell/paths.h"
#include "shell/savefile.h"

#include <QFileInfo>
#include <QMutexLocker>

#include <algorithm>
#include <ctime>

namespace zel {
namespace {

// Local time of day. QTime::currentTime() looks the zone up again on every
// call, which costs more than the whole rest of an entry; localtime_r keeps
// the zone read once by tzset().
QTime localTimeOfDay()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local{};
    localtime_r(&ts.tv_sec, &local);
    return QTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                 static_cast<int>(ts.tv_nsec / 1000000));
}

} // namespace

Log::Log(const QString& filePath, QObject* parent)
    : QObject(parent)
    , m_filePath(filePath)
    , m_clock(localTimeOfDay)
    , m_locale(QLocale::system())
    , m_format(timeFormatOf(m_locale))
{
    tzset();
}

QString Log::filePathFor(const QString& programFile)
{
    return keptFile(programFile, QFileInfo(programFile).completeBaseName() + QStringLiteral(".log"));
}

QString Log::timeFormatOf(const QLocale& locale)
{
    // A time of day has no zone, so the zone letters ("t") go, with the
    // blank that set them apart; quoted literal text is left alone.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    return out.simplified();
}

void Log::setFilePath(const QString& filePath)
{
    QMutexLocker lock(&m_mutex);
    m_filePath = filePath;
}

QString Log::filePath() const
{
    QMutexLocker lock(&m_mutex);
    return m_filePath;
}

void Log::setClock(Clock clock)
{
    QMutexLocker lock(&m_mutex);
    m_clock = std::move(clock);
    m_lastSecond = -1;
}

void Log::setLocale(const QLocale& locale)
{
    QMutexLocker lock(&m_mutex);
    m_locale = locale;
    m_format = timeFormatOf(locale);
    m_lastSecond = -1;
}

QString Log::stamp(const QTime& now)
{
    // Formatting through the locale costs more than the rest of an entry;
    // most entries of a burst fall in the same second.
    const int second = now.msecsSinceStartOfDay() / 1000;
    if (second != m_lastSecond) {
        m_lastStamp = m_locale.toString(now, m_format);
        m_lastSecond = second;
    }
    return m_lastStamp;
}

void Log::write(const QString& label)
{
    if (label == QLatin1String("save")) {
        save();
        return;
    }
    if (label.isEmpty())
        return;
    QString entry = label;
    entry.replace(QLatin1Char(' '), QLatin1Char('_'));
    {
        QMutexLocker lock(&m_mutex);
        // Clock and append under one lock, so the order of entries is the
        // order of the calls even across threads.
        m_entries.append(stamp(m_clock()) + QLatin1Char('_') + entry);
    }
    emit appended();
}

bool saveLogLines(const QString& path, const QStringList& lines)
{
    if (path.isEmpty())
        return false;
    QString all;
    for (const QString& line : lines) {
        all += line;
        all += QLatin1String("\r\n");
    }
    return replaceFile(path, toWindows1251(all));
}

bool Log::save() const
{
    QString path;
    QStringList lines;
    {
        QMutexLocker lock(&m_mutex);
        path = m_filePath;
        lines = m_entries;
    }
    return saveLogLines(path, lines);
}

qsizetype Log::size() const
{
    QMutexLocker lock(&m_mutex);
    return m_entries.size();
}

QStringList Log::entries(qsizetype from) const
{
    QMutexLocker lock(&m_mutex);
    if (from <= 0)
        return m_entries;
    return m_entries.mid(from);
}

QString Log::text() const
{
    QMutexLocker lock(&m_mutex);
    return m_entries.join(QLatin1String("\r\n"));
}

} // namespace zel
