// Printing taken from the print module at the first print.
#pragma once

#include "shell/platform/embeddedmodule.h"
#include "shell/ui/printing.h"

namespace zel {

// A module that cannot be opened prints nothing and says why.
class LazyPrinting : public IPrinting {
public:
    explicit LazyPrinting(EmbeddedModule& module);

    bool print(QWidget* parent, bool ask, const std::function<void(QPagedPaintDevice&)>& paint) override;

private:
    ModuleObject<IPrinting> m_printing;
};

} // namespace zel
