// The line icons' drawing: the program's and the build step's that draws
// them ahead (resources/drawpictures) are this one function.
#pragma once

#include <QImage>

namespace zel {

// A log's cut end, `side` pixels square; `fallback` draws the one of a line
// computed by the formula. Any thread may draw.
QImage drawLineIcon(bool fallback, int side);

} // namespace zel
