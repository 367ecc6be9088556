// Texts on their way to and from the maker's service: the Windows-1251
// percent-encoding of Cyrillic, the decoding of Windows-1251 answers read as
// ISO-8859-1, the escaping of query values, and the date and time texts.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace zel {

// Percent-encodes the 33 Russian letters of each case, і ї є І Ї Є, the space,
// the backslash, ">" and "<" by their Windows-1251 codes ("а" -> "%E0",
// " " -> "%20"); every other character stays, "%" included, so a second
// encoding changes nothing.
QString W1251toUTF8(const QString& text);

// U+00C0..U+00FF become U+0410..U+044F: a Windows-1251 text read as
// ISO-8859-1 gets its letters А..я back.
QString DecodeWin1251(const QString& text);

// The Ukrainian letters left over by DecodeWin1251: U+00AF Ї, U+00BF ї,
// U+00B2 І, U+00B3 і, U+00AA Є, U+00BA є.
QString UkrStr(const QString& text);

// Every apostrophe becomes a grave accent.
QString ClearString(const QString& text);

// ASCII letters upper-cased, every other character kept.
QString asciiUpper(const QString& text);

// What must not reach a query raw. "#" would end it, "&" start another
// parameter and "+" read as a space, so they are percent-encoded; so are the
// space, the control characters and everything outside ASCII (by its
// Windows-1251 code, "?" when the code page has none), which an address
// cannot carry. A "%" is encoded too unless `keepPercent` is set: a text
// already through W1251toUTF8 uses "%" for its own escapes.
QString escapeQueryValue(const QString& text, bool keepPercent);

// The date in the locale's short format ("09.12.2026" in Russian).
QString shortDateText(const QDate& date, const QLocale& locale = QLocale::system());

// The date, a space and the time in the locale's long time format; at
// exactly midnight the date alone.
QString dateTimeText(const QDateTime& at, const QLocale& locale = QLocale::system());

} // namespace zel
