// The program's pictures, by the resource names the windows use.
#pragma once

#include <QIcon>
#include <QPixmap>

class QLabel;

namespace zel {

// "Bitmap_2" (round timber), "Bitmap_1" (boards), "message", "error",
// "Bitmap_3" / "Bitmap_4" (panel toggle down / up), "about", "app_icon",
// "close", "menu"; drawn at `size` (the picture's own size when empty).
QPixmap picture(const QString& name, const QSize& size = QSize());
// The picture at every size an icon is asked for.
QIcon pictureIcon(const QString& name);

// Shows the picture in a label and remembers which one it is (property
// "picture"), so that what a window shows can be asked.
void showPicture(QLabel* label, const QString& name);

// The pixels the build drew ahead for `stem` at that size (the headers, the
// toggles, the icons and the line icons, at the sizes the windows show
// them), read in place from the program's resources; a null image where it
// drew none.
QImage drawnAhead(const QString& stem, const QSize& size);

} // namespace zel
