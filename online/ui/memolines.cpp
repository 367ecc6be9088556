// The lines of a memo as it shows them.
#include "online/ui/memolines.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace zel {

QStringList displayedLines(const QPlainTextEdit* memo)
{
    QStringList lines;
    const QTextDocument* doc = memo->document();
    if (doc->isEmpty())
        return lines;
    // The width of the text area, worked out from the memo's own size: the
    // viewport of a memo never shown has not been laid out yet.
    int scrollBar = 0;
    if (memo->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        scrollBar = memo->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, memo);
    const qreal width = memo->width() - 2 * memo->frameWidth() - scrollBar - 2 * doc->documentMargin();
    QTextOption option;
    option.setWrapMode(memo->lineWrapMode() == QPlainTextEdit::NoWrap ? QTextOption::NoWrap
                                                                       : memo->wordWrapMode());
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (text.isEmpty() || option.wrapMode() == QTextOption::NoWrap) {
            lines << text;
            continue;
        }
        QTextLayout layout(text, memo->font());
        layout.setTextOption(option);
        layout.beginLayout();
        QList<QString> parts;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width > 1 ? width : 1);
            parts << text.mid(line.textStart(), line.textLength());
        }
        layout.endLayout();
        // The blanks at a wrap are not shown; the last part keeps its own.
        for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
            QString& p = parts[i];
            while (p.size() > 1 && p.endsWith(QLatin1Char(' ')))
                p.chop(1);
        }
        lines << parts;
    }
    return lines;
}

} // namespace zel
