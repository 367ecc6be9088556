// Pictures from the SVG resources, drawn at the size they are shown.
#include "shell/ui/pictures.h"

#include <QLabel>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

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

QPixmap picture(const QString& name, const QSize& size)
{
    QSvgRenderer renderer(fileOf(name));
    const QSize s = size.isEmpty() ? renderer.defaultSize() : size;
    if (!renderer.isValid() || s.isEmpty())
        return QPixmap();
    QPixmap pm(s);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    renderer.render(&p);
    return pm;
}

QIcon pictureIcon(const QString& name)
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(picture(name, QSize(side, side)));
    return icon;
}

void showPicture(QLabel* label, const QString& name)
{
    label->setPixmap(picture(name, label->size()));
    label->setProperty("picture", name);
}

} // namespace zel
