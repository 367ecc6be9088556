// Captions, radio buttons, check boxes and buttons of a window whose text
// does not fit the control: the names of those the user would see cut off.
#pragma once

#include <QAbstractButton>
#include <QCommandLinkButton>
#include <QGroupBox>
#include <QLabel>
#include <QStringList>
#include <QTextDocument>

namespace zel {

inline QStringList cutTexts(QWidget* window)
{
    QStringList cut;
    auto check = [&](QWidget* w, int needed) {
        if (w->isVisibleTo(window) && w->width() < needed)
            cut << QStringLiteral("%1 (%2 < %3)").arg(w->objectName()).arg(w->width()).arg(needed);
    };
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (b->text().isEmpty())
            continue;
        if (qobject_cast<QCommandLinkButton*>(b)) {
            // Its size hint keeps room for a description: the bold title after the icon.
            QFont bold = b->font();
            bold.setBold(true);
            check(b, QFontMetrics(bold).horizontalAdvance(b->text()) + b->iconSize().width() + 17);
        } else {
            check(b, b->sizeHint().width());
        }
    }
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (!l->wordWrap() && !l->text().isEmpty() && l->pixmap().isNull()
            && !Qt::mightBeRichText(l->text()))
            check(l, l->fontMetrics().horizontalAdvance(l->text()) + 2 * l->margin());
    }
    for (QGroupBox* g : window->findChildren<QGroupBox*>()) {
        if (!g->title().isEmpty())
            check(g, g->fontMetrics().horizontalAdvance(g->title()) + 12);
    }
    return cut;
}

} // namespace zel
