// The workbooks, taken from the workbook module at their first use.
#pragma once

#include "cubtable/spreadsheet.h"
#include "lists/listsheet.h"

namespace zel {

class EmbeddedModule;
class IWorkbooks;

// A module that cannot be opened makes the spreadsheet fail to start and the
// list's workbook fail to be written, with the reason in the message.
class LazyWorkbooks {
public:
    explicit LazyWorkbooks(EmbeddedModule& module);

    // Both use this object, which must outlive them.
    SpreadsheetFactory spreadsheetFactory();
    ListWorkbookWriter listWorkbookWriter();

private:
    // Null when the module could not be opened; throws nothing.
    IWorkbooks* workbooks();

    EmbeddedModule& m_module;
    bool m_tried = false;
    IWorkbooks* m_workbooks = nullptr;
};

} // namespace zel
