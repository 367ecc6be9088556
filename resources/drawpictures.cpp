// Build step: draws the pictures that the windows show at fixed sizes, so
// that the program reads them instead of drawing them at every start.
// Arguments: the SVG folder, the output folder, then "file:WxH"...; each
// gives "<output>/<file>_<W>x<H>.argb", the pixels as drawn (32-bit
// premultiplied ARGB, this machine's byte order, row after row): no decoder
// to load and nothing to unpack. "line_normal" and "line_fallback" are the
// list's line icons, drawn by their own code; the others are SVG files.
// "file:WxH:png" gives "<output>/<file>_<W>x<H>.png" instead, for the icon
// theme an installed program puts its icon in.
#include "lists/ui/linedrawing.h"
#include "shell/ui/drawsvg.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    // Text in the headers needs the fonts of a GUI application.
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fputs("usage: drawpictures <svg folder> <output folder> file:WxH...\n", stderr);
        return 2;
    }
    const QDir svg(args.at(1));
    const QDir out(args.at(2));
    if (!out.mkpath(QStringLiteral(".")))
        return 1;
    for (const QString& spec : args.mid(3)) {
        const QStringList parts = spec.split(QLatin1Char(':'));
        const QStringList sides = parts.value(1).split(QLatin1Char('x'));
        const QSize size(sides.value(0).toInt(), sides.value(1).toInt());
        const QString& name = parts.at(0);
        const bool fallback = name == zel::lineIconStem(true);
        const QImage image = fallback || name == zel::lineIconStem(false)
                                 ? zel::drawLineIcon(fallback, size.width())
                                 : zel::drawSvg(svg.filePath(name + QStringLiteral(".svg")), size);
        const QString stem = QStringLiteral("%1_%2x%3").arg(parts.at(0)).arg(size.width()).arg(size.height());
        if (parts.size() == 3 && parts.at(2) == QLatin1String("png")) {
            if (size.isEmpty() || !image.save(out.filePath(stem + QStringLiteral(".png")), "PNG")) {
                std::fprintf(stderr, "drawpictures: cannot draw %s\n", qPrintable(spec));
                return 1;
            }
            continue;
        }
        QFile file(out.filePath(stem + QStringLiteral(".argb")));
        const auto bytes = static_cast<qint64>(image.sizeInBytes());
        if (parts.size() != 2 || size.isEmpty() || image.format() != QImage::Format_ARGB32_Premultiplied
            || image.bytesPerLine() != size.width() * 4 || !file.open(QIODevice::WriteOnly)
            || file.write(reinterpret_cast<const char*>(image.constBits()), bytes) != bytes) {
            std::fprintf(stderr, "drawpictures: cannot draw %s\n", qPrintable(spec));
            return 1;
        }
    }
    return 0;
}
