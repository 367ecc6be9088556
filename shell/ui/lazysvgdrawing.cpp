#include "shell/ui/lazysvgdrawing.h"

namespace zel {

LazySvgDrawing::LazySvgDrawing(EmbeddedModule& module)
    : m_drawing(module, kSvgDrawingOpen)
{
}

QImage LazySvgDrawing::draw(const QString& file, const QSize& size)
{
    ISvgDrawing* d = m_drawing.get();
    return d ? d->draw(file, size) : QImage();
}

} // namespace zel
