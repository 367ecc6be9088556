// Comma text, both ways.
#include "shell/commatext.h"

namespace zel {
namespace {

bool isBlankOrControl(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

bool needsQuotes(const QString& item)
{
    for (const QChar c : item)
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || isBlankOrControl(c))
            return true;
    return false;
}

} // namespace

QString CommaText(const QStringList& items)
{
    if (items.size() == 1 && items.first().isEmpty())
        return QStringLiteral("\"\"");
    QString text;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(',');
        const QString& item = items[i];
        if (needsQuotes(item)) {
            text += QLatin1Char('"');
            for (const QChar c : item) {
                if (c == QLatin1Char('"'))
                    text += QLatin1Char('"');
                text += c;
            }
            text += QLatin1Char('"');
        } else {
            text += item;
        }
    }
    return text;
}

QStringList SetCommaText(const QString& source)
{
    // A NUL ends the text, as it ends a C string.
    const qsizetype nul = source.indexOf(QChar(0));
    const QString text = nul < 0 ? source : source.left(nul);
    const qsizetype n = text.size();
    QStringList items;
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isBlankOrControl(text[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        QString item;
        if (text[i] == QLatin1Char('"')) {
            ++i;
            while (i < n) {
                if (text[i] == QLatin1Char('"')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                        item += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            const qsizetype start = i;
            while (i < n && text[i] != QLatin1Char(',') && !isBlankOrControl(text[i]))
                ++i;
            item = text.mid(start, i - start);
        }
        items.append(item);
        skipBlanks();
        if (i < n && text[i] == QLatin1Char(',')) {
            if (i == n - 1)
                items.append(QString());
            ++i;
            skipBlanks();
        }
    }
    return items;
}

} // namespace zel
