// The calculation base: saved calculations as records, held while the base
// window is open and written back to the base file when it closes.
#pragma once

#include "engine/errors.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace zel {

// A base file that cannot be read or written.
class BaseError : public Error {
public:
    using Error::Error;
};

constexpr int kCategoryWidth = 20;
constexpr int kNameWidth = 30;

struct BaseRecord {
    qint64 No = 0;
    QDateTime DateTime;
    QString Category; // the method's name, or the word for boards
    QString Name;
    double volume = 0.0; // m3
    QString Notes;       // the list's cell texts, one per line
    // Kept by the server base only: the login name that saved it and the computer.
    QString Who;
    QString Computer;
};

// A record of a calculation; texts longer than their fields are cut.
BaseRecord makeRecord(const QDateTime& when, const QString& category, const QString& name,
                      double volume, const QStringList& lines);

// The total as the volume box shows it ("1 470,0000", "0,4410", "1,235E04")
// as a number. Throws ConvertError for a text that is no number.
double readVolumeText(const QString& shown);

QString notesText(const QStringList& lines);
QStringList notesLines(const QString& notes);

// Which list a saved calculation opens into. Its number of lines decides;
// where it fits both (20, 40, ... lines) the category does: the word for
// boards, in any of the three languages, means boards.
enum class SavedKind { None, Round, Boards };
SavedKind savedKind(const BaseRecord& record);
bool isBoardCategory(const QString& category);

// The records of the base while its window is open, with what has changed.
class CalcBase {
public:
    void reset(std::vector<BaseRecord> records, qint64 nextNo);
    const std::vector<BaseRecord>& records() const { return m_records; }
    int size() const { return static_cast<int>(m_records.size()); }
    // Appends the record with the next number; returns its index.
    int add(BaseRecord record);
    void remove(int index);
    bool changed() const { return !m_added.empty() || !m_deleted.isEmpty(); }
    std::vector<BaseRecord> added() const;
    QList<qint64> deleted() const { return m_deleted; }

private:
    std::vector<BaseRecord> m_records;
    QList<qint64> m_added; // numbers of the records added since reset
    QList<qint64> m_deleted;
    qint64 m_nextNo = 1;
};

// The base file.
struct BaseContents {
    std::vector<BaseRecord> records;
    qint64 nextNo = 1;
};

class IBaseFile {
public:
    virtual ~IBaseFile() = default;
    // Whether the engine that keeps the base is there at all.
    virtual bool available() const = 0;
    // The records in number order; none when the file does not exist. Throws
    // BaseError when it is no base or damaged; the file is left as it is.
    virtual BaseContents load(const QString& path) = 0;
    // Removes and adds records in one transaction, creating the file when it
    // is missing: afterwards the file holds the old base or the new one,
    // never a mix. Throws BaseError when it cannot.
    virtual void save(const QString& path, const std::vector<BaseRecord>& added,
                      const QList<qint64>& deleted) = 0;
};

} // namespace zel
