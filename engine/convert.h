// Text to number conversions with the conversion error's wording.
#pragma once

#include <QChar>
#include <QString>

namespace zel {

// A whole number of the signed 32-bit range: optional leading blanks, an
// optional sign, decimal digits and nothing after them.
// Throws ConvertError: "abc" is not a valid integer value
int StrToInt(const QString& text);

// A decimal number with the given decimal separator: optional leading and
// trailing blanks, an optional sign, digits with at most one separator, and
// an optional exponent. Throws ConvertError: "abc" is not a valid floating point value
double StrToFloat(const QString& text, QChar decimalSeparator);

// The value of a hexadecimal digit of either case, -1 for any other byte.
int hexDigitValue(char c);

} // namespace zel
