// Number texts. The first ten bytes make a value and a number of decimals:
// its text, read back and written again, is the same text. The rest is read
// as a cell would be, which either gives a number or a conversion error.
// What the text shows, as whole units, is what shownUnits gives.
#include "fuzz.h"
#include "engine/errors.h"
#include "lists/calclists.h"
#include "lists/numbertext.h"

#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size >= 10) {
        double value;
        std::memcpy(&value, data, sizeof value);
        // The lists hold no negative numbers and write at most four decimals;
        // a few more stay in reach of the property.
        const int decimals = data[8] % 9;
        value = std::fabs(value);
        // Near the largest double, four rounded digits may pass it
        // ("1,798E308"); no list comes near.
        if (std::isfinite(value) && value < 1e300) {
            const QString text = zel::FormatNumber(value, decimals);
            double back = -1.0;
            try {
                back = zel::readListNumber(text);
            } catch (const zel::ConvertError& e) {
                zel::fuzz::fail("a written number reads back", text + QLatin1Char(' ') + e.message());
            }
            FUZZ_CHECK(zel::FormatNumber(back, decimals) == text,
                       text + QStringLiteral(" -> ") + zel::FormatNumber(back, decimals));
            // The totals outside the lists add up what the text shows.
            if (value < 1e10 && decimals <= 4)
                FUZZ_CHECK(zel::shownUnits(value, decimals) == zel::roundedUnits(back, decimals), text);
            // A length from the entry fields (up to 15 m, one decimal) goes
            // into its cell as the shortest text and is read from there.
            const double length = std::round(std::fmod(value, 16.0) * 10.0) / 10.0;
            const QString shortest = zel::ShortestNumber(length);
            FUZZ_CHECK(zel::readListNumber(shortest) == length, shortest);
        }
        data += 10;
        size -= 10;
    }
    const QString cell = zel::fuzz::text(data, size);
    try {
        zel::readListNumber(cell);
    } catch (const zel::ConvertError&) {
    }
    QString input = cell;
    const QString kept = zel::CleanStr(input, zel::kIntegerChars, 1);
    FUZZ_CHECK(input.isEmpty() && kept.size() <= cell.size(), kept);
    return 0;
}
