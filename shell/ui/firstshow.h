// Work put off until a window is on the screen.
#pragma once

#include <functional>

class QWidget;

namespace zel {

// Runs `work` once, on the UI thread, after `window` (shown already) has
// first been exposed and painted.
void afterFirstShow(QWidget& window, std::function<void()> work);

} // namespace zel
