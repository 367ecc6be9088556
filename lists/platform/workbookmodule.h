// What the workbook module, carried in the program's file and opened at the
// first workbook written, offers: the cubature table's spreadsheet and the
// list's workbook, both through libxlsxwriter. That library brings OpenSSL,
// whose loading alone cost the start-up more than a window.
#pragma once

#include "cubtable/spreadsheet.h"
#include "lists/listsheet.h"

#include <memory>

namespace zel {

class IWorkbooks {
public:
    virtual ~IWorkbooks() = default;
    virtual std::unique_ptr<ISpreadsheetApp> spreadsheet() = 0;
    // As writeListWorkbook: throws InOutError.
    virtual void writeListWorkbook(const ListSheet& sheet, const QString& fileName) = 0;
};

// The module's one entry, IWorkbooks* zelmora_workbook_open(): the workbooks,
// for the rest of the run.
inline constexpr const char kWorkbookModuleOpen[] = "zelmora_workbook_open";

} // namespace zel
