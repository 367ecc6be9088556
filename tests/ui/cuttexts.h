// Captions, radio buttons, check boxes, buttons, group boxes and header
// sections of a window whose text does not fit the room its control gives
// it (too narrow, or under another control, or outside the window): the
// names of those the user would see cut off, and with `cells` the table cells
// in view too. A text elided with "..." that shows whole as its tool tip is
// not cut.
#pragma once

#include <QAbstractButton>
#include <QCommandLinkButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QStringList>

#include <algorithm>
#include <QTextDocument>

namespace zel {

inline QStringList cutTexts(QWidget* window, bool cells = false)
{
    QStringList cut;
    auto elided = [](const QString& text, const QString& tip) {
        return (text.contains(QStringLiteral("...")) || text.contains(QChar(0x2026))) && !tip.isEmpty();
    };
    // A text's rect (in its control) shows whole: within every parent and
    // not under a sibling made after the control.
    auto shows = [window](QWidget* w, const QRect& text) {
        const QList<QWidget*> siblings =
            w->parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (qsizetype i = siblings.indexOf(w) + 1; i < siblings.size(); ++i)
            if (siblings[i]->isVisibleTo(window) && !siblings[i]->isWindow()
                && siblings[i]->geometry().intersects(text.translated(w->pos())))
                return false;
        for (QWidget* a = w->parentWidget(); a; a = a->parentWidget()) {
            if (!a->rect().contains(QRect(w->mapTo(a, text.topLeft()), text.size())))
                return false;
            if (a == window || a->isWindow())
                break;
        }
        return true;
    };
    auto check = [&](QWidget* w, int needed, int room = -1) {
        room = room < 0 ? w->width() : room;
        if (!w->isVisibleTo(window) || w->isWindow())
            return;
        if (room < needed)
            cut << QStringLiteral("%1 (%2 < %3)").arg(w->objectName()).arg(room).arg(needed);
        else if (!shows(w, QRect(0, 0, std::min(needed, w->width()), w->height())))
            cut << w->objectName() + QStringLiteral(" (covered or outside its window)");
    };
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (b->text().isEmpty())
            continue;
        if (qobject_cast<QCommandLinkButton*>(b)) {
            // Its size hint keeps room for a description: the bold title after the icon.
            QFont bold = b->font();
            bold.setBold(true);
            check(b, QFontMetrics(bold).horizontalAdvance(b->text()) + b->iconSize().width() + 17);
        } else if (qobject_cast<QPushButton*>(b)) {
            // The text within the bevel; the style's least width of a button is no text's.
            const int frame = b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
            const int icon = b->icon().isNull() ? 0 : b->iconSize().width() + 4;
            check(b, b->fontMetrics().horizontalAdvance(b->text()) + icon + 2 * frame);
        } else {
            check(b, b->sizeHint().width());
        }
    }
    for (QLabel* l : window->findChildren<QLabel*>()) {
        if (l->text().isEmpty() || !l->pixmap().isNull() || Qt::mightBeRichText(l->text())
            || elided(l->text(), l->toolTip()))
            continue;
        if (l->wordWrap())
            check(l, l->heightForWidth(l->width()), l->height()); // every line shown
        else if (const int needed = l->fontMetrics().horizontalAdvance(l->text()) + 2 * l->margin(); l->width() < needed)
            check(l, needed);
        else if (l->isVisibleTo(window)
                 && !shows(l, QStyle::alignedRect(l->layoutDirection(), l->alignment(),
                                                  QSize(needed, l->fontMetrics().height()), l->rect())))
            cut << l->objectName() + QStringLiteral(" (covered or outside its window)");
    }
    // With `cells`, the cells in view of its tables too (a date and time, a volume).
    for (QTableView* v : cells ? window->findChildren<QTableView*>() : QList<QTableView*>()) {
        const int margins = 2 * (v->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, v) + 1);
        for (int r = 0; r < v->model()->rowCount() && v->rowViewportPosition(r) < v->viewport()->height(); ++r)
            for (int c = 0; c < v->model()->columnCount(); ++c) {
                const QString text = v->model()->index(r, c).data().toString();
                const int needed = v->fontMetrics().horizontalAdvance(text) + margins;
                if (v->isVisibleTo(window) && !v->isColumnHidden(c) && v->columnWidth(c) < needed)
                    cut << QStringLiteral("%1 %2 (%3 < %4)").arg(v->objectName(), text).arg(v->columnWidth(c)).arg(needed);
            }
    }
    for (QHeaderView* h : window->findChildren<QHeaderView*>()) {
        if (h->orientation() != Qt::Horizontal || !h->model())
            continue;
        for (int i = 0; i < h->count(); ++i) {
            const QString text = h->model()->headerData(i, Qt::Horizontal).toString();
            if (h->isSectionHidden(i) || elided(text, h->model()->headerData(i, Qt::Horizontal, Qt::ToolTipRole).toString()))
                continue;
            const int needed = h->sectionSizeHint(i); // in the bold of a highlighted section
            if (h->isVisibleTo(window) && h->sectionSize(i) < needed)
                cut << QStringLiteral("%1 %2 (%3 < %4)").arg(h->parentWidget()->objectName(), text)
                           .arg(h->sectionSize(i)).arg(needed);
        }
    }
    for (QGroupBox* g : window->findChildren<QGroupBox*>()) {
        if (!g->title().isEmpty())
            check(g, g->fontMetrics().horizontalAdvance(g->title()) + 12);
    }
    return cut;
}

} // namespace zel
