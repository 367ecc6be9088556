// The print module's entry (built as a shared object of its own).
#include "shell/ui/printing.h"

extern "C" __attribute__((visibility("default"))) zel::IPrinting* zelmora_print_open()
{
    return &zel::qtPrinting();
}
