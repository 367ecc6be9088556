// The activity log: one time-stamped line per label, saved to a file on demand.
#pragma once

#include <QLocale>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QTime>

#include <functional>

namespace zel {

// Writes `lines`, each ended by CR LF, in Windows-1251 to `path`, replacing
// the file whole. False when it cannot be written; never throws.
bool saveLogLines(const QString& path, const QStringList& lines);

class Log : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<QTime()>;

    // `filePath` is where "save" writes; see filePathFor().
    explicit Log(const QString& filePath = QString(), QObject* parent = nullptr);

    // The log file of a program file: its name with the extension ".log",
    // kept where keptFile() says.
    static QString filePathFor(const QString& programFile);

    // The locale's long time format without its time-zone part.
    static QString timeFormatOf(const QLocale& locale);

    void setFilePath(const QString& filePath);
    QString filePath() const;
    void setClock(Clock clock);
    void setLocale(const QLocale& locale);

    // "save" writes the whole log to the file; an empty label does nothing;
    // any other label becomes the entry "<time>_<label with blanks as _>".
    // Safe from any thread: each entry is appended whole, in call order.
    void write(const QString& label);

    // Writes every entry with saveLogLines.
    bool save() const;

    qsizetype size() const;
    QStringList entries(qsizetype from = 0) const;
    QString text() const;

signals:
    // Entries were added; a view fetches them with entries(itsCount).
    void appended();

private:
    QString stamp(const QTime& now);

    mutable QMutex m_mutex;
    QStringList m_entries;
    QString m_filePath;
    Clock m_clock;
    QLocale m_locale;
    QString m_format;
    int m_lastSecond = -1;
    QString m_lastStamp;
};

} // namespace zel
