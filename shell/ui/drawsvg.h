// One SVG picture drawn into an image: the program's pictures and the build
// step that draws the ones shown at fixed sizes ahead (resources/drawpictures)
// go through this one function, so both give the same pixels.
#pragma once

#include <QImage>
#include <QString>

namespace zel {

// Drawn at `size`, or at the picture's own size when that is empty; a null
// image when the file is no picture. Any thread may draw.
QImage drawSvg(const QString& file, const QSize& size);

} // namespace zel
