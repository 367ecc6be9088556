// The workbooks, taken from the workbook module at their first use.
#pragma once

#include "cubtable/spreadsheet.h"
#include "lists/listsheet.h"
#include "lists/platform/workbookmodule.h"
#include "shell/platform/embeddedmodule.h"

namespace zel {

// A module that cannot be opened makes the spreadsheet fail to start and the
// list's workbook fail to be written, with the reason in the message.
class LazyWorkbooks {
public:
    explicit LazyWorkbooks(EmbeddedModule& module);

    // Both use this object, which must outlive them.
    SpreadsheetFactory spreadsheetFactory();
    ListWorkbookWriter listWorkbookWriter();

private:
    ModuleObject<IWorkbooks> m_workbooks;
};

} // namespace zel
