// Number texts of the lists.
#include "lists/numbertext.h"

#include <algorithm>
#include <bitset>
#include <charconv>
#include <cmath>
#include <string>

namespace zel {
namespace {

// Rounds the decimal digits digits[0..keep) half away from zero, looking at
// digits[keep]; returns true when the carry runs out of the front ("999" ->
// "000" plus a new leading 1).
bool roundDigits(char* digits, int keep, char next)
{
    if (next < '5')
        return false;
    for (int i = keep - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return false;
        }
        digits[i] = '0';
    }
    return true;
}

// More decimals than a double holds are written as zeros.
constexpr int kMaxDecimals = 20;

// Every decimal text of up to 15 significant digits reads back from a double
// as itself, so the value rounded to 15 digits is the shortest text of a
// typed number (0.0185, held as 0.018499...), and for a computed one it drops
// the noise of binary arithmetic (55 x 0.0185 is held as 1.01749999...98).
// Rounding those digits puts ties where a person or a calculator puts them.
constexpr int kDecimalDigits = 15;

// A positive value as digits d0.d1d2... times ten to `exponent`.
struct Decimal {
    char digits[kDecimalDigits];
    int exponent = 0;

    // The digit standing for ten to `power`, '0' outside the held ones.
    char at(int power) const
    {
        const int i = exponent - power;
        return i >= 0 && i < kDecimalDigits ? digits[i] : '0';
    }
};

Decimal decimalOf(double a)
{
    Decimal d;
    if (a == 0.0) {
        std::fill(d.digits, d.digits + kDecimalDigits, '0');
        return d;
    }
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific,
                                 kDecimalDigits - 1);
    // buf: "d.dddddddddddddde[+-]xx"
    d.digits[0] = buf[0];
    std::copy(buf + 2, buf + 1 + kDecimalDigits, d.digits + 1);
    const char* e = buf + 1 + kDecimalDigits;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), r.ptr, d.exponent);
    return d;
}

// The four significant digits the lists write, rounded, and the power of
// ten of the first after rounding: they tell the exponent form from the
// plain one.
struct FourDigits {
    char mantissa[5];
    int exponent = 0;
};

FourDigits fourDigitsOf(const Decimal& dec)
{
    FourDigits f;
    f.exponent = dec.exponent;
    std::copy(dec.digits, dec.digits + 5, f.mantissa);
    if (roundDigits(f.mantissa, 4, f.mantissa[4])) {
        f.mantissa[0] = '1';
        ++f.exponent;
    }
    return f;
}

} // namespace

QString FormatNumber(double value, int decimals)
{
    QString out;
    appendNumber(out, value, decimals);
    return out;
}

void appendNumber(QString& text, double value, int decimals)
{
    if (std::isnan(value)) {
        text += QLatin1String("NAN");
        return;
    }
    if (std::isinf(value)) {
        text += value < 0 ? QLatin1String("-INF") : QLatin1String("INF");
        return;
    }
    const bool negative = std::signbit(value) && value != 0.0;

    const Decimal dec = decimalOf(std::fabs(value));

    // Four significant digits first: they tell the exponent after rounding.
    const FourDigits four = fourDigitsOf(dec);
    const int exponent = four.exponent;
    const char* mantissa = four.mantissa;

    // Written into a buffer first: the sign is known only at the end.
    QChar outBuf[40];
    int n = 0;
    auto put = [&](char c) { outBuf[n++] = QLatin1Char(c); };
    if (exponent >= 4) {
        put(mantissa[0]);
        put(',');
        for (int i = 1; i < 4; ++i)
            put(mantissa[i]);
        put('E');
        char exp[16];
        const auto r = std::to_chars(exp, exp + sizeof exp, exponent);
        const int len = static_cast<int>(r.ptr - exp);
        for (int i = len; i < std::min(decimals, 8); ++i)
            put('0');
        for (int i = 0; i < len; ++i)
            put(exp[i]);
    } else {
        const int places = std::max(0, std::min({decimals, 3 - exponent, kMaxDecimals}));
        // The integer digits and one digit past the rounding place, with
        // room in front for a carry.
        int intLen = std::max(1, dec.exponent + 1);
        char buf[4 + kMaxDecimals + 2];
        char* digits = buf + 1;
        for (int j = 0; j <= intLen + places; ++j)
            digits[j] = dec.at(intLen - 1 - j);
        if (roundDigits(digits, intLen + places, digits[intLen + places])) {
            *--digits = '1';
            ++intLen;
        }
        for (int i = 0; i < intLen; ++i) {
            if (i > 0 && (intLen - i) % 3 == 0)
                outBuf[n++] = kGroupSeparator;
            put(digits[i]);
        }
        if (decimals > 0) {
            put(',');
            for (int i = 0; i < places; ++i)
                put(digits[intLen + i]);
            for (int i = places; i < std::min(decimals, kMaxDecimals); ++i)
                put('0');
        }
    }
    // A negative value that rounds to zero carries no sign.
    if (negative && std::any_of(outBuf, outBuf + n, [](QChar c) {
            return c >= QLatin1Char('1') && c <= QLatin1Char('9');
        }))
        text += QLatin1Char('-');
    text.append(outBuf, n);
}

