#include "shell/ui/lazyprinting.h"

#include "shell/ui/dialogs.h"

namespace zel {

LazyPrinting::LazyPrinting(EmbeddedModule& module)
    : m_printing(module, kPrintingOpen)
{
}

bool LazyPrinting::print(QWidget* parent, bool ask, const std::function<void(QPagedPaintDevice&)>& paint)
{
    if (IPrinting* p = m_printing.get())
        return p->print(parent, ask, paint);
    Dialogs::error(parent, m_printing.error());
    return false;
}

} // namespace zel
