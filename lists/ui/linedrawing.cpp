#include "lists/ui/linedrawing.h"

#include <QPainter>

namespace zel {

QImage drawLineIcon(bool fallback, int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 16.0, side / 16.0);
    const QColor bark = fallback ? QColor(0xb0, 0x1e, 0x1e) : QColor(0x7a, 0x4a, 0x1c);
    const QColor wood = fallback ? QColor(0xf4, 0xb4, 0xa8) : QColor(0xe9, 0xc3, 0x8a);
    p.setPen(QPen(bark, 1.5));
    p.setBrush(wood);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(bark, 0.8));
    p.drawEllipse(QRectF(4.5, 4.5, 7, 7));
    p.drawEllipse(QRectF(7, 7, 2, 2));
    return image;
}

} // namespace zel
