// The four trade rules for one log.
#include "engine/traderules.h"

#include <algorithm>
#include <cmath>

namespace zel {
namespace {

constexpr double kPi = 3.14159265358979323846;
// The board feet of a 4-foot section per (0.22 D^2 - 0.71 D), the 1/4-inch kerf.
constexpr double kKerfFactor = 0.904762;

// Beyond these a product of sizes may pass 2^63; such logs (a diameter of
// 30 km, a length of 1 km) are only typed by mistake and take doubles.
constexpr std::int64_t kExactHalfCm = 3000000;
constexpr std::int64_t kExactMm = 1000000;

// A whole number of units from a value rounded half up, held below
// kMaxTradeUnits so that no product or sum of such a log can overflow.
std::int64_t halfUp(double units)
{
    return std::llround(std::floor(std::min(units, static_cast<double>(kMaxTradeUnits)) + 0.5));
}

} // namespace

int tradeRuleDecimals(TradeRule rule)
{
    switch (rule) {
    case TradeRule::Jas:
        return 3;
    case TradeRule::Hoppus:
        return 4;
    case TradeRule::Doyle:
    case TradeRule::International:
        break;
    }
    return 0;
}

bool tradeRuleInM3(TradeRule rule)
{
    return rule == TradeRule::Jas || rule == TradeRule::Hoppus;
}

std::int64_t lengthMillimetres(double l)
{
    // NaN and negative lengths have no log in them; 1e12 m is past any cell.
    if (!(l > 0.0))
        return 0;
    return std::llround(std::min(l, 1e12) * 1000.0);
}

std::int64_t scalingInches(std::int64_t cmHundredths)
{
    // 1 inch is 254 hundredths of a centimetre; the remainder decides, so no
    // binary quotient can put 12.4999 or 12.5001 where 12.5 was meant.
    const std::int64_t whole = cmHundredths / 254;
    return 2 * (cmHundredths % 254) > 254 ? whole + 1 : whole;
}

std::int64_t scalingFeet(std::int64_t millimetres)
{
    // 1 foot is 304.8 mm: 3048 mm is 10 feet exactly, not 9.
    return millimetres * 10 / 3048;
}

std::int64_t jasLogUnits(std::int64_t d, std::int64_t mm)
{
    if (d <= 0 || mm <= 0)
        return 0;
    // The scaling diameter: from 14 cm on, even centimetres only.
    const std::int64_t D = d < 14 ? d : d - d % 2;
    // In halves of a centimetre, so that (L' - 4) / 2 stays whole: from 6 m on
    // the diameter grows by half a centimetre per whole metre past 4.
    const std::int64_t h = mm < 6000 ? 2 * D : 2 * D + mm / 1000 - 4;
    // h^2 / 4 cm2 * mm / 1000 / 10,000 = h^2 * mm / 4e7 m3, in 0.001 m3: / 4e4.
    if (h > kExactHalfCm || mm > kExactMm)
        return halfUp(static_cast<double>(h) * h * mm / 4e4);
    return (h * h * mm + 20000) / 40000;
}

double hoppusLogM3(std::int64_t d, std::int64_t mm)
{
    if (d <= 0 || mm <= 0)
        return 0.0;
    // (pi d / 4)^2 cm2 * (mm / 1000) m / 10,000.
    const double quarterGirth = kPi * static_cast<double>(d) / 4.0;
    return quarterGirth * quarterGirth * (static_cast<double>(mm) / 1000.0) / 10000.0;
}

std::int64_t doyleLogFeet(std::int64_t d, std::int64_t mm)
{
    // 4 inches go to slabs: a log of 4 inches or less holds no board.
    const std::int64_t slab = scalingInches(d * 100) - 4;
    if (slab <= 0 || mm <= 0)
        return 0;
    const double feet = static_cast<double>(scalingFeet(mm));
    // (D - 4)^2 * L is whole: / 16 is exact in binary, and the half goes up.
    return halfUp(static_cast<double>(slab) * slab * feet / 16.0);
}

std::int64_t internationalLogFeet(std::int64_t d, std::int64_t mm)
{
    if (d <= 0 || mm <= 0)
        return 0;
    const std::int64_t feet = scalingFeet(mm);
    // In half inches, section i has h = 2D + i at its top, and holds
    // (22 h^2 - 142 h) / 400 board feet before the kerf factor. The k whole
    // sections are summed in closed form, which a long log makes no dearer.
    const double h0 = 2.0 * static_cast<double>(scalingInches(d * 100));
    const double k = static_cast<double>(feet / 4);
    const double rest = static_cast<double>(feet % 4);
    const double sumH = k * h0 + k * (k - 1.0) / 2.0;
    const double sumH2 = k * h0 * h0 + h0 * k * (k - 1.0) + (k - 1.0) * k * (2.0 * k - 1.0) / 6.0;
    const double hLast = h0 + k;
    // In quarters of a section: a whole one is 4, the last short one its feet.
    const double quarters = 4.0 * (22.0 * sumH2 - 142.0 * sumH) + rest * (22.0 * hLast * hLast - 142.0 * hLast);
    const double boardFeet = std::max(0.0, kKerfFactor * quarters / 1600.0);
    return 5 * halfUp(boardFeet / 5.0);
}

} // namespace zel
