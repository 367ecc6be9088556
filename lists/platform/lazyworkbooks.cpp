#include "lists/platform/lazyworkbooks.h"
#include "engine/errors.h"
#include "lists/platform/workbookmodule.h"
#include "shell/platform/embeddedmodule.h"

namespace zel {

LazyWorkbooks::LazyWorkbooks(EmbeddedModule& module)
    : m_module(module)
{
}

IWorkbooks* LazyWorkbooks::workbooks()
{
    if (!m_tried) {
        m_tried = true;
        if (auto open = reinterpret_cast<WorkbookModuleOpen>(m_module.symbol(kWorkbookModuleOpen)))
            m_workbooks = open();
    }
    return m_workbooks;
}

SpreadsheetFactory LazyWorkbooks::spreadsheetFactory()
{
    return [this] {
        IWorkbooks* books = workbooks();
        if (!books)
            throw Error(m_module.error());
        return books->spreadsheet();
    };
}

ListWorkbookWriter LazyWorkbooks::listWorkbookWriter()
{
    return [this](const ListSheet& sheet, const QString& fileName) {
        IWorkbooks* books = workbooks();
        if (!books)
            throw InOutError(m_module.error());
        books->writeListWorkbook(sheet, fileName);
    };
}

} // namespace zel
