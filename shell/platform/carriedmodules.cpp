#include "shell/platform/carriedmodules.h"
#include "shell/platform/embeddedmodule.h"

// A module's accessor, over the bytes zel_carry() (CMake) puts in the program
// as zelmora_<stem>_image_begin/end; "zelmora-<stem>" names it in messages.
#define ZEL_CARRIED_MODULE(accessor, stem)                                                        \
    extern "C" const unsigned char zelmora_##stem##_image_begin[];                                \
    extern "C" const unsigned char zelmora_##stem##_image_end[];                                  \
    zel::EmbeddedModule& zel::accessor()                                                          \
    {                                                                                             \
        static EmbeddedModule module("zelmora-" #stem, zelmora_##stem##_image_begin,              \
                                     zelmora_##stem##_image_end);                                 \
        return module;                                                                            \
    }

ZEL_CARRIED_MODULE(netModule, net)
ZEL_CARRIED_MODULE(workbookModule, workbook)
ZEL_CARRIED_MODULE(chartsModule, charts)
