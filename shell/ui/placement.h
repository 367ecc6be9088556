// Where top-level windows open.
#pragma once

class QWidget;

namespace zel {

// Moves a top-level window so that its frame, caption included, stands in the
// middle of its screen's available area. Before the window is first shown the
// frame is not known yet and counts as the window's own size.
void centreOnScreen(QWidget* window);

} // namespace zel
