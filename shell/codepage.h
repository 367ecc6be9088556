// Conversions between text and the 8-bit Windows-1251 code page.
#pragma once

#include <QByteArray>
#include <QString>

namespace zel {

// Text in Windows-1251 through the system's converter; a character the code
// page has no place for becomes "?".
QByteArray toWindows1251(const QString& text);

// Windows-1251 bytes as text (every byte has a meaning but 0x98, which reads as "?").
QString fromWindows1251(const QByteArray& bytes);

} // namespace zel
