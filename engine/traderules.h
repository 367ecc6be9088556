// The log rules of the markets a yard sells into (JAS, Hoppus, Doyle and
// International 1/4-inch): one log's value by each, from the list's top
// diameter and length. Where the definitions come from: traderules.md.
#pragma once

#include <cstdint>

namespace zel {

enum class TradeRule : std::uint8_t {
    Jas = 0,           // Japanese Agricultural Standard, m3
    Hoppus = 1,        // quarter-girth measure, Hoppus m3
    Doyle = 2,         // board feet
    International = 3, // International 1/4-inch, board feet
};
constexpr int kTradeRules = 4;

// Decimals of a rule's value as it is shown and added up: JAS rounds a log
// to 0.001 m3, Hoppus is shown as the lists show m3, board feet are whole.
int tradeRuleDecimals(TradeRule rule);
// Whether the rule's unit is a cubic metre (JAS, Hoppus) rather than a board foot.
bool tradeRuleInM3(TradeRule rule);

// A length in m as whole millimetres: the lists hold at most two decimals,
// so this is exact where the binary value is not (4.9, 3.048).
std::int64_t lengthMillimetres(double l);
// Whole inches of `cmHundredths` (a diameter in 0.01 cm), to the nearest,
// a half rounding down as scalers round it (1.27 cm -> 0).
std::int64_t scalingInches(std::int64_t cmHundredths);
// Whole feet of a length in mm, rounded down.
std::int64_t scalingFeet(std::int64_t millimetres);

// The most units a log or a line is given: sizes only a typing slip makes
// (a diameter of 30 km) stay within it, and sums of lines cannot overflow.
constexpr std::int64_t kMaxTradeUnits = 1000000000000000; // 1e15

// One log of top diameter d (cm) and length `mm` (mm):
// JAS in units of 0.001 m3, rounded half up; board feet whole (Doyle) or
// to the nearest 5 (International); never below 0.
std::int64_t jasLogUnits(std::int64_t d, std::int64_t mm);
double hoppusLogM3(std::int64_t d, std::int64_t mm);
std::int64_t doyleLogFeet(std::int64_t d, std::int64_t mm);
std::int64_t internationalLogFeet(std::int64_t d, std::int64_t mm);

} // namespace zel
