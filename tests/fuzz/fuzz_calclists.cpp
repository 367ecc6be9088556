// Both lists recomputed from arbitrary cell texts (one per input line; the
// first byte picks method, taper, language, species and moisture): never a
// crash, and every line stays in the line texts, read or not.
#include "fuzz.h"
#include "engine/weight.h"
#include "lists/calclists.h"
#include "lists/liststore.h"

namespace {

void check(const QStringList& cells, int columns, const zel::ListContext& ctx)
{
    zel::Lines lines = zel::linesFromTexts(cells, columns);
    const zel::ListTotals t = columns == zel::kRoundColumns ? zel::ReFreshRoundLines(lines, ctx)
                                                            : zel::ReFreshBoardLines(lines, ctx);
    const QStringList memo = zel::lineTexts(lines);
    FUZZ_CHECK(memo.size() == lines.size() * columns, QString::number(memo.size()));
    // A line that was not read keeps its texts as they were.
    if (!t.ok()) {
        for (int c = 0; c < columns; ++c)
            FUZZ_CHECK(memo[t.failedLine * columns + c] == cells[t.failedLine * columns + c],
                       memo[t.failedLine * columns + c]);
    }
    // What a recomputation wrote reads back: the next one finds no unreadable
    // line where this one found none.
    zel::Lines again = lines;
    const zel::ListTotals t2 = columns == zel::kRoundColumns ? zel::ReFreshRoundLines(again, ctx)
                                                             : zel::ReFreshBoardLines(again, ctx);
    if (t.ok())
        FUZZ_CHECK(t2.ok(), t2.error + QLatin1Char(' ') + memo.join(QLatin1Char('|')));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint8_t pick = data[0];
    zel::ListContext ctx;
    ctx.method = static_cast<zel::CalcMethod>(pick & 3);
    ctx.taper = (pick >> 2) & 3;
    ctx.language = static_cast<zel::UiLanguage>((pick >> 4) % 3);
    ctx.species = (pick >> 4) % zel::kSpeciesCount;
    ctx.moisture = pick % zel::kMoistureCount;
    const QStringList cells = zel::fuzz::lines(data + 1, size - 1);
    check(cells, zel::kRoundColumns, ctx);
    check(cells, zel::kBoardColumns, ctx);
    return 0;
}
