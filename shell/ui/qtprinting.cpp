#include "shell/ui/printing.h"

#include <QPrintDialog>
#include <QPrinter>

namespace zel {
namespace {

class QtPrinting : public IPrinting {
public:
    bool print(QWidget* parent, bool ask, const std::function<void(QPagedPaintDevice&)>& paint) override
    {
        QPrinter printer(QPrinter::HighResolution);
        if (ask) {
            QPrintDialog dialog(&printer, parent);
            if (dialog.exec() != QDialog::Accepted)
                return false;
        }
        paint(printer);
        return true;
    }
};

} // namespace

IPrinting& qtPrinting()
{
    static QtPrinting printing;
    return printing;
}

} // namespace zel
