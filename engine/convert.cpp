// Strict text to number conversions.
#include "engine/convert.h"
#include "engine/errors.h"

#include <charconv>
#include <limits>

namespace zel {
namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

[[noreturn]] void notInteger(const QString& text)
{
    throw ConvertError(QStringLiteral("\"%1\" is not a valid integer value").arg(text));
}

[[noreturn]] void notFloat(const QString& text)
{
    throw ConvertError(QStringLiteral("\"%1\" is not a valid floating point value").arg(text));
}

} // namespace

int StrToInt(const QString& text)
{
    int i = 0;
    const int n = text.size();
    while (i < n && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == n)
        notInteger(text);
    long long value = 0;
    for (; i < n; ++i) {
        if (!isDigit(text[i]))
            notInteger(text);
        value = value * 10 + (text[i].unicode() - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            notInteger(text);
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        notInteger(text);
    return static_cast<int>(value);
}

double StrToFloat(const QString& text, QChar decimalSeparator)
{
    // Build a plain C-locale text while checking the shape, then let from_chars do
    // the correctly rounded conversion.
    const QString t = text.trimmed();
    QByteArray plain;
    plain.reserve(t.size());
    int i = 0;
    const int n = t.size();
    if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        plain.append(static_cast<char>(t[i++].unicode()));
    int digits = 0;
    bool separatorSeen = false;
    for (; i < n; ++i) {
        const QChar c = t[i];
        if (isDigit(c)) {
            plain.append(static_cast<char>(c.unicode()));
            ++digits;
        } else if (c == decimalSeparator && !separatorSeen) {
            plain.append('.');
            separatorSeen = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        notFloat(text);
    if (i < n && (t[i] == QLatin1Char('e') || t[i] == QLatin1Char('E'))) {
        plain.append('e');
        ++i;
        if (i < n && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
            plain.append(static_cast<char>(t[i++].unicode()));
        int expDigits = 0;
        for (; i < n && isDigit(t[i]); ++i, ++expDigits)
            plain.append(static_cast<char>(t[i].unicode()));
        if (expDigits == 0)
            notFloat(text);
    }
    if (i != n)
        notFloat(text);
    // from_chars ignores the C locale, which a GUI application has switched to the user's.
    double value = 0.0;
    const char* first = plain.constData();
    if (*first == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, plain.constData() + plain.size(), value);
    if (ec != std::errc() || end != plain.constData() + plain.size())
        notFloat(text);
    return value;
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace zel
