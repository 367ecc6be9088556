// Controls that grow with their texts.
#include "shell/ui/fittext.h"

#include <QAbstractButton>
#include <QCommandLinkButton>
#include <QLabel>
#include <QTextDocument>
#include <QVariant>

#include <algorithm>

namespace zel {
namespace {

const char* const kDesignWidth = "designWidth";

} // namespace

int textWidth(const QWidget* control)
{
    if (const auto* link = qobject_cast<const QCommandLinkButton*>(control)) {
        // Its size hint keeps room for a description it does not have; the
        // title is drawn bold after the icon, 17 pixels of margins in all.
        QFont bold = link->font();
        bold.setBold(true);
        return QFontMetrics(bold).horizontalAdvance(link->text()) + link->iconSize().width() + 17;
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text().isEmpty() ? 0 : button->sizeHint().width();
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->wordWrap() || label->text().isEmpty() || !label->pixmap().isNull()
            || Qt::mightBeRichText(label->text()))
            return 0;
        const QMargins m = label->contentsMargins();
        return label->fontMetrics().horizontalAdvance(label->text()) + m.left() + m.right()
             + 2 * label->margin();
    }
    return 0;
}

void fitTexts(QWidget* root)
{
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!qobject_cast<QLabel*>(w) && !qobject_cast<QAbstractButton*>(w))
            continue;
        if (!w->parentWidget() || w->parentWidget()->layout() || w->isWindow())
            continue;
        QVariant design = w->property(kDesignWidth);
        if (!design.isValid()) {
            design = w->width();
            w->setProperty(kDesignWidth, design);
        }
        const int width = std::max(design.toInt(), textWidth(w));
        if (width == w->width())
            continue;
        const auto* label = qobject_cast<QLabel*>(w);
        const bool keepRight = label && (label->alignment() & Qt::AlignRight);
        const int left = keepRight ? w->geometry().right() + 1 - width : w->x();
        w->setGeometry(left, w->y(), width, w->height());
    }
}

void showElided(QLabel* label, const QString& text)
{
    const QMargins m = label->contentsMargins();
    const int room = label->width() - m.left() - m.right() - 2 * label->margin();
    const QFontMetrics fm = label->fontMetrics();
    if (fm.horizontalAdvance(text) <= room) {
        label->setText(text);
        label->setToolTip(QString());
        return;
    }
    static const QString dots = QStringLiteral("...");
    qsizetype n = text.size();
    while (n > 0 && fm.horizontalAdvance(text.left(n) + dots) > room)
        --n;
    label->setText(text.left(n).trimmed() + dots);
    label->setToolTip(text);
}

QString wholeText(const QLabel* label)
{
    return label->toolTip().isEmpty() ? label->text() : label->toolTip();
}

void fitWidth(QWidget* widget, int designWidth)
{
    widget->setFixedWidth(std::max(designWidth, widget->minimumSizeHint().width()));
}

} // namespace zel
