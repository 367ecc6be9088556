#include "shell/platform/carriedmodules.h"
#include "shell/platform/embeddedmodule.h"

extern "C" const unsigned char zelmora_net_image_begin[];
extern "C" const unsigned char zelmora_net_image_end[];
extern "C" const unsigned char zelmora_workbook_image_begin[];
extern "C" const unsigned char zelmora_workbook_image_end[];
extern "C" const unsigned char zelmora_charts_image_begin[];
extern "C" const unsigned char zelmora_charts_image_end[];
extern "C" const unsigned char zelmora_print_image_begin[];
extern "C" const unsigned char zelmora_print_image_end[];
extern "C" const unsigned char zelmora_svg_image_begin[];
extern "C" const unsigned char zelmora_svg_image_end[];

namespace zel {

EmbeddedModule& netModule()
{
    static EmbeddedModule module("zelmora-net", zelmora_net_image_begin, zelmora_net_image_end);
    return module;
}

EmbeddedModule& workbookModule()
{
    static EmbeddedModule module("zelmora-workbook", zelmora_workbook_image_begin,
                                 zelmora_workbook_image_end);
    return module;
}

EmbeddedModule& chartsModule()
{
    static EmbeddedModule module("zelmora-charts", zelmora_charts_image_begin, zelmora_charts_image_end);
    return module;
}

EmbeddedModule& printModule()
{
    static EmbeddedModule module("zelmora-print", zelmora_print_image_begin, zelmora_print_image_end);
    return module;
}

EmbeddedModule& svgModule()
{
    static EmbeddedModule module("zelmora-svg", zelmora_svg_image_begin, zelmora_svg_image_end);
    return module;
}

} // namespace zel
