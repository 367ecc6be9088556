#include "shell/ui/drawsvg.h"
#include "shell/ui/svgdrawing.h"

namespace zel {
namespace {

class QtSvgDrawing : public ISvgDrawing {
public:
    QImage draw(const QString& file, const QSize& size) override { return drawSvg(file, size); }
};

} // namespace

ISvgDrawing& qtSvgDrawing()
{
    static QtSvgDrawing drawing;
    return drawing;
}

} // namespace zel
