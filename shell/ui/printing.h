// Printing: the print dialog and the pages painted on the printer chosen.
#pragma once

#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace zel {

// Qt Print Support travels as a carried module, opened at the first print.
class IPrinting {
public:
    virtual ~IPrinting() = default;
    // Asks with the print dialog (without asking when `ask` is false) and
    // paints the pages on the printer chosen, at the printer's resolution;
    // false when nothing was printed.
    virtual bool print(QWidget* parent, bool ask, const std::function<void(QPagedPaintDevice&)>& paint) = 0;
};

// Qt's print dialog and printer (linked in where the module's library is).
IPrinting& qtPrinting();

// The entry of the print module: IPrinting* zelmora_print_open().
inline constexpr const char kPrintingOpen[] = "zelmora_print_open";

} // namespace zel
