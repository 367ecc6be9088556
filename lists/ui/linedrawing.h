// The line icons' drawing: the program's and the build step's that draws
// them ahead (resources/drawpictures) are this one function.
#pragma once

#include <QImage>
#include <QString>

namespace zel {

// A log's cut end, `side` pixels square; `fallback` draws the one of a line
// computed by the formula. Any thread may draw.
QImage drawLineIcon(bool fallback, int side);

// The name the build draws that icon ahead under.
inline QString lineIconStem(bool fallback)
{
    return fallback ? QStringLiteral("line_fallback") : QStringLiteral("line_normal");
}

} // namespace zel
