// Records of the calculation base.
#include "base/calcbase.h"
#include "lists/calclists.h"
#include "shell/langtable.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace zel {

BaseRecord makeRecord(const QDateTime& when, const QString& category, const QString& name,
                      double volume, const QStringList& lines)
{
    BaseRecord r;
    r.DateTime = when;
    r.Category = category.left(kCategoryWidth);
    r.Name = name.left(kNameWidth);
    r.volume = volume;
    r.Notes = notesText(lines);
    return r;
}

double readVolumeText(const QString& shown)
{
    // The box groups thousands and may show an exponent; neither must make a
    // total of 1000 m3 or more unreadable.
    return readListNumber(shown);
}

QString notesText(const QStringList& lines)
{
    return lines.join(QLatin1String("\r\n"));
}

QStringList notesLines(const QString& notes)
{
    if (notes.isEmpty())
        return {};
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = notes.split(breaks);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool isBoardCategory(const QString& category)
{
    for (UiLanguage l : {UiLanguage::Ukrainian, UiLanguage::Russian, UiLanguage::English})
        if (category == Lang(89, l).left(kCategoryWidth))
            return true;
    return false;
}

SavedKind savedKind(const BaseRecord& record)
{
    const qsizetype n = notesLines(record.Notes).size();
    if (n == 0)
        return SavedKind::None;
    const bool round = n % kRoundColumns == 0;
    const bool boards = n % kBoardColumns == 0;
    if (round && boards)
        return isBoardCategory(record.Category) ? SavedKind::Boards : SavedKind::Round;
    if (round)
        return SavedKind::Round;
    if (boards)
        return SavedKind::Boards;
    return SavedKind::None;
}

void CalcBase::reset(std::vector<BaseRecord> records, qint64 nextNo)
{
    m_records = std::move(records);
    m_added.clear();
    m_deleted.clear();
    m_nextNo = nextNo;
    for (const BaseRecord& r : m_records)
        m_nextNo = std::max(m_nextNo, r.No + 1);
}

int CalcBase::add(BaseRecord record)
{
    record.No = m_nextNo++;
    m_added << record.No;
    m_records.push_back(record);
    return size() - 1;
}

void CalcBase::remove(int index)
{
    if (index < 0 || index >= size())
        return;
    const qint64 no = m_records[index].No;
    if (!m_added.removeOne(no))
        m_deleted << no;
    m_records.erase(m_records.begin() + index);
}

std::vector<BaseRecord> CalcBase::added() const
{
    // A set, not the list: a session may add many records.
    const QSet<qint64> added(m_added.begin(), m_added.end());
    std::vector<BaseRecord> out;
    for (const BaseRecord& r : m_records)
        if (added.contains(r.No))
            out.push_back(r);
    return out;
}

} // namespace zel
