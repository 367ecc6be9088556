// The number texts of both lists and their totals, and CleanStr.
#pragma once

#include <QChar>
#include <QString>

namespace zel {

// Groups the thousands of list numbers: a no-break space, the separator of
// Ukrainian and Russian number writing. It is never the decimal comma, and
// the lists' parsing drops it like any other character but digits and comma.
constexpr QChar kGroupSeparator(0x00A0);

// A number with four significant digits and `decimals` decimals, whichever
// keeps fewer digits, written with exactly `decimals` decimals, a decimal
// comma and grouped thousands: 4.567 -> "4,57", 12.3456 -> "12,3500",
// 0.012345 -> "0,0123". With more than four integer digits it takes the
// exponent form: 12345.6 with 2 decimals -> "1,235E04". The digits rounded,
// halves away from zero, are the value's decimal ones (15 significant digits,
// the shortest text that reads back as the same double where it has no more),
// not the binary value's: 0.0185 (held as 0.018499...) -> "0,019" with 3.
QString FormatNumber(double value, int decimals);
// The same, appended to `text`.
void appendNumber(QString& text, double value, int decimals);

// `value` rounded as FormatNumber rounds it (its decimal digits, halves away
// from zero) at `decimals` places, as a whole number of those places' units:
// 1.005 with 2 -> 101. Meant for money and other fixed-point amounts below
// 1e16 units; larger ones are rounded as binary values.
long long roundedUnits(double value, int decimals);

// What FormatNumber(value, decimals) shows, as a whole number of units of
// the last of those decimals: 12.3456 with 4 -> 123500 ("12,3500"), 12345.6
// with 2 -> 1235000 ("1,235E04"). Sums of these are the sums of the numbers
// as a person reads them off the list.
long long shownUnits(double value, int decimals);

// A whole number of units of the `decimals`-th decimal written out in full,
// never in exponent form: 1234567 with 2 -> "12 345,67" (`group` between the
// thousands, none when it is null).
QString unitsText(long long units, int decimals, QChar decimalMark = QLatin1Char(','),
                  QChar group = kGroupSeparator);
// `value` rounded to `decimals` places and written that way: totals and
// amounts outside the lists' own fields.
QString FormatFixed(double value, int decimals);

// The shortest text that reads back as the same double, with a decimal comma
// (4.5 -> "4,5", 4.0 -> "4").
QString ShortestNumber(double value);

// Action 1 keeps the characters of Input found in EArray, action 2 drops them;
// either consumes Input (it is empty on return). Any other action returns the
// empty text and leaves Input alone.
QString CleanStr(QString& Input, const QString& EArray, int Action);

} // namespace zel
