// Controls that grow with their texts: no caption, radio button, check box or
// button is cut off in any language.
#pragma once

class QLabel;
class QString;
class QWidget;

namespace zel {

// The width a caption or a button needs to show its whole text on one line;
// 0 for a control whose text wraps or that shows a picture.
int textWidth(const QWidget* control);

// Every caption and button under `root` that is placed by hand (its parent
// has no layout) is made as wide as its text needs, never narrower than its
// design width. It grows away from its aligned edge: right-aligned captions
// keep their right edge, all others their left.
void fitTexts(QWidget* root);

// Shows `text` in a label of a size the design fixes: whole when it fits,
// else cut to what fits followed by "...", the whole text then the label's
// tool tip.
void showElided(QLabel* label, const QString& text);
// The whole text of such a label.
QString wholeText(const QLabel* label);

// A window or panel laid out by a layout, `designWidth` wide unless its
// contents need more.
void fitWidth(QWidget* widget, int designWidth);

} // namespace zel
