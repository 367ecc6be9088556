// Line icons, drawn rather than loaded: they are 16 pixels and two colours.
#include "lists/ui/lineicons.h"

#include <QPainter>
#include <QPixmap>

namespace zel {

QIcon lineIcon(bool fallback)
{
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 16.0, size / 16.0);
        const QColor bark = fallback ? QColor(0xb0, 0x1e, 0x1e) : QColor(0x7a, 0x4a, 0x1c);
        const QColor wood = fallback ? QColor(0xf4, 0xb4, 0xa8) : QColor(0xe9, 0xc3, 0x8a);
        p.setPen(QPen(bark, 1.5));
        p.setBrush(wood);
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(bark, 0.8));
        p.drawEllipse(QRectF(4.5, 4.5, 7, 7));
        p.drawEllipse(QRectF(7, 7, 2, 2));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace zel