namespace {

// roundedUnits of |value|, whose digits are `dec`.
long long magnitudeUnits(double value, const Decimal& dec, int decimals)
{
    if (dec.exponent + decimals > 15)
        return std::llround(std::fabs(value) * std::pow(10.0, decimals));
    long long units = 0;
    for (int power = dec.exponent; power >= -decimals; --power)
        units = units * 10 + (dec.at(power) - '0');
    if (dec.at(-decimals - 1) >= '5')
        ++units;
    return units;
}

} // namespace

long long roundedUnits(double value, int decimals)
{
    if (!std::isfinite(value) || value == 0.0)
        return 0;
    const long long units = magnitudeUnits(value, decimalOf(std::fabs(value)), decimals);
    return value < 0 ? -units : units;
}

long long shownUnits(double value, int decimals)
{
    if (!std::isfinite(value) || value == 0.0)
        return 0;
    const Decimal dec = decimalOf(std::fabs(value));
    const FourDigits four = fourDigitsOf(dec);
    const int exponent = four.exponent;
    long long units = 0;
    if (exponent >= 4) {
        // The exponent form: the four digits, then zeros.
        if (exponent - 3 + decimals > 14)
            return std::llround(value * std::pow(10.0, decimals));
        for (int i = 0; i < 4; ++i)
            units = units * 10 + (four.mantissa[i] - '0');
        for (int i = 0; i < exponent - 3 + decimals; ++i)
            units *= 10;
    } else {
        const int places = std::max(0, std::min(decimals, 3 - exponent));
        units = magnitudeUnits(value, dec, places);
        for (int i = places; i < decimals; ++i)
            units *= 10;
    }
    return value < 0 ? -units : units;
}

QString unitsText(long long units, int decimals, QChar decimalMark, QChar group)
{
    // The magnitude as digits, at least one before the decimal mark.
    const unsigned long long magnitude = units < 0 ? 0ull - static_cast<unsigned long long>(units)
                                                   : static_cast<unsigned long long>(units);
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, magnitude);
    std::string digits(buf, r.ptr);
    if (static_cast<int>(digits.size()) <= decimals)
        digits.insert(0, static_cast<size_t>(decimals + 1) - digits.size(), '0');
    const int intLen = static_cast<int>(digits.size()) - decimals;
    QString out;
    out.reserve(intLen + intLen / 3 + decimals + 2);
    if (units < 0)
        out += QLatin1Char('-');
    for (int i = 0; i < intLen; ++i) {
        if (i > 0 && (intLen - i) % 3 == 0 && !group.isNull())
            out += group;
        out += QLatin1Char(digits[static_cast<size_t>(i)]);
    }
    if (decimals > 0) {
        out += decimalMark;
        for (int i = intLen; i < static_cast<int>(digits.size()); ++i)
            out += QLatin1Char(digits[static_cast<size_t>(i)]);
    }
    return out;
}

QString FormatFixed(double value, int decimals)
{
    return unitsText(roundedUnits(value, decimals), decimals);
}

QString ShortestNumber(double value)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    QString s = QString::fromLatin1(buf, static_cast<qsizetype>(r.ptr - buf));
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

QString CleanStr(QString& Input, const QString& EArray, int Action)
{
    if (Action != 1 && Action != 2)
        return QString();
    const bool keep = Action == 1;
    // The lists call this for every cell of every recomputation: look ASCII
    // sets up in a bit mask rather than searching the set per character.
    std::bitset<128> ascii;
    bool allAscii = true;
    for (const QChar c : EArray) {
        if (c.unicode() < 128)
            ascii.set(c.unicode());
        else
            allAscii = false;
    }
    QString result;
    result.reserve(Input.size());
    for (const QChar c : Input) {
        const bool inSet = c.unicode() < 128 ? ascii.test(c.unicode())
                                             : !allAscii && EArray.contains(c);
        if (inSet == keep)
            result += c;
    }
    Input.clear();
    return result;
}

} // namespace zel
