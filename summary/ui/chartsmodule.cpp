// The charts module's entry (built as a shared object of its own).
#include "summary/ui/summarycharts.h"

extern "C" __attribute__((visibility("default"))) zel::ISummaryCharts* zelmora_charts_open()
{
    return &zel::qtSummaryCharts();
}
