// Texts on their way to and from the maker's service.
#include "online/webtext.h"
#include "shell/codepage.h"
#include "shell/log.h"

namespace zel {
namespace {

// The Windows-1251 code of a character that W1251toUTF8 encodes, or 0.
int encodedCode(char16_t c)
{
    if (c >= u'а' && c <= u'я')
        return 0xE0 + (c - u'а');
    if (c >= u'А' && c <= u'Я')
        return 0xC0 + (c - u'А');
    switch (c) {
    case u'ё': return 0xB8;
    case u'Ё': return 0xA8;
    case u'і': return 0xB3;
    case u'І': return 0xB2;
    case u'ї': return 0xBF;
    case u'Ї': return 0xAF;
    case u'є': return 0xBA;
    case u'Є': return 0xAA;
    case u' ': return 0x20;
    case u'\\': return 0x5C;
    case u'>': return 0x3E;
    case u'<': return 0x3C;
    default: return 0;
    }
}

void appendEscape(QString& out, int byte)
{
    static const char hex[] = "0123456789ABCDEF";
    out += QLatin1Char('%');
    out += QLatin1Char(hex[(byte >> 4) & 0xF]);
    out += QLatin1Char(hex[byte & 0xF]);
}

} // namespace

QString W1251toUTF8(const QString& text)
{
    QString out;
    out.reserve(text.size() * 3);
    for (const QChar c : text) {
        if (const int code = encodedCode(c.unicode()))
            appendEscape(out, code);
        else
            out += c;
    }
    return out;
}

QString DecodeWin1251(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() >= 0xC0 && c.unicode() <= 0xFF)
            c = QChar(c.unicode() + 0x350);
    return out;
}

QString UkrStr(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        switch (c.unicode()) {
        case 0xAF: c = QChar(0x0407); break;
        case 0xBF: c = QChar(0x0457); break;
        case 0xB2: c = QChar(0x0406); break;
        case 0xB3: c = QChar(0x0456); break;
        case 0xAA: c = QChar(0x0404); break;
        case 0xBA: c = QChar(0x0454); break;
        default: break;
        }
    }
    return out;
}

QString ClearString(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\''), QLatin1Char('`'));
    return out;
}

QString asciiUpper(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if (c.unicode() >= 'a' && c.unicode() <= 'z')
            c = QChar(c.unicode() - 'a' + 'A');
    return out;
}

QString escapeQueryValue(const QString& text, bool keepPercent)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool breaks = u == '#' || u == '&' || u == '+' || (u == '%' && !keepPercent);
        if (breaks || u <= 0x20 || u == 0x7F) {
            appendEscape(out, u);
        } else if (u > 0x7F) {
            for (const char byte : toWindows1251(QString(c)))
                appendEscape(out, static_cast<unsigned char>(byte));
        } else {
            out += c;
        }
    }
    return out;
}

QString shortDateText(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, QLocale::ShortFormat);
}

QString dateTimeText(const QDateTime& at, const QLocale& locale)
{
    const QString date = shortDateText(at.date(), locale);
    if (at.time() == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ') + locale.toString(at.time(), Log::timeFormatOf(locale));
}

} // namespace zel
