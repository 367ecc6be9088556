// The lists in the store.
#include "lists/liststore.h"
#include "shell/commatext.h"
#include "shell/settingsio.h"

namespace zel {

QStringList loadListTexts(ISettingsStore& store, const QString& valueName,
                          const QStringList& current)
{
    auto key = store.open();
    if (!key)
        return current;
    try {
        return SetCommaText(key->readString(valueName));
    } catch (const StoreError& e) {
        QString keptAs = valueName + QStringLiteral(".unread");
        for (int n = 2; key->valueExists(keptAs); ++n)
            keptAs = valueName + QStringLiteral(".unread") + QString::number(n);
        key->copyValue(valueName, keptAs);
        throw UnreadListError(QString::fromUtf8(e.what()), keptAs);
    }
}

bool saveListTexts(ISettingsStore& store, const QStringList& roundTexts,
                   const QStringList& boardTexts)
{
    auto key = store.open();
    if (!key)
        return true;
    key->writeString(kRoundListValue, CommaText(roundTexts));
    key->writeString(kBoardListValue, CommaText(boardTexts));
    return key->commit();
}

Lines linesFromTexts(const QStringList& texts, int columns)
{
    Lines lines;
    const qsizetype n = texts.size() / columns;
    lines.reserve(n);
    for (qsizetype k = 0; k < n; ++k) {
        ListLine line;
        line.cells = QVector<QString>(texts.cbegin() + k * columns, texts.cbegin() + (k + 1) * columns);
        line.icon = columns == kRoundColumns ? kIconNormal : kIconNone;
        lines.append(line);
    }
    return lines;
}

} // namespace zel
