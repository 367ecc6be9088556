// Pictures from the SVG resources, drawn at the size they are shown (by the
// build, ahead, for the sizes the windows use).
#include "shell/ui/pictures.h"

#include "shell/ui/drawsvg.h"

#include <QHash>
#include <QLabel>
#include <QResource>

#include <utility>

namespace zel {

namespace {

// The windows' names for their pictures, and the names of the files they
// are drawn from (resources/pictures/<stem>.svg).
QString stemOf(const QString& name)
{
    static const QHash<QString, QString> files{
        {QStringLiteral("Bitmap_2"), QStringLiteral("header_round")},
        {QStringLiteral("Bitmap_1"), QStringLiteral("header_board")},
        {QStringLiteral("message"), QStringLiteral("header_message")},
        {QStringLiteral("error"), QStringLiteral("header_error")},
        {QStringLiteral("Bitmap_3"), QStringLiteral("toggle_down")},
        {QStringLiteral("Bitmap_4"), QStringLiteral("toggle_up")},
    };
    return files.value(name, name);
}

QImage pictureImage(const QString& name, const QSize& size)
{
    const QString stem = stemOf(name);
    if (!size.isEmpty()) {
        QImage image = drawnAhead(stem, size);
        if (!image.isNull())
            return image;
    }
    return drawSvg(QStringLiteral(":/pictures/%1.svg").arg(stem), size);
}

} // namespace

QImage drawnAhead(const QString& stem, const QSize& size)
{
    const QResource drawn(QStringLiteral(":/drawn/%1_%2x%3.argb").arg(stem).arg(size.width()).arg(size.height()));
    if (drawn.isValid() && drawn.compressionAlgorithm() == QResource::NoCompression
        && drawn.size() == qint64(size.width()) * size.height() * 4)
        return QImage(drawn.data(), size.width(), size.height(), size.width() * 4,
                      QImage::Format_ARGB32_Premultiplied);
    return QImage();
}

QPixmap picture(const QString& name, const QSize& size)
{
    QImage image = pictureImage(name, size);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(std::move(image));
}

QIcon pictureIcon(const QString& name)
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        QImage image = pictureImage(name, QSize(side, side));
        icon.addPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(std::move(image)));
    }
    return icon;
}

void showPicture(QLabel* label, const QString& name)
{
    label->setPixmap(picture(name, label->size()));
    label->setProperty("picture", name);
}

} // namespace zel
