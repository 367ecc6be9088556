// Number texts of the lists.
#include "lists/numbertext.h"

#include <algorithm>
#include <bitset>
#include <charconv>
#include <cmath>
#include <cstring>

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

// 25 digits beyond a rounding place are more than a double can sit off a
// half without being on it, so looking at the first of them rounds the exact
// binary value correctly.
constexpr int kGuardDigits = 25;

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
    const double a = std::fabs(value);

    // Four significant digits first: they tell the exponent after rounding.
    int exponent = 0;
    char mantissa[4] = {'0', '0', '0', '0'};
    if (a != 0.0) {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific,
                                     3 + kGuardDigits);
        // buf: "d.ddd...e[+-]xx"
        char digits[5] = {buf[0], buf[2], buf[3], buf[4], buf[5]};
        const char* e = std::find(buf, r.ptr, 'e');
        std::from_chars(e + (e[1] == '+' ? 2 : 1), r.ptr, exponent);
        if (roundDigits(digits, 4, digits[4])) {
            digits[0] = '1';
            ++exponent;
        }
        std::copy(digits, digits + 4, mantissa);
    }

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
        const int places = std::max(0, std::min(decimals, 3 - exponent));
        char buf[128];
        const auto r = std::to_chars(buf + 1, buf + sizeof buf, a, std::chars_format::fixed,
                                     places + kGuardDigits);
        // Digits without the point, with room in front for a carry.
        char* dot = std::find(buf + 1, r.ptr, '.');
        int intLen = static_cast<int>(dot - (buf + 1));
        std::memmove(dot, dot + 1, places + 1); // drop the point
        char* digits = buf + 1;
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
            for (int i = places; i < std::min(decimals, 20); ++i)
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
