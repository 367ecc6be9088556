// A base record's Notes opened into a list, as the base window does: the
// first input line is the record's category, the rest its Notes. A record
// opens into at most one list, which recomputes without a crash and keeps
// every line of the Notes.
#include "fuzz.h"
#include "base/calcbase.h"
#include "lists/calclists.h"
#include "lists/liststore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString input = zel::fuzz::text(data, size);
    const qsizetype eol = input.indexOf(QLatin1Char('\n'));
    zel::BaseRecord record;
    record.Category = eol < 0 ? input : input.left(eol);
    record.Notes = eol < 0 ? QString() : input.mid(eol + 1);

    const QStringList texts = zel::notesLines(record.Notes);
    const zel::SavedKind kind = zel::savedKind(record);
    if (kind == zel::SavedKind::None)
        return 0;
    const bool boards = kind == zel::SavedKind::Boards;
    const int columns = boards ? zel::kBoardColumns : zel::kRoundColumns;
    FUZZ_CHECK(texts.size() % columns == 0, record.Notes);
    zel::Lines lines = zel::linesFromTexts(texts, columns);
    zel::ListContext ctx;
    const zel::ListTotals t = boards ? zel::ReFreshBoardLines(lines, ctx) : zel::ReFreshRoundLines(lines, ctx);
    const QStringList memo = zel::lineTexts(lines);
    FUZZ_CHECK(memo.size() == texts.size(), record.Notes);

    // Saved again, the recomputed lines make Notes that open the same way.
    const zel::BaseRecord again = zel::makeRecord(QDateTime(), record.Category, QString(), 0.0, memo);
    if (t.ok() && record.Category.size() <= zel::kCategoryWidth)
        FUZZ_CHECK(zel::notesLines(again.Notes) == memo, again.Notes);
    return 0;
}
