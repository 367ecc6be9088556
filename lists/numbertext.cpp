// Number texts of the lists.
#include "lists/numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace zel {
namespace {

// Digits of a non-negative decimal string ("123.456") rounded at `places`
// decimals, half away from zero. `exact` carries enough digits beyond the
// rounding place that a nonzero tail past them is impossible for a double.
std::string roundDecimal(const std::string& exact, int places)
{
    const size_t dot = exact.find('.');
    std::string intPart = dot == std::string::npos ? exact : exact.substr(0, dot);
    std::string frac = dot == std::string::npos ? std::string() : exact.substr(dot + 1);
    if (static_cast<int>(frac.size()) < places + 1)
        frac.append(places + 1 - frac.size(), '0');
    const bool up = frac[places] >= '5';
    std::string digits = intPart + frac.substr(0, places);
    if (up) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[i] == '9')
            digits[i--] = '0';
        if (i < 0)
            digits.insert(digits.begin(), '1');
        else
            ++digits[i];
    }
    const size_t intLen = digits.size() - places;
    return places > 0 ? digits.substr(0, intLen) + "." + digits.substr(intLen) : digits;
}

std::string fixedExact(double a, int places)
{
    // 25 digits past the rounding place are more than a double can be off a tie.
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, places + 25);
    return std::string(buf, r.ptr);
}

void appendGrouped(QString& out, const std::string& intDigits)
{
    const int n = static_cast<int>(intDigits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += kGroupSeparator;
        out += QLatin1Char(intDigits[i]);
    }
}

} // namespace

QString FormatNumber(double value, int decimals)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    const bool negative = std::signbit(value) && value != 0.0;
    const double a = std::fabs(value);

    // Four significant digits first: they tell the exponent after rounding.
    int exponent = 0;
    std::string mantissa = "0000"; // four digits, the point after the first
    if (a != 0.0) {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 28);
        const std::string sci(buf, r.ptr);
        const size_t e = sci.find('e');
        exponent = std::stoi(sci.substr(e + 1));
        std::string rounded = roundDecimal(sci.substr(0, e), 3); // "d.ddd" or "10.000"
        if (rounded.size() > 5) { // 9.9995 became 10.000
            ++exponent;
            rounded = "1.000";
        }
        mantissa = rounded.substr(0, 1) + rounded.substr(2, 3);
    }

    QString out;
    if (exponent >= 4) {
        out += QLatin1Char(mantissa[0]);
        out += QLatin1Char(',');
        out += QLatin1String(mantissa.substr(1).c_str());
        out += QLatin1Char('E');
        QString exp = QString::number(exponent);
        if (exp.size() < decimals)
            exp = QString(decimals - exp.size(), QLatin1Char('0')) + exp;
        out += exp;
    } else {
        const int places = std::max(0, std::min(decimals, 3 - exponent));
        const std::string fixed = roundDecimal(fixedExact(a, places), places);
        const size_t dot = fixed.find('.');
        appendGrouped(out, dot == std::string::npos ? fixed : fixed.substr(0, dot));
        if (decimals > 0) {
            out += QLatin1Char(',');
            int written = 0;
            if (dot != std::string::npos) {
                out += QLatin1String(fixed.substr(dot + 1).c_str());
                written = static_cast<int>(fixed.size() - dot - 1);
            }
            out += QString(decimals - written, QLatin1Char('0'));
        }
    }
    // A negative value that rounds to zero carries no sign.
    const bool nonZero = std::any_of(out.cbegin(), out.cend(), [](QChar c) {
        return c >= QLatin1Char('1') && c <= QLatin1Char('9');
    });
    return negative && nonZero ? QLatin1Char('-') + out : out;
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
    QString result;
    result.reserve(Input.size());
    for (const QChar c : Input)
        if (EArray.contains(c) == keep)
            result += c;
    Input.clear();
    return result;
}

} // namespace zel
