// Pictures from the SVG resources, drawn at the size they are shown.
#include "shell/ui/pictures.h"

#include <QLabel>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include <future>
#include <map>
#include <vector>

namespace zel {

namespace {

// The windows' names for their pictures, and the files they are drawn from.
QString fileOf(const QString& name)
{
    static const QHash<QString, QString> files{
        {QStringLiteral("Bitmap_2"), QStringLiteral("header_round")},
        {QStringLiteral("Bitmap_1"), QStringLiteral("header_board")},
        {QStringLiteral("message"), QStringLiteral("header_message")},
        {QStringLiteral("error"), QStringLiteral("header_error")},
        {QStringLiteral("Bitmap_3"), QStringLiteral("toggle_down")},
        {QStringLiteral("Bitmap_4"), QStringLiteral("toggle_up")},
    };
    return QStringLiteral(":/pictures/%1.svg").arg(files.value(name, name));
}

} // namespace

namespace {

// Drawn into an image, which any thread may do.
QImage pictureImage(const QString& name, const QSize& size)
{
    QSvgRenderer renderer(fileOf(name));
    const QSize s = size.isEmpty() ? renderer.defaultSize() : size;
    if (!renderer.isValid() || s.isEmpty())
        return QImage();
    QImage image(s, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    renderer.render(&p);
    return image;
}

constexpr int kIconSides[] = {16, 24, 32, 48, 64, 128, 256};

std::vector<QImage> iconImages(const QString& name)
{
    std::vector<QImage> images;
    for (int side : kIconSides)
        images.push_back(pictureImage(name, QSize(side, side)));
    return images;
}

// The icons being drawn ahead, by name; each is taken once. Touched on the
// UI thread only.
std::map<QString, std::future<std::vector<QImage>>>& ahead()
{
    static std::map<QString, std::future<std::vector<QImage>>> drawing;
    return drawing;
}

} // namespace

QPixmap picture(const QString& name, const QSize& size)
{
    const QImage image = pictureImage(name, size);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

QIcon pictureIcon(const QString& name)
{
    std::vector<QImage> images;
    const auto drawn = ahead().find(name);
    if (drawn != ahead().end()) {
        images = drawn->second.get();
        ahead().erase(drawn);
    } else {
        images = iconImages(name);
    }
    QIcon icon;
    for (const QImage& image : images)
        icon.addPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
    return icon;
}

void drawIconAhead(const QString& name)
{
    if (ahead().count(name) == 0)
        ahead()[name] = std::async(std::launch::async, [name] { return iconImages(name); });
}

void showPicture(QLabel* label, const QString& name)
{
    label->setPixmap(picture(name, label->size()));
    label->setProperty("picture", name);
}

} // namespace zel
