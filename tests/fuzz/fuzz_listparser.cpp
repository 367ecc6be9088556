// The one list reader of the import, the paste and zelmora-calc: any bytes
// give either a whole-text failure with no rows, or rows held to the entry
// row's limits and skipped rows, every text row counted once.
#include "fuzz.h"
#include "lists/listparser.h"

#include <QSet>

using namespace zel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const ListKind kind : {ListKind::Round, ListKind::Board}) {
        const ParsedList parsed = ListParser(kind).parseFile(bytes);
        if (parsed.failure != ParsedList::None) {
            FUZZ_CHECK(parsed.rows.isEmpty(), describeFailure(parsed, UiLanguage::English));
            continue;
        }
        QSet<int> seen;
        for (const ParsedRow& r : parsed.rows) {
            FUZZ_CHECK(r.row > 0 && !seen.contains(r.row), QString::number(r.row));
            seen.insert(r.row);
            const EntryValues& v = r.values;
            FUZZ_CHECK(v.length >= kMinLength && v.length <= kMaxLength, QString::number(v.length));
            for (const EntryField f : entryFields(kind)) {
                if (f == EntryField::Length)
                    continue;
                const std::int64_t value = f == EntryField::Count    ? v.count
                                         : f == EntryField::Height ? v.height
                                                                   : v.size;
                FUZZ_CHECK(entryFits(kind, f, value), QString::number(value));
            }
        }
        for (const SkippedRow& s : parsed.skipped) {
            FUZZ_CHECK(s.row > 0 && !seen.contains(s.row), QString::number(s.row));
            seen.insert(s.row);
        }
        FUZZ_CHECK(!importQuestion(parsed, kind, UiLanguage::English, RowsAmount()).isEmpty(), QString());
        FUZZ_CHECK(!parsed.countMayBeUnread() || parsed.header, QString());
    }
    return 0;
}
