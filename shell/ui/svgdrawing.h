// SVG pictures drawn at run time: those the build did not draw ahead.
#pragma once

#include <QImage>
#include <QString>

namespace zel {

// Qt SVG travels as a carried module, opened at the first picture that was
// not drawn ahead.
class ISvgDrawing {
public:
    virtual ~ISvgDrawing() = default;
    // As drawSvg (shell/ui/drawsvg.h).
    virtual QImage draw(const QString& file, const QSize& size) = 0;
};

// drawSvg itself (linked in where the module's library is).
ISvgDrawing& qtSvgDrawing();

// The entry of the SVG module: ISvgDrawing* zelmora_svg_open().
inline constexpr const char kSvgDrawingOpen[] = "zelmora_svg_open";

} // namespace zel
