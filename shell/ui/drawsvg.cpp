#include "shell/ui/drawsvg.h"

#include <QPainter>
#include <QSvgRenderer>

namespace zel {

QImage drawSvg(const QString& file, const QSize& size)
{
    QSvgRenderer renderer(file);
    const QSize s = size.isEmpty() ? renderer.defaultSize() : size;
    if (!renderer.isValid() || s.isEmpty())
        return QImage();
    QImage image(s, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    renderer.render(&p);
    return image;
}

} // namespace zel
