// Line icons, drawn rather than loaded: they are 16 pixels and two colours.
// The build draws them ahead; only a program built without that draws them.
#include "lists/ui/lineicons.h"

#include "lists/ui/linedrawing.h"
#include "shell/ui/pictures.h"

#include <QPixmap>

#include <utility>

namespace zel {

QIcon lineIcon(bool fallback)
{
    QIcon icon;
    for (int side : {16, 32}) {
        QImage image = drawnAhead(lineIconStem(fallback), QSize(side, side));
        if (image.isNull())
            image = drawLineIcon(fallback, side);
        icon.addPixmap(QPixmap::fromImage(std::move(image)));
    }
    return icon;
}

} // namespace zel
