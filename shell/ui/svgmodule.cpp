// The SVG module's entry (built as a shared object of its own).
#include "shell/ui/svgdrawing.h"

extern "C" __attribute__((visibility("default"))) zel::ISvgDrawing* zelmora_svg_open()
{
    return &zel::qtSvgDrawing();
}
